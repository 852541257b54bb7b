// SPDX-License-Identifier: MIT
#include "platform/displaycheck.h"

#include <QTest>

using namespace pellimo;

namespace {

// Sets or removes one environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QString &value) : m_name(name)
    {
        m_wasSet = qEnvironmentVariableIsSet(name);
        m_old = qgetenv(name);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toLocal8Bit());
    }
    ~ScopedEnv()
    {
        if (m_wasSet)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_wasSet;
    QByteArray m_old;
};

} // namespace

class TestDisplayCheck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Which display the program runs on, and which Qt platform it then asks for. A platform the
    // user chose is kept; Wayland with Xwayland takes the X11 platform.
    void platformChoice_data()
    {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QString>("userPlatform");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("platform");
        const QString unset;
        QTest::newRow("nothing") << unset << unset << unset << int(DisplayKind::None) << unset;
        QTest::newRow("empty DISPLAY")
            << QStringLiteral("") << unset << unset << int(DisplayKind::None) << unset;
        QTest::newRow("X11") << QStringLiteral(":1") << unset << unset << int(DisplayKind::X11)
                             << QStringLiteral("xcb");
        QTest::newRow("Wayland with Xwayland")
            << QStringLiteral(":1") << QStringLiteral("wayland-0") << unset << int(DisplayKind::X11)
            << QStringLiteral("xcb");
        QTest::newRow("Wayland only") << unset << QStringLiteral("wayland-0") << unset
                                      << int(DisplayKind::WaylandOnly) << QStringLiteral("wayland");
        QTest::newRow("user's platform kept")
            << QStringLiteral(":1") << QStringLiteral("wayland-0") << QStringLiteral("wayland")
            << int(DisplayKind::X11) << QStringLiteral("wayland");
    }
    void platformChoice()
    {
        QFETCH(QString, display);
        QFETCH(QString, waylandDisplay);
        QFETCH(QString, userPlatform);
        QFETCH(int, kind);
        QFETCH(QString, platform);
        ScopedEnv d("DISPLAY", display);
        ScopedEnv w("WAYLAND_DISPLAY", waylandDisplay);
        ScopedEnv p("QT_QPA_PLATFORM", userPlatform);
        const DisplayKind detected = detectDisplay();
        QCOMPARE(int(detected), kind);
        choosePlatform(detected);
        QCOMPARE(qEnvironmentVariable("QT_QPA_PLATFORM", QString()), platform);
    }

    // An X display that nobody serves is refused with one line naming it.
    void unreachableX11Display()
    {
        int unused = 900;
        while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(unused)))
            ++unused;
        const QString display = QStringLiteral(":%1").arg(unused);
        ScopedEnv d("DISPLAY", display);
        ScopedEnv p("QT_QPA_PLATFORM", QStringLiteral("xcb"));
        QString message;
        QVERIFY(!displayUsable(&message));
        QVERIFY(message.contains(display));
        QVERIFY(!message.contains(QLatin1Char('\n')));
    }
};

QTEST_GUILESS_MAIN(TestDisplayCheck)
#include "test_displaycheck.moc"
