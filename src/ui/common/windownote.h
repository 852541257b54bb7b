// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>
#include <QList>
#include <QRect>
#include <QSize>
#include <functional>

class QTimer;

namespace pellimo {

// A short note inside a window, near the control it is about. It is part of the window, not a
// window of its own: it takes neither the focus nor a click (clicks go to whatever lies under
// it), it is placed where it covers no control that takes the focus, and it goes after a few
// seconds. A window has one note at a time; a new one replaces it.
class WindowNote : public QLabel {
    Q_OBJECT
public:
    static constexpr int kShownMs = 8000;

    static constexpr int kLinkShownMs = 15000;

    // Shows `text` near `control` in the control's window for `shownMs` milliseconds.
    static WindowNote *showFor(QWidget *control, const QString &text, int shownMs = kShownMs);
    // The same, with a link after the text that runs `onLink`. A note with a link takes the
    // clicks on itself (it still covers no control and never takes the focus).
    static WindowNote *showWithLink(QWidget *control, const QString &text, const QString &linkText,
                                    std::function<void()> onLink, int shownMs = kLinkShownMs);

    // The note of `window` while it is shown, or null.
    static WindowNote *shownIn(const QWidget *window);

private:
    explicit WindowNote(QWidget *window);
    static WindowNote *present(QWidget *control, const QString &text, const QString &linkText,
                               std::function<void()> onLink, int shownMs);

    QTimer *m_timer = nullptr;
    std::function<void()> m_onLink;
};

// Where a note of one of `sizes` goes in a window of `area`: a place that meets no rectangle of
// `controls` (the control the note is about among them) and keeps a small gap to each; of those,
// the one that covers the least of `content` (labels, pictures) and lies nearest to `anchor`.
// When no place is free, the place above the anchor, or below it when that does not fit. Every
// rectangle in the window's coordinates.
QRect placeNote(const QRect &area, const QRect &anchor, const QList<QSize> &sizes,
                const QList<QRect> &controls, const QList<QRect> &content);

} // namespace pellimo
