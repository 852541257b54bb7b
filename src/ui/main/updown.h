// SPDX-License-Identifier: MIT
#pragma once

#include <QTimer>
#include <QWidget>

namespace pellimo {

// The small vertical up/down control of the main window: two arrows, no thumb, steps of 1. The
// upper arrow (and the Up key) raises the value by one, the lower arrow lowers it; at the end of
// the range nothing happens. Inside, it is the classic vertical scroll bar, whose position runs
// from the top down and is the negated value; only this class knows that.
//
// Unlike QSpinBox, a value outside minimum..maximum is refused, never clamped: a stored value that
// does not fit must be noticed. valueChanged is emitted only when the value really changes, and
// synchronously, inside the call that changed it.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(int minimum, int maximum, int value, QWidget *parent = nullptr);

    int minimum() const { return -m_maximumPosition; }
    int maximum() const { return -m_minimumPosition; }
    int value() const { return -m_position; }

    // Sets the range; a value outside it is refused (false, nothing changes).
    [[nodiscard]] bool setRange(int minimum, int maximum);

    // Moves to `value`. False, and nothing changes, when it lies outside minimum..maximum.
    [[nodiscard]] bool setValue(int value);

    void stepUp();
    void stepDown();

    // Where the arrows are, in the control's own coordinates.
    QRect upArrowRect() const;
    QRect downArrowRect() const;

    QSize sizeHint() const override { return {17, 21}; }

Q_SIGNALS:
    void valueChanged(int value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    enum class Arrow { None, Up, Down };
    bool setPosition(int position);
    void step(Arrow arrow);
    void stopRepeat();

    // Scroll-bar positions: the upper end is the smallest, and each is the negated value.
    int m_minimumPosition;
    int m_maximumPosition;
    int m_position;
    Arrow m_pressed = Arrow::None;
    QTimer m_repeat;
};

} // namespace pellimo
