#include "frmabout.h"

#include "twips.h"
#include "windowplacement.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QShowEvent>

namespace pellimo {

namespace {

QLabel *autoSizedLabel(const QString &text, const QString &name, int left, int top, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(twipsToPixels(left), twipsToPixels(top));
    label->adjustSize();
    return label;
}

} // namespace

QString frmAbout::productLine()
{
    // The application sets its version from the build; the build's own version stands in for a
    // program (or test) that has not set one.
    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty())
        version = QStringLiteral(PELLIMO_VERSION);
    return QStringLiteral("Pellimo v") + version;
}

QString frmAbout::webAddress()
{
    return QStringLiteral("https://pellimo.example/");
}

QString frmAbout::copyrightLine()
{
    return QStringLiteral(u"© 2026 The Pellimo developers");
}

frmAbout::frmAbout(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral(u"Pellimoについて"));
    setModal(true);
    setFixedSize(twipsToPixels(4110), twipsToPixels(1890));

    // Created in tab order: the labels take no focus, so Close is the first stop.
    LBLCopyright = autoSizedLabel(copyrightLine(), QStringLiteral("LBLCopyright"), 360, 1080, this);
    LBLProduct = autoSizedLabel(productLine(), QStringLiteral("LBLProduct"), 1635, 240, this);

    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setGeometry(twipsRect(1320, 1440, 1455, 375));
    cmdClose->setDefault(true);
    connect(cmdClose, &QPushButton::clicked, this, &frmAbout::cmdClose_Click);

    txtWebAddress = new QLineEdit(webAddress(), this);
    txtWebAddress->setObjectName(QStringLiteral("txtWebAddress"));
    txtWebAddress->setReadOnly(true);
    txtWebAddress->setFrame(false);
    txtWebAddress->setGeometry(twipsRect(360, 600, 3495, 180));
    // The box is as tall as its text needs, so that the address is never cut off.
    const int textHeight = txtWebAddress->fontMetrics().height() + 2;
    if (textHeight > txtWebAddress->height())
        txtWebAddress->resize(txtWebAddress->width(), textHeight);
    QPalette grey = txtWebAddress->palette();
    grey.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    txtWebAddress->setPalette(grey);
    txtWebAddress->setAutoFillBackground(true);

    QWidget::setTabOrder(cmdClose, txtWebAddress);
    cmdClose->setFocus();
}

frmAbout::~frmAbout() = default;

void frmAbout::cmdClose_Click()
{
    accept();
}

void frmAbout::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        const QWidget *owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
        centreWindowOn(this, availableScreenCentre(owner != nullptr ? owner : this),
                       frameExtraOf(owner));
        cmdClose->setFocus();
    }
    QDialog::showEvent(event);
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    // Close is no cancel button: Escape leaves the box open.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace pellimo
