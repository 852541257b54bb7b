#include "frmoption.h"

#include "datefmt/dateformat.h"
#include "model/warning.h"
#include "storage/settingsfile.h"
#include "twips.h"
#include "windowplacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace pellimo {

namespace {

constexpr int kUsers = 5;

// Rows of the user frame: the label, name box and option button of user n share a row.
constexpr int kLabelTops[kUsers] = {645, 990, 1320, 1665, 2010};
constexpr int kBoxTops[kUsers] = {600, 945, 1275, 1620, 1965};

// A label that is sized to its text: only its place is fixed.
QLabel *autoSizedLabel(const QString &text, const QString &name, int left, int top, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(twipsToPixels(left), twipsToPixels(top));
    label->adjustSize();
    return label;
}

QString fullWidthDigit(int n)
{
    return QString(QChar(char16_t(u'０' + n)));
}

} // namespace

frmOption::frmOption(AppSettings &settings, QString settingsPath, std::function<QDateTime()> now,
                     QWidget *owner)
    : QDialog(owner), m_settings(settings), m_settingsPath(std::move(settingsPath)),
      m_now(std::move(now))
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("Pellimo"));
    setModal(true);
    setFixedSize(twipsToPixels(5760), twipsToPixels(4695));
    // The frames' captions sit on their border line, so that the controls' places inside a frame
    // (measured from the frame's top-left corner) clear the caption.
    setStyleSheet(QStringLiteral(
        "QGroupBox { margin-top: 6px; border: 1px solid palette(mid); border-radius: 2px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0px 2px; }"));

    buildUserFrame();
    buildDateFrame();
    buildBehaviourFrame();
    buildButtons();
    arrangeTabOrder();
    Form_Load();
}

frmOption::~frmOption() = default;

void frmOption::buildUserFrame()
{
    fraUser = new QGroupBox(QStringLiteral(u"ユーザー設定"), this);
    fraUser->setObjectName(QStringLiteral("fraUser"));
    fraUser->setGeometry(twipsRect(120, 120, 4095, 2415));

    LBLStUp = autoSizedLabel(QStringLiteral(u"起動時読込"), QStringLiteral("LBLStUp"), 3000, 240,
                             fraUser);

    grpStUp = new QButtonGroup(this);
    grpStUp->setExclusive(true);
    for (int i = 0; i < kUsers; ++i) {
        const QString index = QString::number(i);

        LBLUser[i] = new QLabel(QStringLiteral(u"ユーザー") + fullWidthDigit(i + 1), fraUser);
        LBLUser[i]->setObjectName(QStringLiteral("LBLUser") + index);
        LBLUser[i]->setGeometry(twipsRect(240, kLabelTops[i], 855, 180));
        growToFitContents(LBLUser[i]);

        txtUser[i] = new QLineEdit(fraUser);
        txtUser[i]->setObjectName(QStringLiteral("txtUser") + index);
        txtUser[i]->setGeometry(twipsRect(1200, kBoxTops[i], 1815, 270));
        txtUser[i]->installEventFilter(this);

        optStUp[i] = new QRadioButton(fraUser);
        optStUp[i]->setObjectName(QStringLiteral("optStUp") + index);
        optStUp[i]->setGeometry(twipsRect(3360, kLabelTops[i], 255, 180));
        growToFitContents(optStUp[i]);
        grpStUp->addButton(optStUp[i], i);
    }
}

void frmOption::buildDateFrame()
{
    fraDformat = new QGroupBox(QStringLiteral(u"日付書式"), this);
    fraDformat->setObjectName(QStringLiteral("fraDformat"));
    fraDformat->setGeometry(twipsRect(120, 2640, 4095, 1095));

    LBLDformat = autoSizedLabel(QStringLiteral(u"書式："), QStringLiteral("LBLDformat"), 360, 360,
                                fraDformat);

    txtDformat = new QLineEdit(fraDformat);
    txtDformat->setObjectName(QStringLiteral("txtDformat"));
    txtDformat->setGeometry(twipsRect(1080, 315, 2535, 270));
    txtDformat->installEventFilter(this);
    connect(txtDformat, &QLineEdit::textChanged, this, &frmOption::txtDformat_Change);

    LBLSample = autoSizedLabel(QStringLiteral(u"ｻﾝﾌﾟﾙ："), QStringLiteral("LBLSample"), 360, 750,
                               fraDformat);

    LBLDFSample = new QLabel(fraDformat);
    LBLDFSample->setObjectName(QStringLiteral("LBLDFSample"));
    LBLDFSample->setGeometry(twipsRect(1080, 720, 2535, 255));
}

