// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>

namespace pellimo {

// A stamp line's font with what it measures on the 96-dpi stamp surface, kept per thread:
// measuring a text shapes it, which costs as much as drawing it, and every redraw measures the
// same few texts again. The widths are those QFontMetricsF gives, so drawing from them places
// every glyph where measuring afresh would.
class StampFontMeasures {
public:
    StampFontMeasures(const QFont &font, const QFontMetricsF &metrics);

    const QFont &font() const { return m_font; }
    qreal ascent() const { return m_ascent; }
    qreal lineSpacing() const { return m_lineSpacing; }
    qreal horizontalAdvance(const QString &text) const;

private:
    QFont m_font;
    QFontMetricsF m_metrics;
    qreal m_ascent;
    qreal m_lineSpacing;
    mutable QHash<QString, qreal> m_widths;
};

// stampFont(fontName, fontSize, bold, italic) with its measures, made on first use in this thread.
// fontSize must be accepted (isAcceptedFontSize). The reference stays valid until
// limitStampFontMeasures() or releaseStampFontMeasures() runs on this thread.
const StampFontMeasures &stampFontMeasures(const QString &fontName, int fontSize, bool bold,
                                           bool italic);

// Starts this thread's table again once it holds many fonts. Call it where no reference from
// stampFontMeasures is held, as at the start of a layout.
void limitStampFontMeasures();

// Drops this thread's fonts and widths, and with them its hold on the font engines and their glyph
// caches; the next drawing makes them again.
void releaseStampFontMeasures();

} // namespace pellimo
