// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace pellimo {

// Files handed from a later start of the program to the one that runs on the same data folder
// (`pellimo FILE.pdf` while the window is open): a local socket beside the single-instance lock,
// in the user's runtime folder, reachable by this user only. The instance that holds the lock
// listens; a later start that finds the lock taken hands its file over and ends.
//
// What passes: the file's absolute path as bytes (any bytes the file system holds, but a line
// end), ended by "\n"; the answer "ok\n" once the running instance has taken it.
class FileHandoff : public QObject {
    Q_OBJECT
public:
    explicit FileHandoff(QObject *parent = nullptr);
    ~FileHandoff() override;

    // Listens for the data folder; call it while holding the folder's lock (a socket left by an
    // instance that crashed is then safe to replace). False, with the reason, when it cannot.
    bool listen(const QString &dataFolder, QString *why = nullptr);
    // Stops listening and removes the socket.
    void close();

    // Hands `file` to the instance running on the data folder; true once that instance has it.
    static bool handOver(const QString &dataFolder, const QString &file, int timeoutMs = 5000);

    // Where the socket of a data folder lives.
    static QString socketPath(const QString &dataFolder);

    // The longest path taken, in bytes.
    static constexpr qsizetype kMostPathBytes = 16 * 1024;

Q_SIGNALS:
    void fileReceived(const QString &file);

private:
    void readFrom(QLocalSocket *socket);

    QLocalServer *m_server = nullptr;
};

} // namespace pellimo
