// SPDX-License-Identifier: MIT
// A file handed from a later start to the instance that runs on the same data folder.

#include "platform/filehandoff.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <future>

using namespace pellimo;

namespace {

// handOver blocks, as a second start does; the running instance answers from its event loop.
bool handOverWhileServing(const QString &dataFolder, const QString &file)
{
    std::future<bool> handed = std::async(
        std::launch::async, [&] { return FileHandoff::handOver(dataFolder, file, 5000); });
    while (handed.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return handed.get();
}

} // namespace

class TestFileHandoff : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit()); }

    void handsTheFileOver_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << QStringLiteral("/home/a/report.pdf");
        QTest::newRow("spaces and Japanese") << QStringLiteral(u"/home/a/申請 書/見積 1.pdf");
        QTest::newRow("relative: made absolute") << QStringLiteral("sub/b.pdf");
    }
    void handsTheFileOver()
    {
        QFETCH(QString, file);
        QTemporaryDir data;
        FileHandoff running;
        QString why;
        QVERIFY2(running.listen(data.path(), &why), qPrintable(why));
        QSignalSpy received(&running, &FileHandoff::fileReceived);
        QVERIFY(handOverWhileServing(data.path(), file));
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toString(), QFileInfo(file).absoluteFilePath());
    }

    // Nobody there, or another data folder's instance: not handed over, and at once.
    void nobodyTakesIt()
    {
        QTemporaryDir data;
        QTemporaryDir other;
        QVERIFY(!FileHandoff::handOver(data.path(), QStringLiteral("/a.pdf"), 2000));
        FileHandoff running;
        QVERIFY(running.listen(other.path()));
        QSignalSpy received(&running, &FileHandoff::fileReceived);
        QVERIFY(!handOverWhileServing(data.path(), QStringLiteral("/a.pdf")));
        QCOMPARE(received.size(), 0);
    }

    // An instance that crashed left its socket file: the next one listens all the same, and once
    // it has ended nothing is left.
    void socketLeftBehind()
    {
        QTemporaryDir data;
        const QString path = FileHandoff::socketPath(data.path());
        QVERIFY(path.startsWith(m_runtime.path()));
        QFile stale(path);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        {
            FileHandoff running;
            QVERIFY(running.listen(data.path()));
            QVERIFY(handOverWhileServing(data.path(), QStringLiteral("/a.pdf")));
        }
        QVERIFY(!QFile::exists(path));
    }

    // What is not one line of an absolute path is dropped, and the instance goes on serving.
    void garbageIsDropped_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("relative") << QByteArray("a.pdf\n");
        QTest::newRow("empty line") << QByteArray("\n");
        QTest::newRow("no line end, too long") << QByteArray(FileHandoff::kMostPathBytes + 10, '/');
    }
    void garbageIsDropped()
    {
        QFETCH(QByteArray, sent);
        QTemporaryDir data;
        FileHandoff running;
        QVERIFY(running.listen(data.path()));
        QSignalSpy received(&running, &FileHandoff::fileReceived);
        QLocalSocket socket;
        socket.connectToServer(FileHandoff::socketPath(data.path()));
        QVERIFY(socket.waitForConnected(2000));
        socket.write(sent);
        QVERIFY(socket.waitForBytesWritten(2000));
        QTRY_COMPARE(socket.state(), QLocalSocket::UnconnectedState);
        QVERIFY(!socket.readAll().startsWith("ok"));
        QCOMPARE(received.size(), 0);
        QVERIFY(handOverWhileServing(data.path(), QStringLiteral("/b.pdf")));
        QCOMPARE(received.size(), 1);
    }

private:
    QTemporaryDir m_runtime;
};

QTEST_GUILESS_MAIN(TestFileHandoff)
#include "test_filehandoff.moc"
