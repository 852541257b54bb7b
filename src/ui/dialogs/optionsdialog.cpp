// SPDX-License-Identifier: MIT
#include "optionsdialog.h"

#include "datefmt/dateformat.h"
#include "datepatternhelp.h"
#include "model/warning.h"
#include "storage/profilefile.h"
#include "storage/savemessages.h"
#include "storage/settingsfile.h"
#include "ui/common/selectallonfocus.h"
#include "ui/common/storabletext.h"
#include "ui/common/twips.h"
#include "ui/common/windowplacement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace pellimo {

namespace {

// Rows of the user frame: the label, name box and option button of user n share a row.
constexpr int kLabelTops[kUserCount] = {645, 990, 1320, 1665, 2010};
constexpr int kBoxTops[kUserCount] = {600, 945, 1275, 1620, 1965};

// A label that is sized to its text: only its place is fixed.

// The refusal of a pattern whose date a profile file cannot hold, in the form of the refusal of
// an unstorable name: what cannot be stored, then the entry and its characters.
QString unstorableDateText(const QString &sample, const QString &characters)
{
    return joinMessageLines({
        QStringLiteral(u"日付書式の日付「%1」にはデータファイルに保存できない文字があります。")
            .arg(sample),
        QStringLiteral("DateFormat: %1").arg(describeCharacters(characters)),
    });
}

// A name as typed or pasted: look-alikes become their CP932 forms, and what the settings file
// cannot hold is taken out at once with a notice beside the box, as the main window's boxes do,
// rather than refused on OK after the rest has been typed.
void refuseUnstorableName(QLineEdit *box)
{
    replaceLookAlikesIn(box);
    const QString bad = unstorableSettingCharacters(box->text());
    if (bad.isEmpty())
        return;
    takeCharactersOut(box, bad);
    showNoticeAt(box, unstorableTextNotice(bad));
}

QString fullWidthDigit(int n)
{
    return QString(QChar(char16_t(u'０' + n)));
}

} // namespace

OptionsDialog::OptionsDialog(AppSettings &settings, QString settingsPath,
                             std::function<QDateTime()> now, QWidget *owner)
    : QDialog(owner), m_settings(settings), m_settingsPath(std::move(settingsPath)),
      m_now(std::move(now))
{
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("Pellimo"));
    setModal(true);
    setFixedSize(twipsToPixels(5760), twipsToPixels(4695));
    // The frames' captions sit on their border line, so that the controls' places inside a frame
    // (measured from the frame's top-left corner) clear the caption.
    setStyleSheet(QStringLiteral(
        "QGroupBox { margin-top: 6px; border: 1px solid palette(mid); border-radius: 2px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0px 2px; }"));

    m_selectAllOnFocus = new SelectAllOnFocus(this);
    buildUserFrame();
    buildDateFrame();
    buildBehaviourFrame();
    buildButtons();
    arrangeTabOrder();
    load();
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::buildUserFrame()
{
    m_userFrame = new QGroupBox(QStringLiteral(u"ユーザー設定"), this);
    m_userFrame->setObjectName(QStringLiteral("fraUser"));
    m_userFrame->setGeometry(twipsRect(120, 120, 4095, 2415));

    m_startUpCaption = autoSizedLabel(QStringLiteral(u"起動時読込"), QStringLiteral("LBLStUp"),
                                      3000, 240, m_userFrame);

    m_startUpGroup = new QButtonGroup(this);
    m_startUpGroup->setExclusive(true);
    for (int i = 0; i < kUserCount; ++i) {
        const QString index = QString::number(i);

        m_userCaptions[i] =
            new QLabel(QStringLiteral(u"ユーザー") + fullWidthDigit(i + 1), m_userFrame);
        m_userCaptions[i]->setObjectName(QStringLiteral("LBLUser") + index);
        m_userCaptions[i]->setGeometry(twipsRect(240, kLabelTops[i], 855, 180));
        growToFitContents(m_userCaptions[i]);

        m_userNameBoxes[i] = new QLineEdit(m_userFrame);
        m_userNameBoxes[i]->setObjectName(QStringLiteral("txtUser") + index);
        m_userNameBoxes[i]->setGeometry(twipsRect(1200, kBoxTops[i], 1815, 270));
        m_selectAllOnFocus->watch(m_userNameBoxes[i]);
        connect(m_userNameBoxes[i], &QLineEdit::textEdited, this,
                [box = m_userNameBoxes[i]] { refuseUnstorableName(box); });

        m_startUpButtons[i] = new QRadioButton(m_userFrame);
        m_startUpButtons[i]->setObjectName(QStringLiteral("optStUp") + index);
        m_startUpButtons[i]->setGeometry(twipsRect(3360, kLabelTops[i], 255, 180));
        growToFitContents(m_startUpButtons[i]);
        m_startUpGroup->addButton(m_startUpButtons[i], i);
    }
}

