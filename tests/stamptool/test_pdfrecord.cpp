// SPDX-License-Identifier: MIT
// pellimo-stamp --onto records who stamped and when in the annotation, --list finds the stamps
// again, --flatten burns the stamp in, and a repaired copy is said in one line: read back with
// pikepdf, pdftotext and qpdf.

#include "model/appsettings.h"
#include "model/stampprofile.h"
#include "storage/profilefile.h"
#include "storage/settingsfile.h"
#include "toolrun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

const QString kDay = QStringLiteral("2026-12-07");

// The Stamp annotations of a file, one line each: page|/T|/Subj|/Contents|/M|date|user|has /AP.
const QString kReadStamps = QStringLiteral(R"(
import sys, pikepdf
pdf = pikepdf.open(sys.argv[1])
for n, page in enumerate(pdf.pages, 1):
    for a in page.obj.get('/Annots', []):
        if a.get('/Subtype') != '/Stamp':
            continue
        mark = a.get('/PellimoStamp', {})
        print('|'.join([str(n), str(a.get('/T', '')), str(a.get('/Subj', '')),
                        str(a.get('/Contents', '')), str(a.get('/M', '')),
                        str(mark.get('/Date', '')), str(mark.get('/User', '')),
                        str('/N' in a.get('/AP', {}))]))
)");

