// SPDX-License-Identifier: MIT
// Under a dark theme the boxes whose background the layout fixes keep text that can be read on
// it, and the stamp preview stays white. Set PELLIMO_SCREENSHOTS to a folder to keep the window
// as rendered.

#include "mainwindowfixture.h"
#include "ui/dialogs/aboutdialog.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <cmath>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

// A dark scheme as dark themes (qt6ct, KDE Breeze Dark) set it: light text on dark grounds.
QPalette darkPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    p.setColor(QPalette::WindowText, QColor(0xf0, 0xf0, 0xf0));
    p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    p.setColor(QPalette::AlternateBase, QColor(0x35, 0x35, 0x35));
    p.setColor(QPalette::Text, QColor(0xf0, 0xf0, 0xf0));
    p.setColor(QPalette::Button, QColor(0x3c, 0x3c, 0x3c));
    p.setColor(QPalette::ButtonText, QColor(0xf0, 0xf0, 0xf0));
    p.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    p.setColor(QPalette::HighlightedText, Qt::black);
    return p;
}

// Relative luminance and contrast ratio as accessibility guidelines define them (1 to 21).
double luminance(const QColor &c)
{
    const auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The background inside a box (just inside its one-pixel frame) and the ink of its text: the
// pixel of the inside that stands out most from that background.
struct BoxColours {
    QColor background;
    QColor ink;
};

BoxColours boxColours(QWidget *box)
{
    const QImage image = box->grab().toImage();
    const QRect inside = image.rect().adjusted(2, 2, -2, -2);
    BoxColours c{image.pixelColor(inside.topLeft()), image.pixelColor(inside.topLeft())};
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (contrast(pixel, c.background) > contrast(c.ink, c.background))
                c.ink = pixel;
        }
    }
    return c;
}

void keepScreenshot(QWidget *window, const QString &name)
{
    const QString folder = qEnvironmentVariable("PELLIMO_SCREENSHOTS");
    if (!folder.isEmpty())
        window->grab().save(QDir(folder).filePath(name));
}

} // namespace

class TestDarkPalette : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QApplication::setPalette(darkPalette()); }

    // Every value label of the spinners: white box, digits dark enough to read (4.5:1 at least).
    void valueLabelsReadable_data()
    {
        QTest::addColumn<QString>("label");
        for (const char *name : {"LBLRad", "LBLWt", "LBLArea0", "LBLArea1", "LBLSet0", "LBLSet3",
                                 "LBLSet4", "LBLSet7"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void valueLabelsReadable()
    {
        QFETCH(QString, label);
        MainWindowFixture f;
        MainWindow &w = f.shownWindow();
        keepScreenshot(&w, QStringLiteral("mainwindow-dark.png"));
        auto *box = f.control<QLabel>(label);
        QVERIFY(box);
        QVERIFY(!box->text().isEmpty());
        const BoxColours c = boxColours(box);
        QCOMPARE(c.background, QColor(Qt::white));
        QVERIFY2(
            contrast(c.ink, c.background) >= 4.5,
            qPrintable(QStringLiteral("digits %1 on %2").arg(c.ink.name(), c.background.name())));
    }

    // The preview shows the stamp as it will be pasted: on white, whatever the theme.
    void previewStaysWhite()
    {
        MainWindowFixture f;
        f.shownWindow();
        const QImage preview = f.control(QStringLiteral("PicBase"))->grab().toImage();
        QCOMPARE(preview.pixelColor(3, 3), QColor(Qt::white));
        QCOMPARE(preview.pixelColor(preview.width() - 4, preview.height() - 4), QColor(Qt::white));
    }

    // The about box's address sits on a fixed grey: its text stays dark.
    void aboutAddressReadable()
    {
        AboutDialog about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        keepScreenshot(&about, QStringLiteral("about-dark.png"));
        auto *address = about.findChild<QLineEdit *>(QStringLiteral("txtWebAddress"));
        QVERIFY(address);
        const BoxColours c = boxColours(address);
        QVERIFY2(
            contrast(c.ink, c.background) >= 4.5,
            qPrintable(QStringLiteral("text %1 on %2").arg(c.ink.name(), c.background.name())));
    }
};

QTEST_MAIN(TestDarkPalette)
#include "test_darkpalette.moc"
