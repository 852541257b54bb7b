// SPDX-License-Identifier: MIT
#include "updown.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace pellimo {

namespace {
constexpr int kRepeatDelayMs = 400;   // holding an arrow down: first repeat
constexpr int kRepeatIntervalMs = 60; // then one step every interval
} // namespace

UpDown::UpDown(int minimum, int maximum, int value, QWidget *parent)
    : QWidget(parent), m_minimumPosition(-maximum), m_maximumPosition(-minimum), m_position(-value)
{
    Q_ASSERT(minimum <= value && value <= maximum);
    setFocusPolicy(Qt::StrongFocus);
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, [this] {
        m_repeat.setInterval(kRepeatIntervalMs);
        step(m_pressed);
    });
}

bool UpDown::setRange(int minimum, int maximum)
{
    if (minimum > maximum || value() < minimum || value() > maximum)
        return false;
    m_minimumPosition = -maximum;
    m_maximumPosition = -minimum;
    return true;
}

bool UpDown::setValue(int value)
{
    // Taken in 64 bits: the negation of INT_MIN is refused like any other value out of range.
    const long long position = -static_cast<long long>(value);
    if (position < m_minimumPosition || position > m_maximumPosition)
        return false;
    return setPosition(int(position));
}

bool UpDown::setPosition(int position)
{
    if (position == m_position)
        return true;
    m_position = position;
    update();
    Q_EMIT valueChanged(value());
    return true;
}

void UpDown::stepUp()
{
    if (m_position > m_minimumPosition)
        (void)setPosition(m_position - 1);
}

void UpDown::stepDown()
{
    if (m_position < m_maximumPosition)
        (void)setPosition(m_position + 1);
}

void UpDown::step(Arrow arrow)
{
    if (arrow == Arrow::Up)
        stepUp();
    else if (arrow == Arrow::Down)
        stepDown();
}

QRect UpDown::upArrowRect() const
{
    return {0, 0, width(), height() / 2};
}

QRect UpDown::downArrowRect() const
{
    const int top = height() / 2;
    return {0, top, width(), height() - top};
}

void UpDown::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const auto drawArrowButton = [&](const QRect &rect, Arrow arrow) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = rect;
        button.state &= ~QStyle::State_HasFocus;
        button.state |= (m_pressed == arrow) ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawControl(QStyle::CE_PushButtonBevel, &button, &painter, this);

        QStyleOption indicator;
        indicator.initFrom(this);
        indicator.rect = rect.adjusted(3, 2, -3, -2);
        if (m_pressed == arrow)
            indicator.rect.translate(0, 1);
        style()->drawPrimitive(arrow == Arrow::Up ? QStyle::PE_IndicatorArrowUp
                                                  : QStyle::PE_IndicatorArrowDown,
                               &indicator, &painter, this);
    };
    drawArrowButton(upArrowRect(), Arrow::Up);
    drawArrowButton(downArrowRect(), Arrow::Down);

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void UpDown::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    if (upArrowRect().contains(at))
        m_pressed = Arrow::Up;
    else if (downArrowRect().contains(at))
        m_pressed = Arrow::Down;
    else
        return;
    update();
    step(m_pressed);
    m_repeat.start(kRepeatDelayMs);
}

void UpDown::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        stopRepeat();
    QWidget::mouseReleaseEvent(event);
}

void UpDown::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        stepUp();
        break;
    case Qt::Key_Down:
        stepDown();
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void UpDown::focusOutEvent(QFocusEvent *event)
{
    stopRepeat();
    QWidget::focusOutEvent(event);
}

void UpDown::stopRepeat()
{
    m_repeat.stop();
    if (m_pressed != Arrow::None) {
        m_pressed = Arrow::None;
        update();
    }
}

} // namespace pellimo