QByteArray bytesOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestPdfRecord : public QObject {
    Q_OBJECT

    QTemporaryDir m_program; // pellimo-stamp, pellimo.ini, user01.dat, user02.dat
    QTemporaryDir m_dir;
    QString m_tool;
    QString m_form; // two A4 pages

    QString path(const QString &name) const { return m_dir.filePath(name); }
    Ran tool(const QStringList &args) { return run(m_tool, args, m_dir.path()); }

private Q_SLOTS:
    void initTestCase()
    {
        m_tool = installTool(m_program.path());
        QVERIFY(!m_tool.isEmpty());
        AppSettings settings;
        loadDefaultSettings(settings);
        settings.userNames[0] = QStringLiteral(u"一郎");
        settings.userNames[1] = QStringLiteral(u"佐藤 次郎");
        QVERIFY(saveSettings(settings, settingsFilePath(m_program.path())));
        StampProfile named;
        loadDefaultProfile(named);
        named.items[0].text = QStringLiteral(u"総務部");
        named.items[2].text = QStringLiteral(u"山田");
        named.items[3].text = QStringLiteral(u"花子");
        QVERIFY(saveProfile(named, profileFilePath(m_program.path(), 1)));
        StampProfile nameless = named;
        nameless.items[2].text.clear();
        nameless.items[3].text.clear();
        QVERIFY(saveProfile(nameless, profileFilePath(m_program.path(), 2)));
        m_form = path(QStringLiteral("form.pdf"));
        QVERIFY(writeFormPdf(m_form, 2));
    }

    void recorded_data()
    {
        QTest::addColumn<int>("user");
        QTest::addColumn<QString>("who");
        QTest::addColumn<QString>("contents");
        QTest::newRow("name row") << 1 << QString::fromUtf8("山田 花子")
                                  << QString::fromUtf8("総務部 08.12.07 山田 花子");
        QTest::newRow("empty name row: the user's name")
            << 2 << QString::fromUtf8("佐藤 次郎") << QString::fromUtf8("総務部 08.12.07");
    }

    // The annotation says who stamped, the date line, the user and the time of stamping; OUT is
    // IN followed by the update.
    void recorded()
    {
        QFETCH(int, user);
        QFETCH(QString, who);
        QFETCH(QString, contents);
        const QString out = path(QStringLiteral("recorded-%1.pdf").arg(user));
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        const Ran ran =
            tool({QStringLiteral("--user"), QString::number(user), QStringLiteral("--date"), kDay,
                  QStringLiteral("--onto"), m_form, QStringLiteral("--page"), QStringLiteral("2"),
                  QStringLiteral("-o"), out});
        const QDateTime after = QDateTime::currentDateTime().addSecs(1);
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        QVERIFY(ran.err.isEmpty());
        QVERIFY(bytesOf(out).startsWith(bytesOf(m_form)));
        const Ran read = python(kReadStamps, {out});
        QVERIFY2(read.status == 0, qPrintable(read.err));
        const QStringList fields = read.out.trimmed().split(u'|');
        QCOMPARE(fields.size(), 8);
        QCOMPARE(fields[0], QStringLiteral("2"));
        QCOMPARE(fields[1], who);
        QCOMPARE(fields[2], QString::fromUtf8("日付印"));
        QCOMPARE(fields[3], contents);
        // D:YYYYMMDDHHmmSS+HH'mm': the moment of stamping, not the day given with --date
        const QDateTime when =
            QDateTime::fromString(fields[4].mid(2, 14), QStringLiteral("yyyyMMddHHmmss"));
        QVERIFY2(when >= before.addMSecs(-before.time().msec()) && when <= after,
                 qPrintable(fields[4]));
        QCOMPARE(fields[5], QStringLiteral("08.12.07"));
        QCOMPARE(fields[6], QString::number(user));
        QCOMPARE(fields[7], QStringLiteral("True"));
    }

    // --list prints one line per stamp, writes nothing; two stamps in a row are both found.
    void listed()
    {
        const QString once = path(QStringLiteral("once.pdf"));
        const QString twice = path(QStringLiteral("twice.pdf"));
        QCOMPARE(tool({QStringLiteral("--date"), kDay, QStringLiteral("--onto"), m_form,
                       QStringLiteral("-o"), once})
                     .status,
                 0);
        QCOMPARE(tool({QStringLiteral("--user"), QStringLiteral("2"), QStringLiteral("--onto"),
                       once, QStringLiteral("--page"), QStringLiteral("2"), QStringLiteral("--at"),
                       QStringLiteral("20,30"), QStringLiteral("--size"), QStringLiteral("25"),
                       QStringLiteral("-o"), twice})
                     .status,
                 0);
        const QStringList before = QDir(m_dir.path()).entryList(QDir::Files);
        const Ran none = tool({QStringLiteral("--list"), m_form});
        QCOMPARE(none.status, 0);
        QCOMPARE(none.out, QString());
        const Ran ran = tool({QStringLiteral("--list"), twice});
        QCOMPARE(ran.status, 0);
        QCOMPARE(ran.err, QString());
        const QStringList lines = ran.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(QStringLiteral("page 1 at")) &&
                     lines[0].contains(QStringLiteral("08.12.07")) &&
                     lines[0].contains(QString::fromUtf8("山田 花子")) &&
                     lines[0].endsWith(QStringLiteral("Pellimo")),
                 qPrintable(lines[0]));
        // placed at 20,30 with a 25 mm circle: the annotation's box holds that square
        QVERIFY2(lines[1].startsWith(QStringLiteral("page 2 at")) &&
                     lines[1].contains(QString::fromUtf8("佐藤 次郎")),
                 qPrintable(lines[1]));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files), before);

        const Ran notPdf = tool({QStringLiteral("--list"), path(QStringLiteral("missing.pdf"))});
        QCOMPARE(notPdf.status, 1);
        QVERIFY(!notPdf.err.isEmpty());
    }

    void flattened_data()
    {
        QTest::addColumn<bool>("isSigned");
        QTest::newRow("plain") << false;
        QTest::newRow("signed") << true;
    }

    // --flatten draws the stamp into the page: no annotation, the date is page text; a signed IN
    // is refused, naming its signature.
    void flattened()
    {
        QFETCH(bool, isSigned);
        QString in = m_form;
        if (isSigned) {
            in = path(QStringLiteral("signed.pdf"));
            const Ran made = python(QStringLiteral(R"(
import sys, pikepdf
pdf = pikepdf.open(sys.argv[1])
sig = pdf.make_indirect(pikepdf.Dictionary(Type=pikepdf.Name.Sig, Name='Taro Yamada',
                                           Filter=pikepdf.Name('/Adobe.PPKLite')))
field = pdf.make_indirect(pikepdf.Dictionary(FT=pikepdf.Name.Sig, T='Approval', V=sig))
pdf.Root.AcroForm = pikepdf.Dictionary(Fields=[field], SigFlags=3)
pdf.save(sys.argv[2])
)"),
                                    {m_form, in});
            QVERIFY2(made.status == 0, qPrintable(made.err));
        }
        const QString out = path(QStringLiteral("flat-%1.pdf").arg(isSigned));
        const Ran ran = tool({QStringLiteral("--date"), kDay, QStringLiteral("--flatten"),
                              QStringLiteral("--onto"), in, QStringLiteral("-o"), out});
        if (isSigned) {
            QCOMPARE(ran.status, 1);
            QVERIFY2(ran.err.contains(QStringLiteral("Approval")) &&
                         ran.err.contains(QStringLiteral("Taro Yamada")),
                     qPrintable(ran.err));
            QVERIFY(!QFile::exists(out));
            return;
        }
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        const Ran check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), out});
        QVERIFY2(check.status == 0, qPrintable(check.out));
        QCOMPARE(python(kReadStamps, {out}).out, QString());
        QVERIFY(pageText(out, 1).contains(QStringLiteral("08.12.07")));
    }

    void encrypted_data()
    {
        QTest::addColumn<QStringList>("encrypt"); // qpdf --encrypt arguments
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::newRow("owner password, annotations allowed")
            << QStringList{"", "owner", "256", "--"} << 0 << "";
        QTest::newRow("owner password, annotations forbidden")
            << QStringList{"", "owner", "256", "--annotate=n", "--modify=none", "--"} << 1
            << "do not allow adding annotations";
        QTest::newRow("user password")
            << QStringList{"user", "owner", "256", "--"} << 1 << "needs a password";
    }

    void encrypted()
    {
        QFETCH(QStringList, encrypt);
        QFETCH(int, status);
        QFETCH(QString, says);
        const QString in = path(QStringLiteral("enc-%1.pdf").arg(QTest::currentDataTag()));
        const QString out = path(QStringLiteral("enc-out.pdf"));
        QFile::remove(out);
        const Ran made = run(QStringLiteral("qpdf"), QStringList{QStringLiteral("--encrypt")} +
                                                         encrypt + QStringList{m_form, in});
        QVERIFY2(made.status == 0, qPrintable(made.err));
        const Ran ran = tool({QStringLiteral("--onto"), in, QStringLiteral("-o"), out});
        QCOMPARE(ran.status, status);
        QVERIFY2(ran.err.contains(says), qPrintable(ran.err));
        QCOMPARE(QFile::exists(out), status == 0);
        if (status == 0)
            QVERIFY(!run(QStringLiteral("qpdf"), {QStringLiteral("--show-encryption"), out})
                         .out.contains(QStringLiteral("not encrypted")));
    }

    void damaged_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("cut off before its cross-reference table") << "truncated";
        QTest::newRow("startxref pointing elsewhere") << "startxref";
    }

    // A damaged file that can be repaired is stamped as a rewritten copy, said in one line on
    // standard error, with status 0.
    void damaged()
    {
        QFETCH(QString, damage);
        QByteArray bytes = bytesOf(m_form);
        if (damage == QStringLiteral("truncated")) {
            bytes = bytes.left(bytes.lastIndexOf("\nxref"));
        } else {
            const qsizetype at = bytes.lastIndexOf("startxref") + 10;
            const qsizetype end = bytes.indexOf('\n', at + 1);
            bytes.replace(at, end - at, "\n12");
        }
        const QString in = path(QStringLiteral("damaged-%1.pdf").arg(damage));
        const QString out = path(QStringLiteral("repaired-%1.pdf").arg(damage));
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const Ran ran = tool({QStringLiteral("--date"), kDay, QStringLiteral("--onto"), in,
                              QStringLiteral("-o"), out});
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        QCOMPARE(ran.err.count(u'\n'), 1);
        QVERIFY2(ran.err.startsWith(QStringLiteral("pellimo-stamp: ")) &&
                     ran.err.contains(QStringLiteral("repaired")),
                 qPrintable(ran.err));
        const Ran check = run(QStringLiteral("qpdf"), {QStringLiteral("--check"), out});
        QVERIFY2(check.status == 0, qPrintable(check.out));
        QVERIFY(python(kReadStamps, {out}).out.contains(QStringLiteral("08.12.07")));
    }
};

QTEST_MAIN(TestPdfRecord)
#include "test_pdfrecord.moc"
