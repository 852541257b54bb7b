// SPDX-License-Identifier: MIT
// The Debian package as a user gets it: built with cpack from this build, checked with lintian,
// desktop-file-validate and appstreamcli, unpacked with dpkg -x into a scratch root, and the
// unpacked program run as a user with a fresh home folder who cannot write its folder.

#include "desktop.h"
#include "otheruser.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <memory>

using namespace e2e;

namespace {

struct ToolResult {
    int exitCode = -1;
    QByteArray output; // stdout and stderr together
};

ToolResult tool(const QString &program, const QStringList &arguments,
                const QString &workingDirectory = QString(), int timeoutMs = 300000)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!workingDirectory.isEmpty())
        p.setWorkingDirectory(workingDirectory);
    p.start(program, arguments);
    ToolResult r;
    if (!p.waitForStarted(10000) || !p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(3000);
        r.output = "did not finish: " + program.toUtf8();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = p.readAll();
    return r;
}

const QString kMetainfo = QStringLiteral("/usr/share/metainfo/org.example.pellimo.metainfo.xml");

QStringList iconFolders()
{
    return {QStringLiteral("16x16"),   QStringLiteral("22x22"),  QStringLiteral("24x24"),
            QStringLiteral("32x32"),   QStringLiteral("48x48"),  QStringLiteral("64x64"),
            QStringLiteral("128x128"), QStringLiteral("256x256")};
}

} // namespace

class TestPackage : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_deb;
    QString m_root; // the package unpacked with dpkg -x

    QString installed(const QString &path) const { return m_root + path; }

