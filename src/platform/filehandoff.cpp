// SPDX-License-Identifier: MIT
#include "filehandoff.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>
#include <utility>

namespace pellimo {

namespace {

constexpr char kTaken[] = "ok\n";

} // namespace

FileHandoff::FileHandoff(QObject *parent) : QObject(parent) {}

FileHandoff::~FileHandoff()
{
    close();
}

void FileHandoff::close()
{
    if (m_server)
        m_server->close(); // removes the socket file
    delete std::exchange(m_server, nullptr);
}

QString FileHandoff::socketPath(const QString &dataFolder)
{
    // The folder's name hashed: any length and any bytes give a short socket name.
    QString folder = QFileInfo(dataFolder).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir(dataFolder).absolutePath();
    const QByteArray hash =
        QCryptographicHash::hash(QFile::encodeName(folder), QCryptographicHash::Sha256)
            .toHex()
            .left(24);
    const QString name =
        QStringLiteral("pellimo-%1-%2.socket").arg(::getuid()).arg(QString::fromLatin1(hash));
    // The runtime folder is the user's own (0700); /tmp is shared, where the socket's own
    // permissions keep other users out.
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !QFileInfo(runtime).isDir() || !QFileInfo(runtime).isWritable())
        runtime = QDir::tempPath();
    return QDir(runtime).filePath(name);
}

bool FileHandoff::listen(const QString &dataFolder, QString *why)
{
    close();
    m_server = new QLocalServer(this);
    m_server->setObjectName(QStringLiteral("fileHandoffServer"));
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = socketPath(dataFolder);
    QLocalServer::removeServer(path); // one left by an instance that ended without removing it
    if (!m_server->listen(path)) {
        if (why)
            *why = m_server->errorString();
        delete std::exchange(m_server, nullptr);
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
            readFrom(socket);
        }
    });
    return true;
}

void FileHandoff::readFrom(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMostPathBytes)
            socket->abort(); // no line of a path is that long
        return;
    }
    QByteArray line = socket->readLine(kMostPathBytes + 2);
    if (!line.endsWith('\n')) { // longer than any path taken
        socket->abort();
        return;
    }
    line.chop(1);
    if (line.isEmpty() || !line.startsWith('/')) {
        socket->abort();
        return;
    }
    socket->write(kTaken);
    socket->flush();
    socket->disconnectFromServer();
    Q_EMIT fileReceived(QFile::decodeName(line));
}

bool FileHandoff::handOver(const QString &dataFolder, const QString &file, int timeoutMs)
{
    const QByteArray path = QFile::encodeName(QFileInfo(file).absoluteFilePath());
    if (path.contains('\n') || path.size() > kMostPathBytes)
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath(dataFolder));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(path + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    QByteArray answer;
    while (!answer.contains('\n') && socket.waitForReadyRead(timeoutMs))
        answer += socket.readAll();
    answer += socket.readAll();
    return answer.startsWith(kTaken);
}

} // namespace pellimo
