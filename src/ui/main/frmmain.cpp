// The main window: its controls, their places and captions, and the wiring of their events.

#include "frmmain.h"

#include "controlnames.h"
#include "picbox.h"
#include "pickers.h"
#include "render/stampfonts.h"
#include "render/stampsurface.h"
#include "updown.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace pellimo {

namespace {

// Places are stored in twips (15 twips = 1 pixel at 96 dpi), as left, top, width, height.
constexpr int kTwipsPerPixel = 15;

QRect twips(int left, int top, int width, int height)
{
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
            height / kTwipsPerPixel};
}

// The face of the value labels, the text boxes and the user list.
QFont fieldFont()
{
    QFont font(QStringLiteral(u"ＭＳ Ｐゴシック"));
    font.setPointSizeF(11.25);
    font.setWeight(QFont::Normal);
    return font;
}

// Captions of plain labels and buttons.
QFont captionFont()
{
    QFont font(QStringLiteral(u"ＭＳ Ｐゴシック"));
    font.setPointSize(9);
    return font;
}

template <typename W> W *placed(W *widget, const QString &name, const QRect &rect)
{
    widget->setObjectName(name);
    widget->setGeometry(rect);
    return widget;
}

// Row tops of the four text lines, in twips.
constexpr std::array<int, 4> kRowTop = {1800, 2400, 3000, 3600};

} // namespace

