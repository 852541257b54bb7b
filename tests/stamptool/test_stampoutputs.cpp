// SPDX-License-Identifier: MIT
// What pellimo-stamp leaves behind when an output cannot be written as asked: every output, the
// picture files and the stamped PDF, is written whole or not at all, and a failure says why.

#include "fullfolder.h"
#include "testfiles.h"
#include "toolrun.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

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

} // namespace

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
