// SPDX-License-Identifier: MIT
// What pellimo-stamp leaves behind when an output cannot be written as asked: every output, the
// picture files and the stamped PDF, is written whole or not at all, and a failure says why.

#include "fullfolder.h"
#include "storage/profilefile.h"
#include "testfiles.h"
#include "toolrun.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

const QString kOut = QStringLiteral("OUT"); // where a row's arguments name the output

QStringList withOutput(QStringList args, const QString &output)
{
    args.replaceInStrings(kOut, output);
    return args;
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                  QDir::NoDotAndDotDot);
}

// A node that is not a regular file where an output is to go.
enum class Node { Fifo, Device, LinkToFifo };

bool makeNode(const QString &path, Node kind)
{
    const QByteArray native = QFile::encodeName(path);
    switch (kind) {
    case Node::Fifo:
        return ::mkfifo(native.constData(), 0644) == 0;
    case Node::Device: // what /dev/null is: character device 1, 3
        return ::mknod(native.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    case Node::LinkToFifo:
        return makeNode(path + QStringLiteral(".fifo"), Node::Fifo) &&
               QFile::link(path + QStringLiteral(".fifo"), path);
    }
    return false;
}

bool stillThere(const QString &path, Node kind)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    return kind == Node::Device ? S_ISCHR(st.st_mode) : S_ISFIFO(st.st_mode);
}

