// SPDX-License-Identifier: MIT
#include "windownote.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>

namespace pellimo {

namespace {

const QString kNoteName = QStringLiteral("noteNotice");

// Pixels between the note and the window's edge or a control, and the steps in which places
// are tried.
constexpr int kGap = 3;
constexpr int kStep = 4;
// What a pixel of distance from the anchor weighs against a square pixel of covered content: a
// free place a little further off is better than one over a caption or the picture, but not one
// across the window.
constexpr double kDistanceWeight = 2.0;
// The note's padding inside its frame.
constexpr int kPadding = 3;

qint64 area(const QRect &r)
{
    return r.isEmpty() ? 0 : qint64(r.width()) * r.height();
}

qint64 coveredArea(const QRect &place, const QList<QRect> &rects)
{
    qint64 sum = 0;
    for (const QRect &r : rects)
        sum += area(place.intersected(r));
    return sum;
}

bool meetsAny(const QRect &place, const QList<QRect> &rects)
{
    return std::any_of(rects.cbegin(), rects.cend(),
                       [&](const QRect &r) { return place.intersects(r); });
}

// The gap between two rectangles; 0 when they touch or overlap.
double distance(const QRect &a, const QRect &b)
{
    const int dx = std::max({0, b.left() - a.right() - 1, a.left() - b.right() - 1});
    const int dy = std::max({0, b.top() - a.bottom() - 1, a.top() - b.bottom() - 1});
    return std::hypot(double(dx), double(dy));
}

// Offsets along one side of the window for a note of length `length`: a regular grid, and the
// places that line the note up with the anchor or put it just before or after the anchor.
QList<int> offsets(int areaStart, int areaLength, int anchorStart, int anchorLength, int length)
{
    QList<int> result;
    const int first = areaStart + kGap;
    const int last = areaStart + areaLength - kGap - length;
    if (last < first)
        return result;
    for (int at = first; at <= last; at += kStep)
        result << at;
    for (int at : {anchorStart, anchorStart + anchorLength - length,
                   anchorStart + (anchorLength - length) / 2, anchorStart - kGap - length,
                   anchorStart + anchorLength + kGap, last}) {
        if (at >= first && at <= last)
            result << at;
    }
    return result;
}

QRect grown(const QRect &r)
{
    return r.adjusted(-kGap, -kGap, kGap, kGap);
}

// Whether a widget is a control a user can click or tab to.
bool isControl(const QWidget *w)
{
    return w->focusPolicy() != Qt::NoFocus;
}

// A frame's caption, in the frame's coordinates.
QRect captionOf(const QGroupBox *frame)
{
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.textAlignment = frame->alignment();
    return frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel,
                                          frame);
}

} // namespace

QRect placeNote(const QRect &areaRect, const QRect &anchor, const QList<QSize> &sizes,
                const QList<QRect> &controls, const QList<QRect> &content)
{
    QList<QRect> blocked;
    for (const QRect &c : controls)
        blocked << grown(c);

    QRect best;
    double bestCost = std::numeric_limits<double>::infinity();
    for (const QSize &size : sizes) {
        const QList<int> xs =
            offsets(areaRect.left(), areaRect.width(), anchor.left(), anchor.width(), size.width());
        const QList<int> ys = offsets(areaRect.top(), areaRect.height(), anchor.top(),
                                      anchor.height(), size.height());
        for (int y : ys) {
            for (int x : xs) {
                const QRect place(QPoint(x, y), size);
                if (meetsAny(place, blocked))
                    continue;
                const double cost =
                    double(coveredArea(place, content)) + kDistanceWeight * distance(place, anchor);
                if (cost < bestCost) {
                    bestCost = cost;
                    best = place;
                }
            }
        }
    }
    if (best.isValid())
        return best;

    // No free place: above the anchor (the controls that follow it usually lie below or to its
    // right), or below it when there is no room above; always inside the window.
    const QSize size = sizes.isEmpty() ? QSize(anchor.width(), anchor.height()) : sizes.first();
    QRect place(QPoint(anchor.left(), anchor.top() - kGap - size.height()), size);
    if (place.top() < areaRect.top())
        place.moveTop(anchor.bottom() + 1 + kGap);
    place.moveLeft(std::clamp(place.left(), areaRect.left(),
                              std::max(areaRect.left(), areaRect.right() + 1 - size.width())));
    return place;
}

