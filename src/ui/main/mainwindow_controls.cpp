// SPDX-License-Identifier: MIT
// The main window's controls: their kinds, places, captions and tab order, group by group.
// Places are in twips as left, top, width, height.

#include "controlnames.h"
#include "mainwindow.h"
#include "picbox.h"
#include "ui/common/selectallonfocus.h"
#include "ui/common/twips.h"
#include "updown.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace pellimo {

namespace {

// The face of the value labels, the text boxes and the user list.
QFont fieldFont()
{
    QFont font(QStringLiteral(u"ＭＳ Ｐゴシック"));
    font.setPointSizeF(11.25);
    font.setWeight(QFont::Normal);
    return font;
}

template <typename W> W *placed(W *widget, const QString &name, const QRect &place)
{
    widget->setObjectName(name);
    widget->setGeometry(place);
    return widget;
}

QLabel *caption(QWidget *parent, const char *name, const QString &text, const QRect &place)
{
    auto *label = placed(new QLabel(text, parent), QLatin1String(name), place);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The substitute faces run a little wider than the faces the places were made for; a caption
    // keeps its place and grows to the right rather than lose its last letters. Its text is
    // measured once, as the label's size hint measures it (a caption has no frame, margin or
    // indent); the size hint itself would lay the text out three times.
    label->ensurePolished();
    const QSize needed = label->fontMetrics()
                             .boundingRect(QRect(0, 0, 2000, 2000), int(label->alignment()), text)
                             .size();
    label->resize(std::max(place.width(), needed.width()),
                  std::max(place.height(), needed.height()));
    return label;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &place)
{
    auto *b = placed(new QPushButton(text, parent), name, place);
    b->setAutoDefault(true); // Enter presses the focused button, as Space does
    return b;
}

// Row tops of the four text lines.
constexpr std::array<int, 4> kRowTop = {1800, 2400, 3000, 3600};

} // namespace

void MainWindow::addSpinner(ProfileField field, int designValue, const QString &valueText,
                            const QRect &labelPlace, const QRect &spinnerPlace)
{
    static const std::array<const char *, kProfileFieldCount> spinnerNames = {
        "RadUpDown", "WtUpDown",  "AreaUpdown0", "AreaUpdown1", "ScUpDown0", "ScUpDown1",
        "ScUpDown2", "ScUpDown3", "ScUpDown4",   "ScUpDown5",   "ScUpDown6", "ScUpDown7"};
    static const std::array<const char *, kProfileFieldCount> labelNames = {
        "LBLRad",  "LBLWt",   "LBLArea0", "LBLArea1", "LBLSet0", "LBLSet1",
        "LBLSet2", "LBLSet3", "LBLSet4",  "LBLSet5",  "LBLSet6", "LBLSet7"};

    auto *label =
        placed(new QLabel(valueText, this), QLatin1String(labelNames[size_t(field)]), labelPlace);
    label->setFont(fieldFont());
    // The layout fixes the box white, so it fixes the digits black: under a dark theme the
    // palette's own text colour is light and would vanish on the white.
    label->setAutoFillBackground(true);
    QPalette blackOnWhite = label->palette();
    blackOnWhite.setColor(QPalette::Window, Qt::white);
    blackOnWhite.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(blackOnWhite);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    const FieldRange range = fieldRange(field);
    auto *spinner = placed(new UpDown(range.minimum, range.maximum, designValue, this),
                           QLatin1String(spinnerNames[size_t(field)]), spinnerPlace);
    m_spinners[size_t(field)] = {spinner, label};
}

void MainWindow::buildUserAndPreview()
{
    caption(this, "Label22", QStringLiteral(u"ユーザー切替："), twipsRect(120, 120, 1170, 180));
    m_cmbUserName =
        placed(new QComboBox(this), QStringLiteral("cmbUserName"), twipsRect(120, 360, 3060, 345));
    m_cmbUserName->setEditable(false);
    m_cmbUserName->setFont(fieldFont());
    m_cmbUserName->setFocusPolicy(Qt::StrongFocus); // not focused by the wheel
    m_cmbUserName->installEventFilter(this);

    m_picBaseView = placed(new PicBox(&m_picBase, true, this), QStringLiteral("PicBase"),
                           twipsRect(120, 960, 3060, 3060));
    m_picBaseView->setAutoFillBackground(false);
    QPalette white = m_picBaseView->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_picBaseView->setPalette(white);
    m_picTempView = placed(new PicBox(&m_picTemp, false, this), QStringLiteral("PicTemp"),
                           twipsRect(120, 4200, 660, 540));
    m_picTempView->hide(); // scratch surface of the Set command; the user has no use for it
}

void MainWindow::buildRadiusAndWidth()
{
    caption(this, "Label4", QStringLiteral(u"半径"), twipsRect(3480, 120, 360, 180));
    addSpinner(ProfileField::Radius, 30, QStringLiteral("30"), twipsRect(3480, 360, 495, 315),
               twipsRect(3960, 360, 255, 315));
    caption(this, "Label16", QStringLiteral("pixel"), twipsRect(4320, 480, 360, 180));
    caption(this, "Label17", QStringLiteral(u"線の太さ"), twipsRect(4800, 120, 675, 180));
    addSpinner(ProfileField::LineWidth, 1, QStringLiteral("1"), twipsRect(4800, 360, 495, 315),
               twipsRect(5280, 360, 255, 315));
    caption(this, "Label21", QStringLiteral("pixel"), twipsRect(5640, 480, 360, 180));
}