void OptionsDialog::buildDateFrame()
{
    m_dateFrame = new QGroupBox(QStringLiteral(u"日付書式"), this);
    m_dateFrame->setObjectName(QStringLiteral("fraDformat"));
    m_dateFrame->setGeometry(twipsRect(120, 2640, 4095, 1095));

    m_patternCaption = autoSizedLabel(QStringLiteral(u"書式："), QStringLiteral("LBLDformat"), 360,
                                      360, m_dateFrame);

    m_patternBox = new QLineEdit(m_dateFrame);
    m_patternBox->setObjectName(QStringLiteral("txtDformat"));
    m_patternBox->setGeometry(twipsRect(1080, 315, 2535, 270));
    m_patternBox->setToolTip(datePatternHelp(m_now()));
    m_selectAllOnFocus->watch(m_patternBox);
    connect(m_patternBox, &QLineEdit::textEdited, this,
            [this] { replaceLookAlikesIn(m_patternBox); }); // 〜 → ～ as typed; the sample follows
    connect(m_patternBox, &QLineEdit::textChanged, this, &OptionsDialog::onPatternChanged);

    m_sampleCaption = autoSizedLabel(QStringLiteral(u"ｻﾝﾌﾟﾙ："), QStringLiteral("LBLSample"), 360,
                                     750, m_dateFrame);

    m_sample = new QLabel(m_dateFrame);
    m_sample->setObjectName(QStringLiteral("LBLDFSample"));
    m_sample->setGeometry(twipsRect(1080, 720, 2535, 255));
}

void OptionsDialog::buildBehaviourFrame()
{
    m_behaviourFrame = new QGroupBox(QStringLiteral(u"動作"), this);
    m_behaviourFrame->setObjectName(QStringLiteral("fraAction"));
    m_behaviourFrame->setGeometry(twipsRect(120, 3840, 4095, 735));

    m_autoCloseBox =
        new QCheckBox(QStringLiteral(u"クリップボードセットと同時に終了する"), m_behaviourFrame);
    m_autoCloseBox->setObjectName(QStringLiteral("chkAutoClose"));
    m_autoCloseBox->setGeometry(twipsRect(240, 360, 3135, 180));
    growToFitContents(m_autoCloseBox);
}

void OptionsDialog::buildButtons()
{
    m_okButton = new QPushButton(QStringLiteral("OK"), this);
    m_okButton->setObjectName(QStringLiteral("cmdOK"));
    m_okButton->setGeometry(twipsRect(4320, 120, 1335, 375));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &OptionsDialog::onOkClicked);

    m_cancelButton = new QPushButton(QStringLiteral(u"キャンセル"), this);
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    m_cancelButton->setGeometry(twipsRect(4320, 600, 1335, 375));
    connect(m_cancelButton, &QPushButton::clicked, this, &OptionsDialog::onCancelClicked);
}

// Name boxes, option buttons, pattern box, check box, OK, Cancel. Frames and labels take no focus.
void OptionsDialog::arrangeTabOrder()
{
    QList<QWidget *> order;
    for (QLineEdit *box : m_userNameBoxes)
        order.append(box);
    for (QRadioButton *option : m_startUpButtons)
        order.append(option);
    order << m_patternBox << m_autoCloseBox << m_okButton << m_cancelButton;
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void OptionsDialog::load()
{
    for (int n = 1; n <= kUserCount; ++n)
        m_userNameBoxes[n - 1]->setText(m_settings.userNames[n - 1]);

    // The record always holds 1..kUserCount; anything else would come from a caller's mistake and
    // is shown as user 1, as the settings reader does with unusable values.
    int user = m_settings.defaultUser;
    if (user < 1 || user > kUserCount)
        user = 1;
    m_startUpButtons[user - 1]->setChecked(true);

    {
        // The sample is computed once below, also when the pattern is the same as before.
        const QSignalBlocker quiet(m_patternBox);
        m_patternBox->setText(m_settings.dateFormat);
    }
    onPatternChanged();

    m_autoCloseBox->setChecked(m_settings.autoClose);
    m_userNameBoxes[0]->setFocus();
}

void OptionsDialog::onPatternChanged()
{
    const QString pattern = m_patternBox->text();
    if (pattern.isEmpty()) {
        m_sample->clear();
        return;
    }
    m_sample->setText(formatDate(m_now(), pattern));
}

AppSettings OptionsDialog::settingsFromControls() const
{
    AppSettings next = m_settings;
    for (int n = 0; n < kUserCount; ++n) {
        next.userNames[n] = m_userNameBoxes[n]->text();
        if (m_startUpButtons[n]->isChecked())
            next.defaultUser = int16_t(n + 1);
    }
    next.dateFormat = m_patternBox->text();
    next.autoClose = m_autoCloseBox->isChecked();
    return next;
}

void OptionsDialog::onOkClicked()
{
    const AppSettings next = settingsFromControls();
    // The date line goes into every profile file: a pattern whose date the file cannot hold
    // would make every Set fail.
    const QString sample = formatDate(m_now(), next.dateFormat);
    const QString unstorable = unstorableCharacters(sample);
    if (!unstorable.isEmpty()) {
        showWarning(unstorableDateText(sample, unstorable));
        return;
    }
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

void OptionsDialog::onCancelClicked()
{
    reject();
}

void OptionsDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        m_selectAllOnFocus->restart(); // the first box to take the focus is entered
        load();
        const QWidget *owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
        if (owner != nullptr && owner->isVisible())
            centreWindowOn(this, owner->frameGeometry().center(), frameExtraOf(owner));
        else
            centreWindowOn(this, availableScreenCentre(owner), QSize());
    }
    QDialog::showEvent(event);
}

} // namespace pellimo
