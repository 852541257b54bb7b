// SPDX-License-Identifier: MIT
// An installed copy: the executable in a folder its user cannot write, a user with a fresh home
// folder. The data files go to the user's data folder, never next to the executable; --help and
// --version answer without a display and without touching a file. A portable folder made by
// `cmake --install` holds the PDF dialog's module and the renderer of its pages.

#include "desktop.h"
#include "otheruser.h"
#include "pdfpage/pageprotocol.h"
#include "rawpdf.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>

using namespace e2e;

namespace {

const QString kExe = QStringLiteral(PELLIMO_EXE);

QStringList dataFileNames()
{
    return {QStringLiteral(".pellimo.lock"), QStringLiteral("pellimo.ini"),
            QStringLiteral("user01.dat"),    QStringLiteral("user02.dat"),
            QStringLiteral("user03.dat"),    QStringLiteral("user04.dat"),
            QStringLiteral("user05.dat")};
}

// <tmp>/bin/pellimo, with bin/ closed to the user who runs it.
class InstallFolder {
public:
    explicit InstallFolder(const FreshUser &user, const QByteArray &iniBytes = QByteArray())
    {
        const QString bin = binFolder();
        m_valid = m_root.isValid() && QDir().mkpath(bin) && QFile::copy(kExe, executable()) &&
                  QFile::setPermissions(executable(), QFile::ReadOwner | QFile::WriteOwner |
                                                          QFile::ExeOwner | QFile::ReadGroup |
                                                          QFile::ExeGroup | QFile::ReadOther |
                                                          QFile::ExeOther);
        if (m_valid && !iniBytes.isNull()) {
            QFile ini(QDir(bin).filePath(QStringLiteral("pellimo.ini")));
            m_valid = ini.open(QIODevice::WriteOnly) && ini.write(iniBytes) == iniBytes.size();
        }
        m_valid = m_valid && user.denyWrites(bin, m_root.path());
    }
    ~InstallFolder()
    {
        QFile::setPermissions(binFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool isValid() const { return m_valid; }
    QString binFolder() const { return m_root.filePath(QStringLiteral("bin")); }
    QString executable() const { return m_root.filePath(QStringLiteral("bin/pellimo")); }
    QStringList entries() const
    {
        return QDir(binFolder())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

private:
    QTemporaryDir m_root;
    bool m_valid = false;
};

} // namespace

class TestInstalled : public QObject {
    Q_OBJECT

    XServer m_x;
    std::unique_ptr<Desktop> m_desktop;
    QString m_lastExecutable;

    QProcessEnvironment environment(const FreshUser &user, bool withDisplay) const
    {
        return user.environment(m_desktop->environment(withDisplay));
    }

    // A visible window with exactly this title, waited for up to `timeoutMs`; 0 when none came.
    qulonglong windowTitled(const QString &title, int timeoutMs = 10000) const
    {
        QElapsedTimer timer;
        timer.start();
        do {
            QProcess search;
            search.setProcessEnvironment(m_desktop->environment());
            search.start(QStringLiteral("xdotool"),
                         {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                          QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')});
            search.waitForFinished(5000);
            const qulonglong id = search.readAllStandardOutput().split('\n').value(0).toULongLong();
            if (id != 0)
                return id;
            QThread::msleep(100);
        } while (timer.elapsed() < timeoutMs);
        return 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(kExe).isExecutable(), qPrintable(kExe));
        QString error;
        QVERIFY2(m_x.start(&error), qPrintable(error));
        m_desktop = std::make_unique<Desktop>(m_x.display());
    }

    void cleanup()
    {
        if (!m_lastExecutable.isEmpty()) {
            m_desktop->setClipboardText("e2e clean-up");
            killProcessesRunning(m_lastExecutable);
        }
        m_lastExecutable.clear();
    }

    // nogui of an installed copy: the stamp on the clipboard, the data files created in the
    // user's data folder with the defaults, nothing next to the executable. A second run finds
    // them there.
    void installedHidden()
    {
        FreshUser user;
        QVERIFY(user.isValid());
        InstallFolder install(user);
        QVERIFY(install.isValid());
        m_lastExecutable = install.executable();

        for (int run = 0; run < 2; ++run) {
            const RunResult r =
                user.run(install.executable(), {QStringLiteral("nogui")}, environment(user, true));
            QVERIFY(r.finished);
            QVERIFY2(r.exitCode == 0, qPrintable(QStringLiteral("run %1: ").arg(run) +
                                                 QString::fromLocal8Bit(r.standardError)));
            QCOMPARE(m_desktop->clipboardImage().size(), QSize(78, 78));
            QCOMPARE(user.dataFiles(), dataFileNames());
            QCOMPARE(install.entries(), QStringList{QStringLiteral("pellimo")});
        }
        QFile ini(QDir(user.dataFolder()).filePath(QStringLiteral("pellimo.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), golden("default-settings.ini"));
    }

    // The window of an installed copy opens (it used to stop at "user01.dat を書き込めません"),
    // Set puts the stamp on the clipboard and saves into the data folder.
    void installedWindow()
    {
        FreshUser user;
        QVERIFY(user.isValid());
        InstallFolder install(user);
        QVERIFY(install.isValid());
        m_lastExecutable = install.executable();

        std::unique_ptr<QProcess> p(user.start(install.executable(), {}, environment(user, true)));
        const qulonglong window = m_desktop->waitForNewWindow({});
        QVERIFY2(window, p->readAllStandardError().constData());
        QCOMPARE(user.dataFiles(), dataFileNames());
        m_desktop->click(window, kSetX, kButtonY);
        m_desktop->click(window, kEndX, kButtonY);
        QVERIFY(p->waitForFinished(30000));
        QCOMPARE(p->exitCode(), 0);
        QCOMPARE(m_desktop->clipboardImage().size(), QSize(78, 78));
        QFile saved(QDir(user.dataFolder()).filePath(QStringLiteral("user01.dat")));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains(todayInDefaultPattern()));
        QCOMPARE(install.entries(), QStringList{QStringLiteral("pellimo")});
    }

    // Under a Japanese locale Qt's own dialogs speak Japanese as the window does: the font picker
    // that Font... opens is titled フォントの選択 (qtbase_ja.qm, package qt6-translations-l10n).
    void qtDialogsInTheUsersLanguage()
    {
        FreshUser user;
        QVERIFY(user.isValid());
        InstallFolder install(user);
        QVERIFY(install.isValid());
        m_lastExecutable = install.executable();
        QProcessEnvironment env = environment(user, true);
        env.insert(QStringLiteral("LANG"), QStringLiteral("ja_JP.UTF-8"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("ja_JP.UTF-8"));

        std::unique_ptr<QProcess> p(user.start(install.executable(), {}, env));
        const qulonglong window = m_desktop->waitForNewWindow({});
        QVERIFY2(window, p->readAllStandardError().constData());
        m_desktop->click(window, 352 + 20, 200 + 10); // cmdFont2
        const qulonglong picker = windowTitled(QStringLiteral(u"フォントの選択"));
        QVERIFY2(picker, "no font picker titled フォントの選択");
        m_desktop->pressKey(picker, QStringLiteral("Escape"));
        QVERIFY2(!windowTitled(QStringLiteral(u"フォントの選択"), 0), "picker still open");
        m_desktop->click(window, kEndX, kButtonY);
        QVERIFY(p->waitForFinished(30000));
        QCOMPARE(p->exitCode(), 0);
    }

    // --help and --version print to stdout and end with 0, with no display and no file made;
    // --help names the data folder this copy would use. Later or other arguments are not taken
    // for them: those runs still need a display.
    void informationArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("folderKind"); // read-only, read-only with pellimo.ini
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expected"); // a line of stdout; "<data>", "<bin>" stand in

        const QString installed = QStringLiteral("read-only");
        const QString keeps = QStringLiteral("read-only with pellimo.ini");
        QTest::newRow("--help, installed")
            << QStringList{QStringLiteral("--help")} << installed << 0 << QStringLiteral("<data>");
        QTest::newRow("-h, installed")
            << QStringList{QStringLiteral("-h")} << installed << 0 << QStringLiteral("installed");
        QTest::newRow("--help, pellimo.ini beside the program")
            << QStringList{QStringLiteral("--help")} << keeps << 0 << QStringLiteral("<bin>");
        QTest::newRow("--version") << QStringList{QStringLiteral("--version")} << installed << 0
                                   << QStringLiteral("Pellimo " PELLIMO_VERSION);
        QTest::newRow("-v, more words")
            << QStringList{QStringLiteral("-v"), QStringLiteral("x")} << installed << 0
            << QStringLiteral("Pellimo " PELLIMO_VERSION);
        QTest::newRow("nogui --help is a hidden run")
            << QStringList{QStringLiteral("nogui"), QStringLiteral("--help")} << installed << 1
            << QString();
        QTest::newRow("--HELP is not the option")
            << QStringList{QStringLiteral("--HELP")} << installed << 1 << QString();
    }

    void informationArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, folderKind);
        QFETCH(int, exitCode);
        QFETCH(QString, expected);

        FreshUser user;
        QVERIFY(user.isValid());
        const bool keepsIni = folderKind.contains(QLatin1String("pellimo.ini"));
        InstallFolder install(user, keepsIni ? golden("default-settings.ini") : QByteArray());
        QVERIFY(install.isValid());
        const QStringList before = install.entries();

        const RunResult r =
            user.run(install.executable(), arguments, environment(user, false), 10000);
        QVERIFY(r.finished);
        QCOMPARE(r.exitCode, exitCode);
        const QString out = QString::fromUtf8(r.standardOutput);
        if (!expected.isEmpty()) {
            expected.replace(QLatin1String("<data>"), user.dataFolder());
            expected.replace(QLatin1String("<bin>"), install.binFolder());
            QVERIFY2(out.contains(expected), qPrintable(out));
            QVERIFY2(r.standardError.isEmpty(), r.standardError.constData());
        }
        QCOMPARE(install.entries(), before);
        QVERIFY(!QFileInfo::exists(user.dataFolder()));
    }

    // The portable folder holds the program, the PDF dialog's module and its renderer, and the
    // installed renderer draws a page.
    void portableFolder()
    {
        QTemporaryDir prefix;
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(PELLIMO_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(PELLIMO_BUILD_DIR),
                       QStringLiteral("--prefix"), prefix.path(), QStringLiteral("--component"),
                       QStringLiteral("portable")});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAll().constData());
        const QDir folder(prefix.path());
        for (const char *name : {"pellimo", "pellimo-pdfpage"})
            QVERIFY2(QFileInfo(folder.filePath(QString::fromLatin1(name))).isExecutable(), name);
        QVERIFY(QFileInfo(folder.filePath(QStringLiteral("pellimo-pdfdialog.so"))).isFile());

        const QString pdf = folder.filePath(QStringLiteral("a4.pdf"));
        QFile file(pdf);
        const QByteArray bytes = pellimo::testing::rawPdf({"BT /F1 9 Tf (x) Tj ET"}, {{}});
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        QProcess renderer;
        renderer.start(folder.filePath(QStringLiteral("pellimo-pdfpage")), {pdf});
        renderer.write("1 600 600\n");
        renderer.closeWriteChannel();
        QVERIFY(renderer.waitForFinished(30000));
        QCOMPARE(renderer.exitCode(), 0);
        pellimo::pdfpage::FrameReader reader;
        reader.append(renderer.readAllStandardOutput());
        QList<pellimo::pdfpage::FrameType> said;
        QImage picture;
        while (const std::optional<pellimo::pdfpage::Frame> f = reader.next()) {
            said << f->type;
            int page = 0;
            if (f->type == pellimo::pdfpage::FrameType::Picture)
                QVERIFY(pellimo::pdfpage::decodePicture(f->payload, page, picture));
        }
        QCOMPARE(said.size(), 3);
        QCOMPARE(picture.size(), QSize(424, 600));
    }
};

QTEST_GUILESS_MAIN(TestInstalled)
#include "test_install.moc"
