#pragma once

#include <QTimer>
#include <QWidget>

namespace pellimo {

// The small vertical up/down control of the main window: two arrows, no thumb, steps of 1.
// Like a vertical scroll bar, its position runs from `minimum` at the upper end to `maximum` at
// the lower end; the window stores negative limits and shows the negated position, so the upper
// arrow raises the shown number.
//
// A position outside minimum..maximum is refused, never clamped. Change is emitted only when the
// position really changes, and synchronously, inside the call that moved it.
class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(int minimum, int maximum, int position, QWidget *parent = nullptr);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int position() const { return m_position; }

    // Moves to `position`. False, and nothing changes, when it lies outside minimum..maximum.
    [[nodiscard]] bool setPosition(int position);

    // What the arrows do: the upper arrow moves towards `minimum`, the lower towards `maximum`.
    // At the end of the range nothing happens.
    void stepUp();
    void stepDown();

    // Where the arrows are, in the control's own coordinates.
    QRect upArrowRect() const;
    QRect downArrowRect() const;

    QSize sizeHint() const override { return {17, 21}; }

Q_SIGNALS:
    void Change();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    enum class Arrow { None, Up, Down };
    void step(Arrow arrow);
    void stopRepeat();

    int m_minimum;
    int m_maximum;
    int m_position;
    Arrow m_pressed = Arrow::None;
    QTimer m_repeat;
};

} // namespace pellimo