// Index 0 is the organisation band, measured from the top; 1 the name band, from the bottom.
void MainWindow::buildBandSizes()
{
    caption(this, "Label9", QStringLiteral(u"組織名領域"), twipsRect(3480, 840, 900, 180));
    caption(this, "Label10", QStringLiteral(u"上から"), twipsRect(3480, 1200, 510, 180));
    addSpinner(ProfileField::TopBand, 40, QStringLiteral("35"), twipsRect(4080, 1080, 495, 315),
               twipsRect(4560, 1080, 255, 315));
    caption(this, "Label2", QStringLiteral("%"), twipsRect(4920, 1200, 90, 180));
    caption(this, "Label11", QStringLiteral(u"氏名領域"), twipsRect(5160, 840, 720, 180));
    caption(this, "Label15", QStringLiteral(u"下から"), twipsRect(5160, 1200, 510, 180));
    addSpinner(ProfileField::BottomBand, 35, QStringLiteral("35"), twipsRect(5760, 1080, 495, 315),
               twipsRect(6240, 1080, 255, 315));
    caption(this, "Label3", QStringLiteral("%"), twipsRect(6600, 1200, 90, 180));
}

// One stamp line: caption, text box, font button, vertical and horizontal offset.
void MainWindow::buildTextLine(int line)
{
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
    if (line == 0)
        caption(this, "Label5", QStringLiteral(u"表示位置微調整（pixel）"),
                twipsRect(6240, 1560, 1800, 180));

    const Row &row = rows[size_t(line)];
    const int y = kRowTop[size_t(line)];
    caption(this, row.captionLabel, QString::fromUtf8(row.caption),
            twipsRect(3480, y - 240, row.captionWidth, 180));
    // The box takes its face before its text: laid out in the default face first, a Japanese text
    // would load a fallback face that is never shown.
    auto *box = placed(new QLineEdit(this), controlname::indexed("txtItem", line),
                       twipsRect(3480, y, 1695, 315));
    box->setFont(fieldFont());
    box->setText(QString::fromUtf8(row.designText));
    // The organisation and name boxes want the Japanese input method; the date box does not.
    box->setInputMethodHints(line == 1 ? Qt::ImhPreferLatin : Qt::ImhNone);
    box->installEventFilter(this);
    m_selectAllOnFocus->watch(box); // typing replaces the text
    m_txtItem[size_t(line)] = box;
    m_cmdFont[size_t(line)] = button(this, controlname::indexed("cmdFont", line),
                                     QStringLiteral("Font..."), twipsRect(5280, y, 615, 315));
    caption(this, row.verticalLabel, QStringLiteral(u"上\n下"), twipsRect(6120, y, 180, 360));
    addSpinner(offsetYField(line), 0, QStringLiteral("0"), twipsRect(6360, y, 495, 315),
               twipsRect(6840, y, 255, 315));
    caption(this, row.horizontalLabel, QStringLiteral(u"左\n右"), twipsRect(7200, y, 180, 360));
    addSpinner(offsetXField(line), 0, QStringLiteral("0"), twipsRect(7440, y, 495, 315),
               twipsRect(7920, y, 255, 315));
}

void MainWindow::buildCommandButtons()
{
    m_cmdSet = button(this, QStringLiteral("cmdSet"), QStringLiteral(u"セット"),
                      twipsRect(3480, 4200, 855, 375));
    m_cmdColor = button(this, QStringLiteral("cmdColor"), QStringLiteral(u"色..."),
                        twipsRect(4440, 4200, 855, 375));
    m_cmdOption = button(this, QStringLiteral("cmdOption"), QStringLiteral(u"ｵﾌﾟｼｮﾝ..."),
                         twipsRect(5400, 4200, 855, 375));
    m_cmdAbout = button(this, QStringLiteral("cmdAbout"), QStringLiteral("About..."),
                        twipsRect(6360, 4200, 855, 375));
    m_cmdEnd = button(this, QStringLiteral("cmdEnd"), QStringLiteral(u"終了"),
                      twipsRect(7320, 4200, 855, 375));
}

// Set first, then the four text boxes in line order, then the rest by area.
void MainWindow::arrangeTabOrder()
{
    QList<QWidget *> chain = {m_cmdSet};
    for (QLineEdit *box : m_txtItem)
        chain << box;
    chain << m_cmbUserName;
    for (const ProfileField field : {ProfileField::Radius, ProfileField::LineWidth,
                                     ProfileField::TopBand, ProfileField::BottomBand})
        chain << spinner(field).spinner;
    for (int i = 0; i < kItemCount; ++i)
        chain << m_cmdFont[size_t(i)] << spinner(offsetYField(i)).spinner
              << spinner(offsetXField(i)).spinner;
    chain << m_cmdColor << m_cmdOption << m_cmdAbout << m_cmdEnd;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    m_cmdSet->setFocus(Qt::OtherFocusReason);
}

} // namespace pellimo