void frmOption::buildBehaviourFrame()
{
    fraAction = new QGroupBox(QStringLiteral(u"動作"), this);
    fraAction->setObjectName(QStringLiteral("fraAction"));
    fraAction->setGeometry(twipsRect(120, 3840, 4095, 735));

    chkAutoClose =
        new QCheckBox(QStringLiteral(u"クリップボードセットと同時に終了する"), fraAction);
    chkAutoClose->setObjectName(QStringLiteral("chkAutoClose"));
    chkAutoClose->setGeometry(twipsRect(240, 360, 3135, 180));
    growToFitContents(chkAutoClose);
}

void frmOption::buildButtons()
{
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipsRect(4320, 120, 1335, 375));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmOption::cmdOK_Click);

    cmdCancel = new QPushButton(QStringLiteral(u"キャンセル"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(twipsRect(4320, 600, 1335, 375));
    connect(cmdCancel, &QPushButton::clicked, this, &frmOption::cmdCancel_Click);
}

// Name boxes, option buttons, pattern box, check box, OK, Cancel. Frames and labels take no focus.
void frmOption::arrangeTabOrder()
{
    QList<QWidget *> order;
    for (QLineEdit *box : txtUser)
        order.append(box);
    for (QRadioButton *option : optStUp)
        order.append(option);
    order << txtDformat << chkAutoClose << cmdOK << cmdCancel;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmOption::Form_Load()
{
    for (int n = 1; n <= kUsers; ++n)
        txtUser[n - 1]->setText(m_settings.userNames[n - 1]);

    // The record always holds 1..5; anything else would come from a caller's mistake and is
    // shown as user 1, as the settings reader does with unusable values.
    int user = m_settings.defaultUser;
    if (user < 1 || user > kUsers)
        user = 1;
    optStUp[user - 1]->setChecked(true);

    {
        // The sample is computed once below, also when the pattern is the same as before.
        const QSignalBlocker quiet(txtDformat);
        txtDformat->setText(m_settings.dateFormat);
    }
    txtDformat_Change();

    chkAutoClose->setChecked(m_settings.autoClose);
    txtUser[0]->setFocus();
}

void frmOption::txtDformat_Change()
{
    const QString pattern = txtDformat->text();
    if (pattern.isEmpty()) {
        LBLDFSample->clear();
        return;
    }
    LBLDFSample->setText(formatDate(m_now(), pattern));
}

void frmOption::txtUser_GotFocus(int index)
{
    if (index < 0 || index >= kUsers)
        return;
    txtUser[index]->selectAll();
}

void frmOption::txtDformat_GotFocus()
{
    txtDformat->selectAll();
}

AppSettings frmOption::settingsFromControls() const
{
    AppSettings next = m_settings;
    for (int n = 0; n < kUsers; ++n) {
        next.userNames[n] = txtUser[n]->text();
        if (optStUp[n]->isChecked())
            next.defaultUser = int16_t(n + 1);
    }
    next.dateFormat = txtDformat->text();
    next.autoClose = chkAutoClose->isChecked();
    return next;
}

void frmOption::cmdOK_Click()
{
    const AppSettings next = settingsFromControls();
    const SaveStatus status = saveSettings(next, m_settingsPath);
    if (!status) {
        showWarning(status.error.isEmpty()
                        ? joinMessageLines({QStringLiteral(u"設定ファイルを書き込めませんでした。"),
                                            m_settingsPath})
                        : status.error);
        return;
    }
    m_settings = next;
    accept();
}

void frmOption::cmdCancel_Click()
{
    reject();
}

void frmOption::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        m_hadFocus = false;
        Form_Load();
        const QWidget *owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
        if (owner != nullptr && owner->isVisible())
            centreWindowOn(this, owner->frameGeometry().center(), frameExtraOf(owner));
        else
            centreWindowOn(this, availableScreenCentre(owner), QSize());
    }
    QDialog::showEvent(event);
}

bool frmOption::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Coming back from a popup (the context menu) or from another window is no new entry
        // into the box, except for the first box when the dialog opens.
        const bool entered = reason != Qt::PopupFocusReason &&
                             (reason != Qt::ActiveWindowFocusReason || !m_hadFocus);
        m_hadFocus = true;
        if (entered) {
            if (watched == txtDformat)
                txtDformat_GotFocus();
            for (int i = 0; i < kUsers; ++i)
                if (watched == txtUser[i])
                    txtUser_GotFocus(i);
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pellimo
