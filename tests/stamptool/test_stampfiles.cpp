// SPDX-License-Identifier: MIT
// pellimo-stamp --png / --svg / --pdf: the pictures agree with the stamp Set puts on the
// clipboard; the data folder is read and never written.

#include "../render/inkmatch.h"
#include "../render/stamppixels.h"
#include "model/appsettings.h"
#include "render/cutout.h"
#include "storage/profilefile.h"
#include "storage/settingsfile.h"
#include "toolrun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

const QString kDay = QStringLiteral("2026-12-07");

QImage clipboardBitmap(const StampProfile &profile)
{
    QImage picTemp;
    cutOutStamp(drawn(profile), profile.radius, picTemp);
    return picTemp;
}

// Every file of the folder with a hash of its bytes.
QStringList folderState(const QString &folder)
{
    QStringList state;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        QByteArray hash;
        if (f.open(QIODevice::ReadOnly))
            hash = QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1).toHex();
        state << path + u' ' + QString::fromLatin1(hash);
    }
    state.sort();
    return state;
}

// The circle and band lines alone: the date line, which pellimo-stamp always fills, is moved far
// below the circle, where the circle's clip removes it.
StampProfile frameAlone()
{
    StampProfile p = frameOnly();
    p.items[1].offsetY = 300;
    return p;
}

StampProfile designed()
{
    StampProfile p = defaultStamp();
    p.radius = 44;
    p.lineWidth = 2;
    p.topAreaPercent = 30;
    p.colour = 0x00800000; // navy
    p.items[0].text = QStringLiteral(u"総務部");
    p.items[2].text = QStringLiteral(u"山田");
    p.items[3].text = QStringLiteral(u"花子");
    p.items[1].fontSize = 11;
    return p;
}

} // namespace

class TestStampFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_program; // the program folder: pellimo-stamp, pellimo.ini, user0N.dat
    QTemporaryDir m_out;
    QString m_tool;

    Ran stamp(const QStringList &args) { return run(m_tool, args, m_out.path()); }
    QString out(const QString &name) const { return m_out.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        m_tool = installTool(m_program.path());
        QVERIFY(!m_tool.isEmpty());
        AppSettings settings;
        loadDefaultSettings(settings);
        settings.defaultUser = 4;
        settings.dateFormat = QStringLiteral("yyyy.m.d");
        QVERIFY(saveSettings(settings, settingsFilePath(m_program.path())));
        QVERIFY(saveProfile(frameAlone(), profileFilePath(m_program.path(), 2)));
        QVERIFY(saveProfile(designed(), profileFilePath(m_program.path(), 4)));
        // user 5's file is damaged: it stops after its first line
        QFile damaged(profileFilePath(m_program.path(), 5));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("255,1,35,35,35\r\n");
    }

    void pngIsTheClipboardStamp_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<StampProfile>("profile");
        QTest::addColumn<QString>("date");

        QTest::newRow("start-up user, its pattern")
            << QStringList{"--date", kDay} << designed() << "2026.12.7";
        QTest::newRow("user 2, era day")
            << QStringList{"--user", "2", "--date", "2019-05-01"} << frameAlone() << "2019.5.1";
        StampProfile defaults = defaultStamp();
        QTest::newRow("user 3 has no file: the default design")
            << QStringList{"--user", "3", "--date", "1989-01-07"} << defaults << "1989.1.7";
    }

    // At scale 1 the PNG is the Set command's bitmap, pixel for pixel, with the day formatted by
    // the pattern of pellimo.ini.
    void pngIsTheClipboardStamp()
    {
        QFETCH(QStringList, args);
        QFETCH(StampProfile, profile);
        QFETCH(QString, date);
        const QStringList before = folderState(m_program.path());
        const Ran ran = stamp(args + QStringList{QStringLiteral("--png"), out("s.png")});
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        profile.items[1].text = date;
        const QImage png(out(QStringLiteral("s.png")));
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), clipboardBitmap(profile));
        QCOMPARE(folderState(m_program.path()), before);
    }

    void largePicturesAgreeWithTheBitmap_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("scale");
        QTest::newRow("PNG x4") << "png" << 4;
        QTest::newRow("PNG x6, transparent") << "png-transparent" << 6;
        QTest::newRow("SVG drawn by rsvg-convert x4") << "svg" << 4;
        QTest::newRow("SVG drawn by rsvg-convert x1") << "svg" << 1;
        QTest::newRow("PDF drawn by pdftoppm at 384 dpi") << "pdf" << 4;
    }

    // Scaled down, the circle and the band lines of the large pictures land on the bitmap's
    // pixels within one pixel (user 2: the frame alone).
    void largePicturesAgreeWithTheBitmap()
    {
        QFETCH(QString, kind);
        QFETCH(int, scale);
        const QStringList user2 = {QStringLiteral("--user"), QStringLiteral("2")};
        QImage large;
        if (kind.startsWith(QStringLiteral("png"))) {
            QStringList args =
                user2 + QStringList{QStringLiteral("--png"), out("l.png"),
                                    QStringLiteral("--scale"), QString::number(scale)};
            if (kind.endsWith(QStringLiteral("transparent")))
                args << QStringLiteral("--transparent");
            QCOMPARE(stamp(args).status, 0);
            large = QImage(out(QStringLiteral("l.png")));
        } else if (kind == QStringLiteral("svg")) {
            QCOMPARE(stamp(user2 + QStringList{QStringLiteral("--svg"), out("l.svg")}).status, 0);
            const Ran svg =
                run(QStringLiteral("rsvg-convert"),
                    {QStringLiteral("-z"), QString::number(scale), QStringLiteral("-b"),
                     QStringLiteral("white"), out("l.svg"), QStringLiteral("-o"), out("l.png")});
            QVERIFY2(svg.status == 0, qPrintable(svg.err));
            large = QImage(out(QStringLiteral("l.png")));
        } else {
            QCOMPARE(stamp(user2 + QStringList{QStringLiteral("--pdf"), out("l.pdf")}).status, 0);
            large = renderPage(out(QStringLiteral("l.pdf")), 1, 96 * scale);
        }
        const QImage bitmap = clipboardBitmap(frameOnly());
        QCOMPARE(clipboardBitmap(frameAlone()), bitmap); // no trace of the date line
        QVERIFY(!large.isNull());
        // The PDF page is whole points, so it may be a fraction of a stamp pixel off in size.
        QVERIFY2(std::abs(large.width() - bitmap.width() * scale) <= scale,
                 qPrintable(QStringLiteral("%1 for %2").arg(large.width()).arg(bitmap.width())));
        const QImage small = inkAtStampPixels(large, scale);
        QVERIFY(unmatchedInk(bitmap, small).isEmpty());
        QVERIFY(unmatchedInk(small, bitmap).isEmpty());
    }

    void physicalSize_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("svgWidth");
        // radius 44: 88 pixels at 96 dpi = 23.283 mm, the picture 96 pixels = 25.4 mm
        QTest::newRow("natural") << QStringList() << "25.4mm";
        QTest::newRow("--size 40") << QStringList{"--size", "40"} << "43.636mm";
    }

    // The SVG states its size on paper; the PDF page holds the picture at that size.
    void physicalSize()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, svgWidth);
        QCOMPARE(stamp(args + QStringList{QStringLiteral("--svg"), out("p.svg")}).status, 0);
        QFile svg(out(QStringLiteral("p.svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(svg.readAll());
        QVERIFY2(text.contains(QStringLiteral("width=\"%1\"").arg(svgWidth)),
                 qPrintable(text.left(300)));
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("says");
        QTest::newRow("damaged profile")
            << QStringList{"--user", "5", "--png", "x.png"} << "user05.dat cannot be read";
        QTest::newRow("unknown option")
            << QStringList{"--png", "x.png", "--dpi", "3"} << "unknown argument";
        QTest::newRow("folder that does not exist")
            << QStringList{"--png", "nowhere/x.png"} << "cannot be written";
    }

    void refused()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, says);
        const QStringList before = folderState(m_out.path());
        const Ran ran = stamp(args);
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.err.contains(says), qPrintable(ran.err));
        QCOMPARE(folderState(m_out.path()), before);
    }

    // A program folder whose name is not valid UTF-8 (unpacked from a Windows archive): its data
    // files are read, and an output named relative to the working folder lands there.
    void programFolderNamedInAnotherEncoding()
    {
        QTemporaryDir top;
        const QByteArray odd = QFile::encodeName(top.path()) + "/\x93\xfa";
        QVERIFY(QDir().mkdir(top.filePath(QStringLiteral("staging"))));
        QVERIFY(!installTool(top.filePath(QStringLiteral("staging"))).isEmpty());
        QVERIFY(
            saveProfile(designed(), profileFilePath(top.filePath(QStringLiteral("staging")), 1)));
        // The folder takes its odd name after everything is in it; QString cannot name it.
        QVERIFY(::rename(QFile::encodeName(top.filePath(QStringLiteral("staging"))).constData(),
                         odd.constData()) == 0);
        const auto renameBack = qScopeGuard([&] { // QTemporaryDir cannot remove the odd name
            ::rename(odd.constData(),
                     QFile::encodeName(top.filePath(QStringLiteral("staging"))).constData());
        });
        const Ran ran = run(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral("\"$(printf '\\223\\372')/pellimo-stamp\" --date "
                                                  "2026-12-07 --png relative.png")},
            top.path());
        QVERIFY2(ran.status == 0, qPrintable(ran.err));
        const QImage png(top.filePath(QStringLiteral("relative.png")));
        StampProfile expected = designed();                  // user 1's design, not the defaults
        expected.items[1].text = QStringLiteral("08.12.07"); // no pellimo.ini: ee.mm.dd
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), clipboardBitmap(expected));
    }

    void helpNeedsNothing()
    {
        const Ran ran = stamp({QStringLiteral("--help")});
        QCOMPARE(ran.status, 0);
        QVERIFY(ran.out.contains(QStringLiteral("--onto IN.pdf")));
    }
};

QTEST_MAIN(TestStampFiles)
#include "test_stampfiles.moc"
