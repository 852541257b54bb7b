// SPDX-License-Identifier: MIT
#include "fontmeasures.h"

#include "stampfonts.h"
#include "stampsurface.h"

#include <QCoreApplication>
#include <QImage>
#include <QThread>
#include <map>
#include <memory>
#include <tuple>

namespace pellimo {

namespace {

// Everything the measures depend on: the font's name, size, weight and slant.
using FontKey = std::tuple<QString, int, bool, bool>;

// A profile has four lines; a long session may see many faces and sizes. Beyond this many the
// table starts again (limitStampFontMeasures) rather than grow without end.
constexpr size_t kMaxFonts = 64;
constexpr qsizetype kMaxWidthsPerFont = 256;

using FontTable = std::map<FontKey, std::unique_ptr<StampFontMeasures>>;

FontTable &fontTable()
{
    thread_local FontTable table;
    return table;
}

// The fonts hold font engines, which must go before the application takes the font system down:
// the main thread's table is dropped with the application (again with an application made later).
// A table of another thread goes when its thread ends.
bool dropRegistered = false; // main thread only

void dropAtApplicationEnd()
{
    releaseStampFontMeasures();
    dropRegistered = false;
}

void dropWithApplication()
{
    if (dropRegistered)
        return;
    const QCoreApplication *app = QCoreApplication::instance();
    if (app && app->thread() == QThread::currentThread()) {
        qAddPostRoutine(dropAtApplicationEnd);
        dropRegistered = true;
    }
}

} // namespace

StampFontMeasures::StampFontMeasures(const QFont &font, const QFontMetricsF &metrics)
    : m_font(font), m_metrics(metrics), m_ascent(m_metrics.ascent()),
      m_lineSpacing(m_metrics.lineSpacing())
{
}

qreal StampFontMeasures::horizontalAdvance(const QString &text) const
{
    const auto found = m_widths.constFind(text);
    if (found != m_widths.constEnd())
        return *found;
    if (m_widths.size() >= kMaxWidthsPerFont)
        m_widths.clear();
    const qreal width = m_metrics.horizontalAdvance(text);
    m_widths.insert(text, width);
    return width;
}

const StampFontMeasures &stampFontMeasures(const QString &fontName, int fontSize, bool bold,
                                           bool italic)
{
    FontKey key{fontName, fontSize, bold, italic};
    FontTable &table = fontTable();
    auto found = table.find(key);
    if (found == table.end()) {
        dropWithApplication();
        // Measured on the stamp's own surface: a 96-dpi raster.
        thread_local const QImage surface = makeSurface(1, 1);
        const QFont font = stampFont(fontName, fontSize, bold, italic);
        found =
            table
                .emplace(std::move(key),
                         std::make_unique<StampFontMeasures>(font, QFontMetricsF(font, &surface)))
                .first;
    }
    return *found->second;
}

void limitStampFontMeasures()
{
    FontTable &table = fontTable();
    if (table.size() >= kMaxFonts)
        table.clear();
}

void releaseStampFontMeasures()
{
    fontTable().clear();
}

} // namespace pellimo
