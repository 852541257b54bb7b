// SPDX-License-Identifier: MIT
#include "windowplacement.h"

#include "twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace pellimo {

void centreWindowOn(QWidget *window, QPoint centre, QSize frameExtra)
{
    QSize outer = window->frameGeometry().size();
    if (outer == window->size())
        outer += frameExtra;
    // For a top-level window, QWidget::move places the top-left corner of its frame.
    window->move(centre.x() - outer.width() / 2, centre.y() - outer.height() / 2);
}

QSize frameExtraOf(const QWidget *window)
{
    if (window == nullptr || !window->isVisible())
        return {0, 0};
    return window->frameGeometry().size() - window->size();
}

void growToFitContents(QWidget *widget)
{
    const QSize needed = widget->sizeHint();
    QRect place = widget->geometry();
    if (needed.width() > place.width())
        place.setWidth(needed.width());
    if (needed.height() > place.height()) {
        const int centre = place.top() + place.height() / 2;
        place.setTop(centre - needed.height() / 2);
        place.setHeight(needed.height());
    }
    widget->setGeometry(place);
}

QPoint availableScreenCentre(const QWidget *near)
{
    QScreen *screen = near != nullptr ? near->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return {0, 0};
    return screen->availableGeometry().center();
}

QLabel *autoSizedLabel(const QString &text, const QString &name, int left, int top, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(twipsToPixels(left), twipsToPixels(top));
    label->adjustSize();
    return label;
}

} // namespace pellimo