private Q_SLOTS:
    void initTestCase()
    {
        for (const char *name :
             {"cpack", "dpkg-deb", "lintian", "desktop-file-validate", "appstreamcli"})
            QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(name)).isEmpty(),
                     qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps.sh "
                                               "--test)")
                                    .arg(QLatin1String(name))));
        QVERIFY(m_work.isValid());
        const QString out = m_work.filePath(QStringLiteral("out"));
        const ToolResult built = tool(
            QStringLiteral(PELLIMO_CPACK),
            {QStringLiteral("--config"), QStringLiteral(PELLIMO_BUILD_DIR "/CPackConfig.cmake"),
             QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), out});
        QVERIFY2(built.exitCode == 0, built.output.constData());
        const QStringList debs = QDir(out).entryList({QStringLiteral("*.deb")}, QDir::Files);
        QCOMPARE(debs, QStringList{QStringLiteral("pellimo_" PELLIMO_VERSION "_amd64.deb")});
        m_deb = QDir(out).filePath(debs.constFirst());

        m_root = m_work.filePath(QStringLiteral("root"));
        const ToolResult unpacked =
            tool(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_deb, m_root});
        QVERIFY2(unpacked.exitCode == 0, unpacked.output.constData());
    }

    // Every file the package holds, and nothing else: no leftovers of the portable layout.
    void fileList()
    {
        const ToolResult listed =
            tool(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), m_deb});
        QCOMPARE(listed.exitCode, 0);
        QSet<QString> files;
        for (const QByteArray &line : listed.output.split('\n')) {
            if (line.startsWith('-')) // regular files; folders start with 'd'
                files.insert(QString::fromUtf8(line.mid(line.lastIndexOf(' ') + 1)));
        }
        QSet<QString> expected = {
            QStringLiteral("./usr/bin/pellimo"),
            QStringLiteral("./usr/bin/pellimo-stamp"),
            QStringLiteral("./usr/lib/" PELLIMO_LIBRARY_ARCH "/pellimo/pellimo-pdfdialog.so"),
            QStringLiteral("./usr/lib/" PELLIMO_LIBRARY_ARCH "/pellimo/pellimo-pdfpage"),
            QStringLiteral("./usr/share/applications/pellimo.desktop"),
            QStringLiteral(".") + kMetainfo,
            QStringLiteral("./usr/share/icons/hicolor/scalable/apps/pellimo.svg"),
            QStringLiteral("./usr/share/man/man1/pellimo.1.gz"),
            QStringLiteral("./usr/share/man/man1/pellimo-stamp.1.gz"),
            QStringLiteral("./usr/share/doc/pellimo/copyright"),
            QStringLiteral("./usr/share/doc/pellimo/changelog.gz"),
            QStringLiteral("./usr/share/pellimo/translations/pellimo_ja.qm"),
        };
        for (const QString &size : iconFolders())
            expected.insert(
                QStringLiteral("./usr/share/icons/hicolor/%1/apps/pellimo.png").arg(size));
        QCOMPARE(files, expected);
        QVERIFY(QFileInfo(installed(QStringLiteral("/usr/bin/pellimo"))).isExecutable());
        QVERIFY(QFileInfo(installed(QStringLiteral("/usr/lib/" PELLIMO_LIBRARY_ARCH
                                                   "/pellimo/pellimo-pdfpage")))
                    .isExecutable());
    }

    // The PNG icons are drawn at the size their folder names.
    void iconSizes_data()
    {
        QTest::addColumn<QString>("size");
        for (const QString &size : iconFolders())
            QTest::newRow(qPrintable(size)) << size;
    }

    void iconSizes()
    {
        QFETCH(QString, size);
        const QImage icon(
            installed(QStringLiteral("/usr/share/icons/hicolor/%1/apps/pellimo.png").arg(size)));
        QVERIFY(!icon.isNull());
        const int side = size.section(QLatin1Char('x'), 0, 0).toInt();
        QCOMPARE(icon.size(), QSize(side, side));
        QVERIFY(qRed(icon.pixel(side / 2, side / 10)) > 150); // the red ring at the top
    }

    // Package fields: shared libraries found by dpkg-shlibdeps, the IPA faces added by hand.
    void control_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("name") << QStringLiteral("Package") << QStringLiteral("pellimo");
        QTest::newRow("version") << QStringLiteral("Version") << QStringLiteral(PELLIMO_VERSION);
        QTest::newRow("Qt widgets")
            << QStringLiteral("Depends") << QStringLiteral("libqt6widgets6");
        QTest::newRow("ICU") << QStringLiteral("Depends") << QStringLiteral("libicu");
        QTest::newRow("xcb") << QStringLiteral("Depends") << QStringLiteral("libxcb1");
        QTest::newRow("Mincho") << QStringLiteral("Depends")
                                << QStringLiteral("fonts-ipafont-mincho");
        QTest::newRow("qpdf, for pellimo-stamp")
            << QStringLiteral("Depends") << QStringLiteral("libqpdf");
        QTest::newRow("Poppler, for pellimo-pdfpage")
            << QStringLiteral("Depends") << QStringLiteral("libpoppler-qt6");
        QTest::newRow("Gothic") << QStringLiteral("Depends")
                                << QStringLiteral("fonts-ipafont-gothic");
        QTest::newRow("translations")
            << QStringLiteral("Recommends") << QStringLiteral("qt6-translations-l10n");
        QTest::newRow("PDF stamping described")
            << QStringLiteral("Description") << QStringLiteral("stamps PDF files");
    }

    void control()
    {
        QFETCH(QString, field);
        QFETCH(QString, expected);
        const ToolResult r =
            tool(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), m_deb, field});
        QCOMPARE(r.exitCode, 0);
        QVERIFY2(QString::fromUtf8(r.output).contains(expected), r.output.constData());
    }

    // lintian: no error, and none of its hardening tags, not even the informational ones: the
    // programs are built with Debian's hardening flags (warnings and notes are printed for the
    // record).
    void lintian()
    {
        const ToolResult r = tool(QStringLiteral("lintian"),
                                  {QStringLiteral("--tag-display-limit"), QStringLiteral("0"),
                                   QStringLiteral("--display-info"), QStringLiteral("--fail-on"),
                                   QStringLiteral("error"), m_deb});
        qInfo("%s", r.output.constData());
        QVERIFY2(r.exitCode == 0, r.output.constData());
        for (const QByteArray &line : r.output.split('\n')) {
            QVERIFY2(!line.startsWith("E:"), line.constData());
            QVERIFY2(!line.contains("hardening-no-"), line.constData());
        }
    }

    // The AppStream record that software centres read: valid for appstreamcli, alone and with
    // the menu entry and icon it names.
    void appstreamValid()
    {
        const ToolResult file = tool(QStringLiteral("appstreamcli"),
                                     {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                      QStringLiteral("--pedantic"), installed(kMetainfo)});
        QVERIFY2(file.exitCode == 0, file.output.constData());
        const ToolResult tree =
            tool(QStringLiteral("appstreamcli"),
                 {QStringLiteral("validate-tree"), QStringLiteral("--no-net"), m_root});
        QVERIFY2(tree.exitCode == 0, tree.output.constData());
    }

    // What the record says: rows of element, language (empty: untranslated) and the text the
    // element holds, or the attribute "name=value" it carries.
    void appstreamRecord_data()
    {
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("expected");
        QTest::newRow("launchable")
            << QStringLiteral("launchable") << QString() << QStringLiteral("pellimo.desktop");
        QTest::newRow("name") << QStringLiteral("name") << QString() << QStringLiteral("Pellimo");
        QTest::newRow("Japanese name")
            << QStringLiteral("name") << QStringLiteral("ja") << QStringLiteral(u"Pellimo 日付印");
        QTest::newRow("summary says PDF")
            << QStringLiteral("summary") << QString() << QStringLiteral("PDF files");
        QTest::newRow("Japanese summary")
            << QStringLiteral("summary") << QStringLiteral("ja") << QStringLiteral(u"PDF に押印");
        QTest::newRow("description")
            << QStringLiteral("p") << QString() << QStringLiteral("round Japanese date stamp");
        QTest::newRow("metadata licence")
            << QStringLiteral("metadata_license") << QString() << QStringLiteral("MIT");
        QTest::newRow("project licence")
            << QStringLiteral("project_license") << QString() << QStringLiteral("MIT");
        QTest::newRow("content rating")
            << QStringLiteral("content_rating") << QString() << QStringLiteral("type=oars-1.1");
        QTest::newRow("release") << QStringLiteral("release") << QString()
                                 << QStringLiteral("version=" PELLIMO_VERSION);
        QTest::newRow("stamp tool")
            << QStringLiteral("binary") << QString() << QStringLiteral("pellimo-stamp");
    }

    void appstreamRecord()
    {
        QFETCH(QString, element);
        QFETCH(QString, language);
        QFETCH(QString, expected);
        QFile f(installed(kMetainfo));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&f);
        QStringList seen;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != element ||
                xml.attributes().value(QStringLiteral("xml:lang")) != language)
                continue;
            if (expected.contains(QLatin1Char('='))) {
                const QString name = expected.section(QLatin1Char('='), 0, 0);
                seen << name + QLatin1Char('=') + xml.attributes().value(name).toString();
            } else {
                seen << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY2(std::any_of(seen.cbegin(), seen.cend(),
                             [&](const QString &text) { return text.contains(expected); }),
                 qPrintable(seen.join(QStringLiteral(" | "))));
    }

    // The screenshots are the pictures in docs/, at the sizes the record gives.
    void appstreamScreenshots()
    {
        QFile f(installed(kMetainfo));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&f);
        QStringList found;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"image")
                continue;
            const QSize size(xml.attributes().value(QStringLiteral("width")).toInt(),
                             xml.attributes().value(QStringLiteral("height")).toInt());
            const QString url = xml.readElementText();
            QVERIFY2(url.startsWith(QStringLiteral("https://")), qPrintable(url));
            const QString name = url.section(QLatin1Char('/'), -1);
            const QImage picture(QStringLiteral(PELLIMO_SOURCE_DIR "/docs/") + name);
            QVERIFY2(!picture.isNull(), qPrintable(name));
            QCOMPARE(picture.size(), size);
            found << name;
        }
        QCOMPARE(found, (QStringList{QStringLiteral("window.png"), QStringLiteral("stamp.png")}));
    }

    // The menu entry as installed: valid for Debian 12's desktop-file-validate, found by name,
    // offered for PDFs (the file given as one argument), with the "Copy stamp" action running
    // nogui.
    void desktopEntry()
    {
        const QString entry = installed(QStringLiteral("/usr/share/applications/pellimo.desktop"));
        const ToolResult r = tool(QStringLiteral("desktop-file-validate"), {entry});
        QVERIFY2(r.exitCode == 0 && r.output.trimmed().isEmpty(), r.output.constData());
        QFile f(entry);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        for (const char *line :
             {"Exec=pellimo %f", "MimeType=application/pdf;", "Icon=pellimo", "StartupNotify=true",
              "Actions=copy-stamp;", "[Desktop Action copy-stamp]", "Name=Copy stamp",
              "Exec=pellimo nogui"})
            QVERIFY2(lines.contains(QByteArray(line)), line);
        QVERIFY(lines.contains(QStringLiteral(u"Name[ja]=スタンプをコピー").toUtf8()));
        QVERIFY(lines.contains(
            QStringLiteral(u"Comment[ja]=丸い日付印を作ってクリップボードにコピーします")
                .toUtf8()));
        // Found in the menu by the words a Japanese office uses, in any language.
        for (const QByteArray &key : {QByteArray("Keywords="), QByteArray("Keywords[ja]=")}) {
            const auto line = std::find_if(lines.cbegin(), lines.cend(),
                                           [&](const QByteArray &l) { return l.startsWith(key); });
            QVERIFY2(line != lines.cend(), key.constData());
            const QStringList words =
                QString::fromUtf8(line->mid(key.size())).split(QLatin1Char(';'));
            for (const QString &word :
                 {QStringLiteral(u"はんこ"), QStringLiteral(u"印鑑"), QStringLiteral(u"日付印")})
                QVERIFY2(words.contains(word), line->constData());
        }
    }

    // The unpacked program, run as a user who cannot write usr/bin: the data files go to that
    // user's data folder and the stamp to the clipboard; usr/bin keeps the program alone.
    void installedProgramRuns()
    {
        XServer x;
        QString error;
        QVERIFY2(x.start(&error), qPrintable(error));
        Desktop desktop(x.display());
        FreshUser user;
        QVERIFY(user.isValid());
        const QString bin = installed(QStringLiteral("/usr/bin"));
        QVERIFY(user.denyWrites(bin, m_work.path()));
        const QString exe = bin + QStringLiteral("/pellimo");

        const RunResult help =
            user.run(exe, {QStringLiteral("--help")}, user.environment(desktop.environment(false)));
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.standardOutput.contains(user.dataFolder().toUtf8()),
                 help.standardOutput.constData());
        // The installed program finds its translations under /usr/share/pellimo.
        QProcessEnvironment japanese = user.environment(desktop.environment(false));
        japanese.remove(QStringLiteral("LC_ALL"));
        japanese.insert(QStringLiteral("LANG"), QStringLiteral("ja_JP.UTF-8"));
        const RunResult helpJa = user.run(exe, {QStringLiteral("--help")}, japanese);
        QVERIFY2(QString::fromUtf8(helpJa.standardOutput).contains(QStringLiteral(u"使い方")),
                 helpJa.standardOutput.constData());

        const RunResult r =
            user.run(exe, {QStringLiteral("nogui")}, user.environment(desktop.environment()));
        QVERIFY(r.finished);
        QVERIFY2(r.exitCode == 0, r.standardError.constData());
        QCOMPARE(desktop.clipboardImage().size(), QSize(78, 78));
        QVERIFY(user.dataFiles().contains(QStringLiteral("user01.dat")));
        // pellimo-stamp reads the same data folder: user 1's stamp, saved by the run above.
        const QString png = user.home() + QStringLiteral("/stamp.png");
        const RunResult stamp =
            user.run(bin + QStringLiteral("/pellimo-stamp"), {QStringLiteral("--png"), png},
                     user.environment(desktop.environment(false)));
        QVERIFY2(stamp.exitCode == 0, stamp.standardError.constData());
        QVERIFY(!QImage(png).isNull());
        QCOMPARE(QDir(bin).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("pellimo"), QStringLiteral("pellimo-stamp")}));
        desktop.setClipboardText("package test clean-up");
        killProcessesRunning(exe);
    }
};

QTEST_GUILESS_MAIN(TestPackage)
#include "test_package.moc"
