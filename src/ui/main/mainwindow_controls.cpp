// SPDX-License-Identifier: MIT
// The main window's controls: their kinds, captions and tab order, group by group. Every control
// takes its place from the layout table (mainwindowlayout.h) by its name.

#include "mainwindow.h"
#include "mainwindowlayout.h"
#include "picbox.h"
#include "ui/common/selectallonfocus.h"
#include "updown.h"

#include <QComboBox>
#include <QCoreApplication>
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

template <typename W> W *placed(W *widget, const QString &name)
{
    widget->setObjectName(name);
    widget->setGeometry(controlPlace(name));
    return widget;
}

QLabel *caption(QWidget *parent, const char *name, const QString &text)
{
    auto *label = placed(new QLabel(text, parent), QLatin1String(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The substitute faces run a little wider than the faces the places were made for; a caption
    // keeps its place and grows to the right rather than lose its last letters. Its text is
    // measured once, as the label's size hint measures it (a caption has no frame, margin or
    // indent); the size hint itself would lay the text out three times.
    label->ensurePolished();
    const QSize needed = label->fontMetrics()
                             .boundingRect(QRect(0, 0, 2000, 2000), int(label->alignment()), text)
                             .size();
    label->resize(label->size().expandedTo(needed));
    return label;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = placed(new QPushButton(text, parent), name);
    b->setAutoDefault(true); // Enter presses the focused button, as Space does
    return b;
}

// What each spinner moves, in the order of ProfileField.
QString spinnerToolTip(ProfileField field)
{
    static const std::array<const char *, kProfileFieldCount> tips = {
        QT_TRANSLATE_NOOP("pellimo", "Radius of the stamp's circle (pixels)"),
        QT_TRANSLATE_NOOP("pellimo", "Width of the circle and the dividing lines (pixels)"),
        QT_TRANSLATE_NOOP("pellimo", "Height of the organisation band: percent of the diameter from the top of the circle"),
        QT_TRANSLATE_NOOP("pellimo", "Height of the name band: percent of the diameter from the bottom of the circle"),
        QT_TRANSLATE_NOOP("pellimo", "Moves the organisation name up or down (pixels)"),
        QT_TRANSLATE_NOOP("pellimo", "Moves the date up or down (pixels)"),
        QT_TRANSLATE_NOOP("pellimo", "Moves name 1 up or down (pixels)"),
        QT_TRANSLATE_NOOP("pellimo", "Moves name 2 up or down (pixels)"),
        QT_TRANSLATE_NOOP("pellimo", "Moves the organisation name left or right (pixels)"),
        QT_TRANSLATE_NOOP("pellimo", "Moves the date left or right (pixels)"),
        QT_TRANSLATE_NOOP("pellimo", "Moves name 1 left or right (pixels)"),
        QT_TRANSLATE_NOOP("pellimo", "Moves name 2 left or right (pixels)"),
    };
    return QCoreApplication::translate("pellimo", tips[size_t(field)]);
}

} // namespace

void MainWindow::addSpinner(ProfileField field, int designValue, const QString &valueText)
{
    static const std::array<const char *, kProfileFieldCount> spinnerNames = {
        "RadUpDown", "WtUpDown",  "AreaUpdown0", "AreaUpdown1", "ScUpDown0", "ScUpDown1",
        "ScUpDown2", "ScUpDown3", "ScUpDown4",   "ScUpDown5",   "ScUpDown6", "ScUpDown7"};
    static const std::array<const char *, kProfileFieldCount> labelNames = {
        "LBLRad",  "LBLWt",   "LBLArea0", "LBLArea1", "LBLSet0", "LBLSet1",
        "LBLSet2", "LBLSet3", "LBLSet4",  "LBLSet5",  "LBLSet6", "LBLSet7"};

    auto *label = placed(new QLabel(valueText, this), QLatin1String(labelNames[size_t(field)]));
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
                           QLatin1String(spinnerNames[size_t(field)]));
    spinner->setToolTip(spinnerToolTip(field));
    m_spinners[size_t(field)] = {spinner, label};
}

void MainWindow::buildUserAndPreview()
{
    caption(this, "Label22", QStringLiteral(u"ユーザー切替："));
    m_userList = placed(new QComboBox(this), QStringLiteral("cmbUserName"));
    m_userList->setEditable(false);
    m_userList->setFont(fieldFont());
    m_userList->setFocusPolicy(Qt::StrongFocus); // not focused by the wheel
    m_userList->installEventFilter(this);

    m_stampView = placed(new PicBox(&m_stamp, true, this), QStringLiteral("PicBase"));
    m_stampView->setToolTip(QCoreApplication::translate("pellimo",
                                                        "Right-click to save the stamp as a picture or to stamp a PDF."));
    m_stampView->setAutoFillBackground(false);
    QPalette white = m_stampView->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_stampView->setPalette(white);
    m_cutOutView = placed(new PicBox(&m_cutOut, false, this), QStringLiteral("PicTemp"));
    m_cutOutView->hide(); // scratch surface of the Set command; the user has no use for it
}

