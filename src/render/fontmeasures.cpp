// SPDX-License-Identifier: MIT
#include "fontmeasures.h"

#include "stampfonts.h"

#include <QCoreApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QThread>
#include <map>
#include <memory>
#include <tuple>

namespace pellimo {

namespace {

// Everything the measures depend on: the font's own fields and the surface's resolution.
struct FontKey {
    QString fontName;
    int fontSize = 0;
    bool bold = false;
    bool italic = false;
    int dpiX = 0;
    int dpiY = 0;

    bool operator<(const FontKey &other) const
    {
        return std::tie(fontName, fontSize, bold, italic, dpiX, dpiY) <
               std::tie(other.fontName, other.fontSize, other.bold, other.italic, other.dpiX,
                        other.dpiY);
    }
};

// A profile has four lines; a long session may see many faces and sizes. Beyond this many the
// table starts again (limitStampFontMeasures) rather than grow without end.
constexpr size_t kMaxFonts = 64;
constexpr qsizetype kMaxWidthsPerFont = 256;

struct FontEntry {
    QFont font;
    std::unique_ptr<StampFontMeasures> measures; // made once the painter has resolved the font
};
using FontTable = std::map<FontKey, FontEntry>;

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

StampFontMeasures::StampFontMeasures(const QFontMetricsF &metrics)
    : m_metrics(metrics), m_ascent(m_metrics.ascent()), m_lineSpacing(m_metrics.lineSpacing())
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

const StampFontMeasures &selectStampFont(QPainter &painter, const QString &fontName, int fontSize,
                                         bool bold, bool italic)
{
    const QPaintDevice *device = painter.device();
    FontKey key{fontName,
                fontSize,
                bold,
                italic,
                device ? device->logicalDpiX() : 0,
                device ? device->logicalDpiY() : 0};
    FontTable &table = fontTable();
    auto found = table.find(key);
    if (found == table.end()) {
        dropWithApplication();
        found = table
                    .emplace(std::move(key),
                             FontEntry{stampFont(fontName, fontSize, bold, italic), nullptr})
                    .first;
    }
    FontEntry &entry = found->second;
    painter.setFont(entry.font);
    if (!entry.measures)
        entry.measures =
            std::make_unique<StampFontMeasures>(QFontMetricsF(painter.font(), painter.device()));
    return *entry.measures;
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
