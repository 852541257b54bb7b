// SPDX-License-Identifier: MIT
#include "aboutdialog.h"

#include "ui/common/twips.h"
#include "ui/common/windowplacement.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QShowEvent>

namespace pellimo {

QString AboutDialog::productLine()
{
    // The application sets its version from the build; the build's own version stands in for a
    // program (or test) that has not set one.
    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty())
        version = QStringLiteral(PELLIMO_VERSION);
    return QStringLiteral("Pellimo v") + version;
}

QString AboutDialog::webAddress()
{
    return QStringLiteral("https://pellimo.example/");
}

QString AboutDialog::copyrightLine()
{
    return QStringLiteral(u"© 2026 The Pellimo developers");
}

AboutDialog::AboutDialog(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("AboutDialog"));
    setWindowTitle(QStringLiteral(u"Pellimoについて"));
    setModal(true);
    setFixedSize(twipsToPixels(4110), twipsToPixels(1890));

    // Created in tab order: the labels take no focus, so Close is the first stop.
    m_copyrightLine =
        autoSizedLabel(copyrightLine(), QStringLiteral("LBLCopyright"), 360, 1080, this);
    m_productLine = autoSizedLabel(productLine(), QStringLiteral("LBLProduct"), 1635, 240, this);

    m_closeButton = new QPushButton(QStringLiteral("Close"), this);
    m_closeButton->setObjectName(QStringLiteral("cmdClose"));
    m_closeButton->setGeometry(twipsRect(1320, 1440, 1455, 375));
    m_closeButton->setDefault(true);
    connect(m_closeButton, &QPushButton::clicked, this, &AboutDialog::onCloseClicked);

    m_webAddress = new QLineEdit(webAddress(), this);
    m_webAddress->setObjectName(QStringLiteral("txtWebAddress"));
    m_webAddress->setReadOnly(true);
    m_webAddress->setFrame(false);
    m_webAddress->setGeometry(twipsRect(360, 600, 3495, 180));
    // The box is as tall as its text needs, so that the address is never cut off.
    const int textHeight = m_webAddress->fontMetrics().height() + 2;
    if (textHeight > m_webAddress->height())
        m_webAddress->resize(m_webAddress->width(), textHeight);
    QPalette grey = m_webAddress->palette();
    grey.setColor(QPalette::Base, QColor(0xC0, 0xC0, 0xC0));
    grey.setColor(QPalette::Text, Qt::black); // the grey is fixed, so is the text on it
    m_webAddress->setPalette(grey);
    m_webAddress->setAutoFillBackground(true);

    QWidget::setTabOrder(m_closeButton, m_webAddress);
    m_closeButton->setFocus();
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::onCloseClicked()
{
    accept();
}

void AboutDialog::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        const QWidget *owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
        centreWindowOn(this, availableScreenCentre(owner != nullptr ? owner : this),
                       frameExtraOf(owner));
        m_closeButton->setFocus();
    }
    QDialog::showEvent(event);
}

void AboutDialog::keyPressEvent(QKeyEvent *event)
{
    // Close is no cancel button: Escape leaves the box open.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace pellimo