void MainWindow::buildRadiusAndWidth()
{
    caption(this, "Label4", QStringLiteral(u"半径"));
    addSpinner(ProfileField::Radius, 30, QStringLiteral("30"));
    caption(this, "Label16", QStringLiteral("pixel"));
    caption(this, "Label17", QStringLiteral(u"線の太さ"));
    addSpinner(ProfileField::LineWidth, 1, QStringLiteral("1"));
    caption(this, "Label21", QStringLiteral("pixel"));
}

// Index 0 is the organisation band, measured from the top; 1 the name band, from the bottom.
void MainWindow::buildBandSizes()
{
    caption(this, "Label9", QStringLiteral(u"組織名領域"));
    caption(this, "Label10", QStringLiteral(u"上から"));
    addSpinner(ProfileField::TopBand, 40, QStringLiteral("35"));
    caption(this, "Label2", QStringLiteral("%"));
    caption(this, "Label11", QStringLiteral(u"氏名領域"));
    caption(this, "Label15", QStringLiteral(u"下から"));
    addSpinner(ProfileField::BottomBand, 35, QStringLiteral("35"));
    caption(this, "Label3", QStringLiteral("%"));
}

// One stamp line: caption, text box, font button, vertical and horizontal offset.
void MainWindow::buildTextLine(int line)
{
    struct Row {
        const char *caption;
        const char *captionLabel;
        const char *designText;
        const char *verticalLabel;
        const char *horizontalLabel;
    };
    static const std::array<Row, kItemCount> rows = {{
        {"組織名：", "Label1", "組織名", "Label7", "Label6"},
        {"日　付：", "Label8", "2001.06.04", "Label13", "Label12"},
        {"氏名１：", "Label14", "名字", "Label19", "Label18"},
        {"氏名２：", "Label20", "名", "Label25", "Label24"},
    }};
    if (line == 0)
        caption(this, "Label5", QStringLiteral(u"表示位置微調整（pixel）"));

    const Row &row = rows[size_t(line)];
    caption(this, row.captionLabel, QString::fromUtf8(row.caption));
    // The box takes its face before its text: laid out in the default face first, a Japanese text
    // would load a fallback face that is never shown.
    auto *box = placed(new QLineEdit(this), QStringLiteral("txtItem%1").arg(line));
    box->setFont(fieldFont());
    box->setText(QString::fromUtf8(row.designText));
    // The organisation and name boxes want the Japanese input method; the date box does not.
    box->setInputMethodHints(line == 1 ? Qt::ImhPreferLatin : Qt::ImhNone);
    box->installEventFilter(this);
    m_selectAllOnFocus->watch(box); // typing replaces the text
    m_lineBoxes[size_t(line)] = box;
    m_fontButtons[size_t(line)] =
        button(this, QStringLiteral("cmdFont%1").arg(line), QStringLiteral("Font..."));
    caption(this, row.verticalLabel, QStringLiteral(u"上\n下"));
    addSpinner(offsetYField(line), 0, QStringLiteral("0"));
    caption(this, row.horizontalLabel, QStringLiteral(u"左\n右"));
    addSpinner(offsetXField(line), 0, QStringLiteral("0"));
}

void MainWindow::buildCommandButtons()
{
    m_setButton = button(this, QStringLiteral("cmdSet"), QStringLiteral(u"セット"));
    m_colourButton = button(this, QStringLiteral("cmdColor"), QStringLiteral(u"色..."));
    m_optionsButton = button(this, QStringLiteral("cmdOption"), QStringLiteral(u"ｵﾌﾟｼｮﾝ..."));
    m_aboutButton = button(this, QStringLiteral("cmdAbout"), QStringLiteral("About..."));
    m_exitButton = button(this, QStringLiteral("cmdEnd"), QStringLiteral(u"終了"));
}

// Set first, then the four text boxes in line order, then the rest by area.
void MainWindow::arrangeTabOrder()
{
    QList<QWidget *> chain = {m_setButton};
    for (QLineEdit *box : m_lineBoxes)
        chain << box;
    chain << m_userList;
    for (const ProfileField field : {ProfileField::Radius, ProfileField::LineWidth,
                                     ProfileField::TopBand, ProfileField::BottomBand})
        chain << spinner(field).spinner;
    for (int i = 0; i < kItemCount; ++i)
        chain << m_fontButtons[size_t(i)] << spinner(offsetYField(i)).spinner
              << spinner(offsetXField(i)).spinner;
    chain << m_colourButton << m_optionsButton << m_aboutButton << m_exitButton;
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
    m_setButton->setFocus(Qt::OtherFocusReason);
}

} // namespace pellimo
