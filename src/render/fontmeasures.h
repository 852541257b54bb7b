// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

class QPainter;

namespace pellimo {

// A stamp line's font with what it measures on one kind of surface, kept per thread: measuring a
// text shapes it, which costs as much as drawing it, and every redraw measures the same few texts
// again. The widths are those QFontMetricsF gives, so drawing from them places every glyph where
// measuring afresh would.
class StampFontMeasures {
public:
    explicit StampFontMeasures(const QFontMetricsF &metrics);

    qreal ascent() const { return m_ascent; }
    qreal lineSpacing() const { return m_lineSpacing; }
    qreal horizontalAdvance(const QString &text) const;

private:
    QFontMetricsF m_metrics;
    qreal m_ascent;
    qreal m_lineSpacing;
    mutable QHash<QString, qreal> m_widths;
};

// Selects stampFont(fontName, fontSize, bold, italic) on the painter and returns its measures as
// the painter sees it, made on first use in this thread for this resolution. fontSize must be
// accepted (isAcceptedFontSize). The reference stays valid until releaseStampFontMeasures() runs
// on this thread.
const StampFontMeasures &selectStampFont(QPainter &painter, const QString &fontName, int fontSize,
                                         bool bold, bool italic);

// Starts this thread's table again once it holds many fonts. Call it where no reference from
// selectStampFont is held, as at the start of a drawing.
void limitStampFontMeasures();

// Drops this thread's fonts and widths, and with them its hold on the font engines and their glyph
// caches; the next drawing makes them again.
void releaseStampFontMeasures();

} // namespace pellimo
