// SPDX-License-Identifier: MIT
// The notice for a character that cannot be stored, in the real program under Xvfb, driven with
// xdotool as a user drives it: a refused character typed into the organisation box, then at once
// a click on the date box and typing there, then a click on Set. The screen is read from the X
// server before and after the notice, to see that it covers neither of the two controls.
// PELLIMO_E2E_SHOTS=DIR keeps the screen with the notice as DIR/notice.png.

#include "desktop.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>
#include <QThread>
#include <memory>
#include <xcb/xcb.h>

using namespace e2e;

namespace {

const QString kExe = QStringLiteral(PELLIMO_EXE);

// Centres of the organisation and date boxes, in window pixels; the boxes' places.
constexpr QPoint kOrganisationBox(288, 130);
constexpr QPoint kDateBox(288, 170);
constexpr QRect kOrganisationPlace(232, 120, 113, 21);
constexpr QRect kDateBoxPlace(232, 160, 113, 21);
constexpr QRect kSetPlace(232, 280, 57, 25);

// The X server's picture of a window's area (window pixels), or a null image.
class ScreenReader {
public:
    explicit ScreenReader(const QString &display)
        : m_connection(xcb_connect(display.toLatin1().constData(), nullptr))
    {
    }
    ~ScreenReader() { xcb_disconnect(m_connection); }

    QImage window(qulonglong id, const QSize &size) const
    {
        if (xcb_connection_has_error(m_connection))
            return QImage();
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        xcb_translate_coordinates_reply_t *at = xcb_translate_coordinates_reply(
            m_connection, xcb_translate_coordinates(m_connection, xcb_window_t(id), root, 0, 0),
            nullptr);
        if (at == nullptr)
            return QImage();
        const int x = at->dst_x;
        const int y = at->dst_y;
        free(at);
        xcb_get_image_reply_t *picture = xcb_get_image_reply(
            m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(x), int16_t(y),
                          uint16_t(size.width()), uint16_t(size.height()), ~0u),
            nullptr);
        if (picture == nullptr)
            return QImage();
        QImage image;
        if (picture->depth == 24 &&
            xcb_get_image_data_length(picture) == size.width() * size.height() * 4)
            image = QImage(xcb_get_image_data(picture), size.width(), size.height(),
                           QImage::Format_RGB32)
                        .copy();
        free(picture);
        return image;
    }

private:
    xcb_connection_t *m_connection;
};

// Gives the window the keyboard focus, as a window manager does when it maps it (Xvfb has none).
void focusWindow(const Desktop &desktop, qulonglong window)
{
    QProcess p;
    p.setProcessEnvironment(desktop.environment());
    p.start(QStringLiteral("xdotool"),
            {QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(window)});
    p.waitForFinished(10000);
}

// Types text with xdotool into the window that has the focus (characters outside the keyboard
// map are typed through a keysym bound for the moment, as xdotool does).
void typeText(const Desktop &desktop, const QString &text)
{
    QProcess p;
    p.setProcessEnvironment(desktop.environment());
    p.start(QStringLiteral("xdotool"),
            {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
    p.waitForFinished(10000);
}

// The window's picture without the focused organisation box, whose cursor blinks.
QImage steadyPart(QImage picture)
{
    for (int y = kOrganisationPlace.top(); y <= kOrganisationPlace.bottom(); ++y)
        for (int x = kOrganisationPlace.left(); x <= kOrganisationPlace.right(); ++x)
            picture.setPixel(x, y, 0);
    return picture;
}

// Waits until the window's picture (its steady part) differs from `before`, if given, and then
// stays the same for a moment; the steady part of the last picture read, and the picture itself
// in `whole`.
QImage waitForPicture(const ScreenReader &screen, qulonglong window, const QImage &before,
                      QImage *whole = nullptr)
{
    QElapsedTimer timer;
    timer.start();
    QImage last;
    for (;;) {
        const QImage now = screen.window(window, kMainWindowSize);
        if (now.isNull())
            return now;
        if (whole != nullptr)
            *whole = now;
        const QImage steady = steadyPart(now);
        const bool changed = before.isNull() || steady != before;
        if ((changed && steady == last) || timer.elapsed() > 8000)
            return steady;
        last = changed ? steady : QImage();
        QThread::msleep(300);
    }
}

} // namespace

class TestNotice : public QObject {
    Q_OBJECT

    XServer m_x;
    std::unique_ptr<Desktop> m_desktop;
    std::unique_ptr<ProgramFolder> m_folder;
    QList<QProcess *> m_running;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(),
                 "xdotool is not installed (scripts/install-deps.sh --test)");
        QVERIFY2(QFileInfo(kExe).isExecutable(), qPrintable(kExe));
        QString error;
        QVERIFY2(m_x.start(&error), qPrintable(error));
        m_desktop = std::make_unique<Desktop>(m_x.display());
    }

    void cleanup()
    {
        endTestRuns(*m_desktop, m_running, m_folder);
        qDeleteAll(m_running);
        m_running.clear();
    }

    void nextBoxAndSetRightAfterTheNotice()
    {
        m_folder = std::make_unique<ProgramFolder>(kExe);
        QVERIFY(m_folder->isValid());
        QProcess *p = m_desktop->start(*m_folder, {});
        m_running << p;
        const qulonglong window = m_desktop->waitForNewWindow({});
        QVERIFY2(window, "the main window did not appear");
        const ScreenReader screen(m_x.display());
        focusWindow(*m_desktop, window);

        m_desktop->click(window, kOrganisationBox.x(), kOrganisationBox.y());
        typeText(*m_desktop, QStringLiteral("Org"));
        const QImage typed = waitForPicture(screen, window, QImage());
        QVERIFY2(!typed.isNull(), "the screen could not be read");
        typeText(*m_desktop, QStringLiteral(u"☃"));
        QImage shown;
        const QImage noticed = waitForPicture(screen, window, typed, &shown);
        QVERIFY2(noticed != typed, "no notice appeared");
        if (const QString shots = qEnvironmentVariable("PELLIMO_E2E_SHOTS"); !shots.isEmpty())
            shown.save(shots + QStringLiteral("/notice.png"));
        // Nothing was drawn over the date box or Set.
        QCOMPARE(noticed.copy(kDateBoxPlace), typed.copy(kDateBoxPlace));
        QCOMPARE(noticed.copy(kSetPlace), typed.copy(kSetPlace));

        // At once, while the notice is shown: the date box, typing, Set.
        m_desktop->click(window, kDateBox.x(), kDateBox.y());
        typeText(*m_desktop, QStringLiteral("R8.12.24"));
        m_desktop->click(window, kSetX, kButtonY);
        QElapsedTimer timer;
        timer.start();
        while (m_desktop->clipboardImage().isNull() && timer.elapsed() < 10000)
            QThread::msleep(100);
        QCOMPARE(m_desktop->clipboardImage().size(), QSize(78, 78));
        const QByteArray saved = m_folder->read(QStringLiteral("user01.dat"));
        QVERIFY2(saved.contains("\"Org\"") && saved.contains("\"R8.12.24\""),
                 QByteArray(saved).replace("\r\n", " / ").constData());

        m_desktop->click(window, kEndX, kButtonY);
        QVERIFY(p->waitForFinished(20000));
        QCOMPARE(p->exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestNotice)
#include "test_notice.moc"
