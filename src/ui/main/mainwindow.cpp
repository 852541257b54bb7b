// SPDX-License-Identifier: MIT
// The main window: construction, the wiring of its events, and the focus rules of its text boxes.

#include "mainwindow.h"

#include "mainwindowlayout.h"
#include "picbox.h"
#include "pickers.h"
#include "render/cutout.h"
#include "render/stampfonts.h"
#include "render/stampsurface.h"
#include "stampdrag.h"
#include "stampexport.h"
#include "storage/settingsfile.h"
#include "ui/common/appicon.h"
#include "ui/common/filequestions.h"
#include "ui/common/selectallonfocus.h"
#include "ui/common/twips.h"
#include "updown.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace pellimo {

namespace {

// Captions of plain labels and buttons.
QFont captionFont()
{
    QFont font(QStringLiteral(u"ＭＳ Ｐゴシック"));
    font.setPointSize(9);
    return font;
}

} // namespace

MainWindow::MainWindow(AppState &state, std::function<QDateTime()> now, QWidget *parent)
    : QWidget(parent), m_state(state), m_now(std::move(now)), m_pickers(makeQtPickers()),
      m_stamp(makeSurface(kPicBaseSize, kPicBaseSize)), m_cutOut(makeSurface(44, 36))
{
    installFontSubstitutions();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Pellimo"));
    setWindowIcon(appIcon()); // the dialogs, its children, show it too
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(kMainWindowWidth), twipsToPixels(kMainWindowHeight));
    setFont(captionFont());
    m_selectAllOnFocus = new SelectAllOnFocus(this);
    buildUserAndPreview();
    buildRadiusAndWidth();
    buildBandSizes();
    for (int line = 0; line < kItemCount; ++line)
        buildTextLine(line);
    buildCommandButtons();
    arrangeTabOrder();
    connectHandlers();
    // The preview's context menu: the stamp as a picture file, or onto a page of a PDF.
    m_export =
        new StampExport(m_stampView, [this]() -> const StampProfile & { return m_state.profile; });
    m_export->setSettingsFile(settingsFilePath(m_state.dataFolder));
    // Dragged out with the left button: the bitmap Set would put on the clipboard.
    new StampDrag(m_stampView, [this] {
        QImage picture;
        if (m_lastDrawSucceeded) {
            try {
                cutOutStamp(m_stamp, m_state.profile.radius, picture);
            } catch (const std::exception &) {
                picture = QImage();
            }
        }
        return picture;
    });
    centreOnScreen();
}

void MainWindow::openPdf(const QString &pdf)
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
    runAfterCurrentEvent(this, [this, pdf] { m_export->stampPdfFile(pdf); });
}

MainWindow::~MainWindow() = default;

void MainWindow::connectHandlers()
{
    connect(spinner(ProfileField::Radius).spinner, &UpDown::valueChanged, this,
            &MainWindow::onRadiusChanged);
    connect(spinner(ProfileField::LineWidth).spinner, &UpDown::valueChanged, this,
            &MainWindow::onLineWidthChanged);
    for (const ProfileField band : {ProfileField::TopBand, ProfileField::BottomBand})
        connect(spinner(band).spinner, &UpDown::valueChanged, this,
                [this, band] { onBandChanged(band); });
    for (int line = 0; line < kItemCount; ++line)
        for (const ProfileField offset : {offsetYField(line), offsetXField(line)})
            connect(spinner(offset).spinner, &UpDown::valueChanged, this,
                    [this, offset] { onOffsetChanged(offset); });
    for (int i = 0; i < kItemCount; ++i) {
        connect(m_lineBoxes[size_t(i)], &QLineEdit::textEdited, this, [this, i] {
            m_typedInto[size_t(i)] = true;
            refuseUnstorableText(i);
        });
        connect(m_fontButtons[size_t(i)], &QPushButton::clicked, this,
                [this, i] { onFontClicked(i); });
    }
    // `activated` comes from the user only, also when the entry already selected is picked again;
    // selecting an entry from code never reloads a profile.
    connect(m_userList, &QComboBox::activated, this, &MainWindow::onUserActivated);
    connect(m_setButton, &QPushButton::clicked, this, &MainWindow::onSetClicked);
    connect(m_colourButton, &QPushButton::clicked, this, &MainWindow::onColourClicked);
    connect(m_optionsButton, &QPushButton::clicked, this, &MainWindow::onOptionsClicked);
    connect(m_aboutButton, &QPushButton::clicked, this, &MainWindow::onAboutClicked);
    connect(m_exitButton, &QPushButton::clicked, this, &MainWindow::onExitClicked);
}

void MainWindow::centreOnScreen()
{
    const QScreen *where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!where)
        return;
    const QRect area = where->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void MainWindow::setPickers(std::unique_ptr<StampPickers> pickers)
{
    m_pickers = std::move(pickers);
}

int MainWindow::textBoxIndex(const QObject *object) const
{
    for (int i = 0; i < kItemCount; ++i) {
        if (m_lineBoxes[i] == object)
            return i;
    }
    return -1;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A turn of the mouse wheel over the user list would switch the user, and so drop every edit
    // not yet saved, without the list ever being chosen; it switches only once the list has the
    // focus.
    if (watched == m_userList && event->type() == QEvent::Wheel)
        return !m_userList->hasFocus();

    const int index = textBoxIndex(watched);
    if (index < 0)
        return QWidget::eventFilter(watched, event);

    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        // Focus that leaves with the whole window (another program, a message box, a context
        // menu) comes back to the same box: it is no change of focus inside the window.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        const bool withTheWindow =
            reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
        if (event->type() == QEvent::FocusIn) {
            m_editingItem = index;
        } else if (!withTheWindow) {
            m_editingItem = -1;
            onItemFocusLost(index);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        load();
    QWidget::showEvent(event);
}

} // namespace pellimo