frmMain::frmMain(AppState &state, std::function<QDateTime()> now, QWidget *parent)
    : QWidget(parent), m_state(state), m_now(std::move(now)), m_pickers(makeQtPickers()),
      m_picBase(makeSurface(kPicBaseSize, kPicBaseSize)), m_picTemp(makeSurface(44, 36))
{
    installFontSubstitutions();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pellimo"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(8325 / kTwipsPerPixel, 4665 / kTwipsPerPixel);
    setFont(captionFont());
    buildControls();
    connectHandlers();
    centreOnScreen();
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    const auto label = [this](const char *name, const QString &caption, const QRect &rect) {
        auto *l = placed(new QLabel(caption, this), QLatin1String(name), rect);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // The substitute faces run a little wider than the faces the places were made for; a
        // caption keeps its place and grows to the right rather than lose its last letters.
        const QSize needed = l->sizeHint();
        l->resize(std::max(rect.width(), needed.width()), std::max(rect.height(), needed.height()));
        return l;
    };
    const auto valueLabel = [this](const QString &name, const QString &caption, const QRect &rect) {
        auto *l = placed(new QLabel(caption, this), name, rect);
        l->setFont(fieldFont());
        l->setAutoFillBackground(true);
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, Qt::white);
        l->setPalette(pal);
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
        l->setLineWidth(1);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    const auto spinner = [this](const QString &name, SpinnerId id, const QRect &rect) {
        const SpinnerLimits limits = spinnerLimits(id);
        return placed(new UpDown(limits.minimum, limits.maximum, limits.designPosition, this), name,
                      rect);
    };
    const auto button = [this](const QString &name, const QString &caption, const QRect &rect) {
        auto *b = placed(new QPushButton(caption, this), name, rect);
        b->setAutoDefault(true); // Enter presses the focused button, as Space does
        return b;
    };

    // User and preview.
    label("Label22", QStringLiteral(u"ユーザー切替："), twips(120, 120, 1170, 180));
    m_cmbUserName =
        placed(new QComboBox(this), QStringLiteral("cmbUserName"), twips(120, 360, 3060, 345));
    m_cmbUserName->setEditable(false);
    m_cmbUserName->setFont(fieldFont());
    m_cmbUserName->setFocusPolicy(Qt::StrongFocus); // not focused by the wheel
    m_cmbUserName->installEventFilter(this);
    m_PicBase = placed(new PicBox(&m_picBase, true, this), QStringLiteral("PicBase"),
                       twips(120, 960, 3060, 3060));
    m_PicBase->setAutoFillBackground(false);
    QPalette white = m_PicBase->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_PicBase->setPalette(white);
    m_PicTemp = placed(new PicBox(&m_picTemp, false, this), QStringLiteral("PicTemp"),
                       twips(120, 4200, 660, 540));
    m_PicTemp->hide(); // scratch surface of the Set command; the user has no use for it

    // Radius and line width.
    label("Label4", QStringLiteral(u"半径"), twips(3480, 120, 360, 180));
    m_LBLRad =
        valueLabel(QStringLiteral("LBLRad"), QStringLiteral("30"), twips(3480, 360, 495, 315));
    m_RadUpDown =
        spinner(QStringLiteral("RadUpDown"), SpinnerId::RadUpDown, twips(3960, 360, 255, 315));
    label("Label16", QStringLiteral("pixel"), twips(4320, 480, 360, 180));
    label("Label17", QStringLiteral(u"線の太さ"), twips(4800, 120, 675, 180));
    m_LBLWt = valueLabel(QStringLiteral("LBLWt"), QStringLiteral("1"), twips(4800, 360, 495, 315));
    m_WtUpDown =
        spinner(QStringLiteral("WtUpDown"), SpinnerId::WtUpDown, twips(5280, 360, 255, 315));
    label("Label21", QStringLiteral("pixel"), twips(5640, 480, 360, 180));

    // Band sizes: index 0 the organisation band from the top, 1 the name band from the bottom.
    label("Label9", QStringLiteral(u"組織名領域"), twips(3480, 840, 900, 180));
    label("Label10", QStringLiteral(u"上から"), twips(3480, 1200, 510, 180));
    m_LBLArea[0] = valueLabel(controlname::indexed("LBLArea", 0), QStringLiteral("35"),
                              twips(4080, 1080, 495, 315));
    m_AreaUpdown[0] =
        spinner(controlname::indexed("AreaUpdown", 0), areaUpdown(0), twips(4560, 1080, 255, 315));
    label("Label2", QStringLiteral("%"), twips(4920, 1200, 90, 180));
    label("Label11", QStringLiteral(u"氏名領域"), twips(5160, 840, 720, 180));
    label("Label15", QStringLiteral(u"下から"), twips(5160, 1200, 510, 180));
    m_LBLArea[1] = valueLabel(controlname::indexed("LBLArea", 1), QStringLiteral("35"),
                              twips(5760, 1080, 495, 315));
    m_AreaUpdown[1] =
        spinner(controlname::indexed("AreaUpdown", 1), areaUpdown(1), twips(6240, 1080, 255, 315));
    label("Label3", QStringLiteral("%"), twips(6600, 1200, 90, 180));

    // The four text lines with their font buttons and fine-tuning spinners.
    label("Label5", QStringLiteral(u"表示位置微調整（pixel）"), twips(6240, 1560, 1800, 180));
    struct Row {
        const char *caption;
        const char *captionLabel;
        int captionWidth;
        const char *designText;
        const char *verticalLabel;
        const char *horizontalLabel;
    };
    static const std::array<Row, 4> rows = {{
        {"組織名：", "Label1", 630, "組織名", "Label7", "Label6"},
        {"日　付：", "Label8", 570, "2001.06.04", "Label13", "Label12"},
        {"氏名１：", "Label14", 570, "名字", "Label19", "Label18"},
        {"氏名２：", "Label20", 570, "名", "Label25", "Label24"},
    }};
    for (int i = 0; i < kItemCount; ++i) {
        const Row &row = rows[i];
        const int y = kRowTop[i];
        label(row.captionLabel, QString::fromUtf8(row.caption),
              twips(3480, y - 240, row.captionWidth, 180));
        auto *box = placed(new QLineEdit(QString::fromUtf8(row.designText), this),
                           controlname::indexed("txtItem", i), twips(3480, y, 1695, 315));
        box->setFont(fieldFont());
        // The organisation and name boxes want the Japanese input method; the date box does not.
        box->setInputMethodHints(i == 1 ? Qt::ImhPreferLatin : Qt::ImhNone);
        box->installEventFilter(this);
        m_txtItem[i] = box;
        m_cmdFont[i] = button(controlname::indexed("cmdFont", i), QStringLiteral("Font..."),
                              twips(5280, y, 615, 315));
        label(row.verticalLabel, QStringLiteral(u"上\n下"), twips(6120, y, 180, 360));
        m_LBLSet[i] = valueLabel(controlname::indexed("LBLSet", i), QStringLiteral("0"),
                                 twips(6360, y, 495, 315));
        m_ScUpDown[i] =
            spinner(controlname::indexed("ScUpDown", i), scUpDown(i), twips(6840, y, 255, 315));
        label(row.horizontalLabel, QStringLiteral(u"左\n右"), twips(7200, y, 180, 360));
        m_LBLSet[i + 4] = valueLabel(controlname::indexed("LBLSet", i + 4), QStringLiteral("0"),
                                     twips(7440, y, 495, 315));
        m_ScUpDown[i + 4] = spinner(controlname::indexed("ScUpDown", i + 4), scUpDown(i + 4),
                                    twips(7920, y, 255, 315));
    }

    // Command buttons.
    m_cmdSet =
        button(QStringLiteral("cmdSet"), QStringLiteral(u"セット"), twips(3480, 4200, 855, 375));
    m_cmdColor =
        button(QStringLiteral("cmdColor"), QStringLiteral(u"色..."), twips(4440, 4200, 855, 375));
    m_cmdOption = button(QStringLiteral("cmdOption"), QStringLiteral(u"ｵﾌﾟｼｮﾝ..."),
                         twips(5400, 4200, 855, 375));
    m_cmdAbout =
        button(QStringLiteral("cmdAbout"), QStringLiteral("About..."), twips(6360, 4200, 855, 375));
    m_cmdEnd =
        button(QStringLiteral("cmdEnd"), QStringLiteral(u"終了"), twips(7320, 4200, 855, 375));

    // Tab order: Set first, then the four text boxes in line order, then the rest by area.
    QList<QWidget *> chain = {m_cmdSet};
    for (QLineEdit *box : m_txtItem)
        chain << box;
    chain << m_cmbUserName << m_RadUpDown << m_WtUpDown << m_AreaUpdown[0] << m_AreaUpdown[1];
    for (int i = 0; i < kItemCount; ++i)
        chain << m_cmdFont[i] << m_ScUpDown[i] << m_ScUpDown[i + 4];
    chain << m_cmdColor << m_cmdOption << m_cmdAbout << m_cmdEnd;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    m_cmdSet->setFocus(Qt::OtherFocusReason);
}