WindowNote::WindowNote(QWidget *window) : QLabel(window), m_timer(new QTimer(this))
{
    setObjectName(kNoteName);
    // Part of the window's picture only: clicks reach what lies under it, keys never come here.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setMargin(kPadding);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    m_timer->setObjectName(QStringLiteral("noteTimer"));
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &QWidget::hide);
    connect(this, &QLabel::linkActivated, this, [this] {
        hide();
        if (const std::function<void()> onLink = m_onLink)
            onLink();
    });
}

WindowNote *WindowNote::shownIn(const QWidget *window)
{
    auto *note = window->findChild<WindowNote *>(kNoteName, Qt::FindDirectChildrenOnly);
    return note != nullptr && note->isVisible() ? note : nullptr;
}

WindowNote *WindowNote::showFor(QWidget *control, const QString &text, int shownMs)
{
    return present(control, text, QString(), {}, shownMs);
}

WindowNote *WindowNote::showWithLink(QWidget *control, const QString &text, const QString &linkText,
                                     std::function<void()> onLink, int shownMs)
{
    return present(control, text, linkText, std::move(onLink), shownMs);
}

WindowNote *WindowNote::present(QWidget *control, const QString &text, const QString &linkText,
                                std::function<void()> onLink, int shownMs)
{
    QWidget *window = control->window();
    auto *note = window->findChild<WindowNote *>(kNoteName, Qt::FindDirectChildrenOnly);
    if (note == nullptr)
        note = new WindowNote(window);
    note->hide(); // not among the widgets it must keep clear of
    const bool withLink = !linkText.isEmpty();
    note->m_onLink = std::move(onLink);
    note->setAttribute(Qt::WA_TransparentForMouseEvents, !withLink);
    note->setTextFormat(withLink ? Qt::RichText : Qt::PlainText);
    note->setTextInteractionFlags(withLink ? Qt::LinksAccessibleByMouse : Qt::NoTextInteraction);
    note->setFocusPolicy(Qt::NoFocus); // the flags above may have asked for it
    note->setText(withLink
                      ? text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
                            QStringLiteral(" <a href=\"open\">%1</a>").arg(linkText.toHtmlEscaped())
                      : text);
    const QString shownText = withLink ? text + QLatin1Char(' ') + linkText : text;

    // Everything the note could cover, in the window's coordinates.
    QList<QRect> controls;
    QList<QRect> content;
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (const QWidget *w : widgets) {
        if (w == note || !w->isVisibleTo(window))
            continue;
        const QRect place(w->mapTo(window, QPoint(0, 0)), w->size());
        if (isControl(w))
            controls << place;
        else if (const auto *frame = qobject_cast<const QGroupBox *>(w))
            content << captionOf(frame).translated(place.topLeft()); // the rest holds controls
        else if (w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly).isEmpty())
            content << place; // a label or a picture
    }
    const QRect anchor(control->mapTo(window, QPoint(0, 0)), control->size());
    controls << anchor;

    // A few widths, each with the height its wrapped text needs; a text shorter than the width
    // keeps its own width.
    const int frame = 2 * (note->frameWidth() + note->margin());
    const QFontMetrics metrics(note->font());
    int natural = 0;
    for (const QString &line : shownText.split(QLatin1Char('\n')))
        natural = std::max(natural, metrics.horizontalAdvance(line) + frame + 2);
    QList<QSize> sizes;
    for (int tried = 120; tried <= 400; tried += 20) {
        const int width = std::min({tried, natural, window->width() - 2 * kGap});
        const QSize size(width, note->heightForWidth(width));
        if (!sizes.contains(size))
            sizes << size;
    }

    note->setGeometry(placeNote(window->rect(), anchor, sizes, controls, content));
    note->raise();
    note->show();
    note->m_timer->start(shownMs);
    return note;
}

} // namespace pellimo