// The names in the folder as bytes, sorted; "." and ".." left out.
QList<QByteArray> byteEntries(const QString &folder)
{
    QList<QByteArray> names;
    if (DIR *dir = ::opendir(QFile::encodeName(folder).constData())) {
        while (const dirent *entry = ::readdir(dir))
            if (qstrcmp(entry->d_name, ".") != 0 && qstrcmp(entry->d_name, "..") != 0)
                names << QByteArray(entry->d_name);
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

QByteArray readBytes(const QString &folder, const QByteArray &name)
{
    const int fd = ::open((QFile::encodeName(folder) + '/' + name).constData(), O_RDONLY);
    QFile file;
    return fd >= 0 && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)
               ? file.readAll()
               : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(Node)

class TestStampOutputs : public QObject {
    Q_OBJECT

    QTemporaryDir m_program; // pellimo-stamp alone: no data files, the default stamp
    QTemporaryDir m_work;    // the working folder, with the PDF to stamp
    QString m_tool;
    QString m_form;

    // One row per output; OUT stands for the output's path.
    static void addOutputRows(const QString &form)
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("--png") << QStringList{"--png", kOut};
        QTest::newRow("--png --scale 8") << QStringList{"--png", kOut, "--scale", "8"};
        QTest::newRow("--svg") << QStringList{"--svg", kOut};
        QTest::newRow("--pdf") << QStringList{"--pdf", kOut};
        QTest::newRow("--onto") << QStringList{"--onto", form, "-o", kOut};
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_tool = installTool(m_program.path());
        QVERIFY(!m_tool.isEmpty());
        m_form = m_work.filePath(QStringLiteral("form.pdf"));
        QVERIFY(writeFormPdf(m_form, 2));
        // Designs the drawing refuses: user 2's circle leaves PicBase, user 3's pen is too thin.
        StampProfile profile;
        loadDefaultProfile(profile);
        profile.radius = 150;
        QVERIFY(saveProfile(profile, profileFilePath(m_program.path(), 2)));
        loadDefaultProfile(profile);
        profile.lineWidth = 0;
        QVERIFY(saveProfile(profile, profileFilePath(m_program.path(), 3)));
        // User 4's file is damaged: it stops after its first line.
        QVERIFY(writeAll(profileFilePath(m_program.path(), 4), "255,1,35,35,35\r\n"));
    }

    void fullDiskLeavesTheOldFileWhole_data() { addOutputRows(m_form); }

    // On a full disk (or past a file-size limit) nothing is committed: status 1, the reason in
    // the system's words, the file that was there byte for byte as it was, and nothing left over.
    void fullDiskLeavesTheOldFileWhole()
    {
        QFETCH(QStringList, args);
        const FullFolder full;
        const QString target = full.filePath(QStringLiteral("report"));
        QVERIFY(writeAll(target, "the report as it was"));
        QVERIFY(full.fill());
        const QStringList before = entries(full.path());
        const Ran ran = run(m_tool, withOutput(args, target), m_work.path(),
                            full.isDisk() ? std::function<void()>() : &FullFolder::limitFileSize);
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.err.contains(full.expectedReason()), qPrintable(ran.err));
        QCOMPARE(readAll(target), QByteArray("the report as it was"));
        QCOMPARE(entries(full.path()), before);
    }

    void failedDrawingWritesNothing_data() { addOutputRows(m_form); }

    // A design the drawing refuses gives no stamp in any output: status 1, a line saying why, and
    // no file, for a radius the 96-dpi stamp cannot hold as for a pen it cannot draw.
    void failedDrawingWritesNothing()
    {
        QFETCH(QStringList, args);
        for (const char *user : {"2", "3"}) {
            const QTemporaryDir folder;
            const QString target = folder.filePath(QStringLiteral("out"));
            const Ran ran = run(m_tool,
                                withOutput(args, target) + QStringList{QStringLiteral("--user"),
                                                                       QString::fromLatin1(user)},
                                m_work.path());
            QCOMPARE(ran.status, 1);
            QVERIFY2(ran.err.contains(QStringLiteral("cannot be drawn")), qPrintable(ran.err));
            QVERIFY(entries(folder.path()).isEmpty());
        }
    }

    void qtOptionsAreNotOurs_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("written");
        QTest::newRow("--onto -platform")
            << QStringList{"--onto", "-platform", "-o", "a.pdf"} << "a.pdf";
        QTest::newRow("--onto -reverse")
            << QStringList{"--onto", "-reverse", "-o", "b.pdf"} << "b.pdf";
        QTest::newRow("--png -style") << QStringList{"--png", "-style"} << "-style";
        QTest::newRow("--svg -session")
            << QStringList{"--svg", "-session", "--size", "20"} << "-session";
    }

    // Qt's own options (-platform, -reverse, -style, ...) mean nothing to pellimo-stamp: every
    // argument reaches its parser as typed, here files whose names start with a dash.
    void qtOptionsAreNotOurs()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, written);
        const QTemporaryDir folder;
        for (const char *name : {"-platform", "-reverse"})
            QVERIFY(QFile::copy(m_form, folder.filePath(QString::fromLatin1(name))));
        const Ran ran = run(m_tool, args, folder.path());
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        QVERIFY(QFileInfo(folder.filePath(written)).size() > 500);
    }

    void namesThatAreNotUtf8_data()
    {
        QTest::addColumn<QString>("args"); // for sh, names written with printf's octal escapes
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("written"); // empty: nothing new in the folder
        QTest::addColumn<QByteArray>("starts");
        QTest::newRow("--onto and -o")
            << R"sh(--onto "$(printf 'bad\377\376.pdf')" -o "$(printf 'o\377.pdf')")sh" << 0
            << QByteArray("o\xff.pdf") << QByteArray("%PDF-");
        QTest::newRow("--png") << R"sh(--png "$(printf 'p\377.png')")sh" << 0
                               << QByteArray("p\xff.png") << QByteArray("\x89PNG");
        QTest::newRow("--svg, Latin-1") << R"sh(--svg "$(printf 'r\351sum\351.svg')")sh" << 0
                                        << QByteArray("r\xe9sum\xe9.svg") << QByteArray("<?xml");
        QTest::newRow("-o is the input")
            << R"sh(--onto "$(printf 'bad\377\376.pdf')" -o "$(printf 'bad\377\376.pdf')")sh" << 1
            << QByteArray() << QByteArray();
        QTest::newRow("an input that is not there")
            << R"sh(--onto "$(printf 'none\377.pdf')" -o out.pdf)sh" << 1 << QByteArray()
            << QByteArray();
    }

    // File names are bytes: an input whose name is not valid UTF-8 is read, an output written
    // under exactly the bytes given, and the same file under such a name is still the same file.
    void namesThatAreNotUtf8()
    {
        QFETCH(QString, args);
        QFETCH(int, status);
        QFETCH(QByteArray, written);
        QFETCH(QByteArray, starts);
        const QTemporaryDir folder;
        const auto removeByBytes = qScopeGuard([&] { // QTemporaryDir cannot name these files
            for (const QByteArray &name : byteEntries(folder.path()))
                ::unlink((QFile::encodeName(folder.path()) + '/' + name).constData());
        });
        const QByteArray input = QFile::encodeName(folder.path()) + "/bad\xff\xfe.pdf";
        QFile form(m_form);
        QVERIFY(form.open(QIODevice::ReadOnly));
        const QByteArray pdf = form.readAll();
        const int fd = ::open(input.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        QVERIFY(fd >= 0);
        QVERIFY(::write(fd, pdf.constData(), size_t(pdf.size())) == pdf.size());
        ::close(fd);
        const QList<QByteArray> before = byteEntries(folder.path());

        const Ran ran =
            run(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("\"$0\" ") + args, m_tool}, folder.path());
        QVERIFY2(ran.status == status, qPrintable(ran.err));
        QList<QByteArray> after = before;
        if (!written.isEmpty())
            after << written;
        std::sort(after.begin(), after.end());
        QCOMPARE(byteEntries(folder.path()), after);
        if (!written.isEmpty())
            QVERIFY(readBytes(folder.path(), written).startsWith(starts));
        QCOMPARE(readBytes(folder.path(), "bad\xff\xfe.pdf"), pdf); // the input is never changed
    }

    void damagedProfileIsRefused_data() { addOutputRows(m_form); }

    // A damaged profile file is refused, and the message says so: not pellimo's own words for it
    // (the file discarded, the defaults used), which are not what happens here.
    void damagedProfileIsRefused()
    {
        QFETCH(QStringList, args);
        const QTemporaryDir folder;
        const Ran ran = run(m_tool,
                            withOutput(args, folder.filePath(QStringLiteral("out"))) +
                                QStringList{QStringLiteral("--user"), QStringLiteral("4")},
                            m_work.path());
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.err.contains(QStringLiteral("user04.dat cannot be read")),
                 qPrintable(ran.err));
        QVERIFY2(ran.err.contains(QStringLiteral("nothing is written")), qPrintable(ran.err));
        QVERIFY2(!ran.err.contains(QStringLiteral(u"標準設定")), qPrintable(ran.err));
        QCOMPARE(ran.err.count(u'\n'), 1); // one line
        QVERIFY(entries(folder.path()).isEmpty());
    }

    // A corner far off any page is refused in a line that prints its numbers readably.
    void farCornerIsNamedReadably()
    {
        const QTemporaryDir folder;
        const Ran ran = run(m_tool,
                            {QStringLiteral("--onto"), m_form, QStringLiteral("--at"),
                             QStringLiteral("1e308,1e308"), QStringLiteral("-o"),
                             folder.filePath(QStringLiteral("o.pdf"))},
                            m_work.path());
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.err.size() < 150, qPrintable(ran.err.left(300)));
        QVERIFY(entries(folder.path()).isEmpty());
    }

    void nonRegularOutputIsRefused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<Node>("node");
        QTest::newRow("--png onto a FIFO") << QStringList{"--png", kOut} << Node::Fifo;
        QTest::newRow("--svg onto a device") << QStringList{"--svg", kOut} << Node::Device;
        QTest::newRow("--pdf through a link to a FIFO")
            << QStringList{"--pdf", kOut} << Node::LinkToFifo;
        QTest::newRow("-o onto a device")
            << QStringList{"--onto", m_form, "-o", kOut} << Node::Device;
        QTest::newRow("-o onto a FIFO") << QStringList{"--onto", m_form, "-o", kOut} << Node::Fifo;
    }

    // An output that exists and is no regular file (a FIFO, a device such as /dev/null) is
    // refused and stays what it was; a plain file never takes its place.
    void nonRegularOutputIsRefused()
    {
        QFETCH(QStringList, args);
        QFETCH(Node, node);
        const QTemporaryDir folder;
        const QString target = folder.filePath(QStringLiteral("out"));
        if (!makeNode(target, node))
            QSKIP("this node cannot be made here (a device needs root)");
        const QStringList before = entries(folder.path());
        const Ran ran = run(m_tool, withOutput(args, target), m_work.path());
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.err.contains(QStringLiteral("Not a regular file")), qPrintable(ran.err));
        QVERIFY(stillThere(target, node));
        QCOMPARE(entries(folder.path()), before);
    }

    void dashIsStandardOutput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("starts");
        QTest::newRow("--png -") << QStringList{"--png", "-"} << QByteArray("\x89PNG\r\n");
        QTest::newRow("--svg -") << QStringList{"--svg", "-"} << QByteArray("<?xml");
        QTest::newRow("--pdf -") << QStringList{"--pdf", "-"} << QByteArray("%PDF-");
        QTest::newRow("-o -") << QStringList{"--onto", m_form, "-o", "-"} << QByteArray("%PDF-");
    }

    // "-" writes to standard output, for pipes; no file named "-" appears.
    void dashIsStandardOutput()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, starts);
        const QStringList before = entries(m_work.path());
        const Ran ran = run(m_tool, args, m_work.path());
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        QVERIFY2(ran.outBytes.startsWith(starts), ran.outBytes.left(16).toHex().constData());
        QVERIFY(ran.outBytes.size() > 500);
        QCOMPARE(entries(m_work.path()), before);
    }

    // A file-size limit (ulimit -f) makes a write fail, as a full disk does; it does not end the
    // run with SIGXFSZ half-way, leaving the temporary file behind.
    void fileSizeLimitIsAFailureNotASignal()
    {
        const QTemporaryDir folder;
        const QString target = folder.filePath(QStringLiteral("stamp.svg"));
        QVERIFY(writeAll(target, "the old picture"));
        const Ran ran = run(m_tool, {QStringLiteral("--svg"), target}, m_work.path(), [] {
            const struct rlimit tiny {
                16, 16
            }; // SIGXFSZ left as the caller set it
            ::setrlimit(RLIMIT_FSIZE, &tiny);
        });
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.err.contains(QStringLiteral("File too large")), qPrintable(ran.err));
        QCOMPARE(readAll(target), QByteArray("the old picture"));
        QCOMPARE(entries(folder.path()), QStringList{QStringLiteral("stamp.svg")});
    }
};

QTEST_MAIN(TestStampOutputs)
#include "test_stampoutputs.moc"