void frmMain::connectHandlers()
{
    connect(m_RadUpDown, &UpDown::Change, this, &frmMain::RadUpDown_Change);
    connect(m_WtUpDown, &UpDown::Change, this, &frmMain::WtUpDown_Change);
    for (int i = 0; i < 2; ++i)
        connect(m_AreaUpdown[i], &UpDown::Change, this, [this, i] { AreaUpdown_Change(i); });
    for (int i = 0; i < 8; ++i)
        connect(m_ScUpDown[i], &UpDown::Change, this, [this, i] { ScUpDown_Change(i); });
    for (int i = 0; i < kItemCount; ++i) {
        connect(m_txtItem[i], &QLineEdit::textEdited, this, [this, i] {
            m_typedInto[i] = true;
            refuseUnstorableText(i);
        });
        connect(m_cmdFont[i], &QPushButton::clicked, this, [this, i] { cmdFont_Click(i); });
    }
    // `activated` comes from the user only, also when the entry already selected is picked again;
    // selecting an entry from code never reloads a profile.
    connect(m_cmbUserName, &QComboBox::activated, this, [this] { cmbUserName_Click(); });
    connect(m_cmdSet, &QPushButton::clicked, this, [this] { (void)cmdSet_Click(); });
    connect(m_cmdColor, &QPushButton::clicked, this, &frmMain::cmdColor_Click);
    connect(m_cmdOption, &QPushButton::clicked, this, &frmMain::cmdOption_Click);
    connect(m_cmdAbout, &QPushButton::clicked, this, &frmMain::cmdAbout_Click);
    connect(m_cmdEnd, &QPushButton::clicked, this, &frmMain::cmdEnd_Click);
}

void frmMain::centreOnScreen()
{
    const QScreen *where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!where)
        return;
    const QRect area = where->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void frmMain::setPickers(std::unique_ptr<StampPickers> pickers)
{
    m_pickers = std::move(pickers);
}

int frmMain::textBoxIndex(const QObject *object) const
{
    for (int i = 0; i < kItemCount; ++i) {
        if (m_txtItem[i] == object)
            return i;
    }
    return -1;
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    // A turn of the mouse wheel over the user list would switch the user, and so drop every edit
    // not yet saved, without the list ever being chosen; it switches only once the list has the
    // focus.
    if (watched == m_cmbUserName && event->type() == QEvent::Wheel)
        return !m_cmbUserName->hasFocus();

    const int index = textBoxIndex(watched);
    if (index < 0)
        return QWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // Focus that leaves with the whole window (another program, a message box, a context
        // menu) comes back to the same box: it is no change of focus inside the window.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) {
            if (event->type() == QEvent::FocusIn)
                m_editingItem = index;
            break;
        }
        if (event->type() == QEvent::FocusIn) {
            m_editingItem = index;
            // A click places the caret when it ends; the whole text is selected after that.
            m_selectOnRelease = (reason == Qt::MouseFocusReason) ? index : -1;
            if (m_selectOnRelease < 0)
                txtItem_GotFocus(index);
        } else {
            m_editingItem = -1;
            m_selectOnRelease = -1;
            txtItem_LostFocus(index);
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (m_selectOnRelease == index) {
            m_selectOnRelease = -1;
            QCoreApplication::sendEvent(watched, event); // the box finishes the click first
            if (!m_txtItem[index]->hasSelectedText())    // unless the user dragged a selection
                txtItem_GotFocus(index);
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void frmMain::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        Form_Load();
    QWidget::showEvent(event);
}

} // namespace pellimo
