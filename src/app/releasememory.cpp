// SPDX-License-Identifier: MIT
#include "releasememory.h"

#include "render/fontmeasures.h"

#include <QFile>
#include <QPixmapCache>
#include <malloc.h>
#include <sys/mman.h>

namespace pellimo {

namespace {

bool onlyDrawingReads(QByteArrayView path)
{
    if (path.endsWith(" (deleted)"))
        return false;
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArrayView name = slash < 0 ? path : path.sliced(slash + 1);
    static const char *const libraries[] = {"libicudata.so",  "libicuuc.so",    "libicui18n.so",
                                            "libharfbuzz.so", "libfreetype.so", "libgraphite2.so"};
    for (const char *library : libraries)
        if (name.startsWith(library))
            return true;
    for (const char *font : {".ttf", ".otf", ".ttc", ".pfb"})
        if (name.endsWith(font))
            return true;
    return path.contains("/fontconfig/") && name.contains(".cache-");
}

// One mapping's header line: "start-end perms offset dev inode [path]", the path possibly with
// blanks. False for any other line.
bool parseHeader(QByteArrayView line, MappedRange &range, bool &candidate)
{
    QByteArrayView fields[5];
    int count = 0;
    qsizetype at = 0;
    while (count < 5) {
        while (at < line.size() && line[at] == ' ')
            ++at;
        const qsizetype start = at;
        while (at < line.size() && line[at] != ' ')
            ++at;
        if (start == at)
            return false;
        fields[count++] = line.sliced(start, at - start);
    }
    const QByteArrayView path = line.sliced(at).trimmed();
    const qsizetype dash = fields[0].indexOf('-');
    if (dash <= 0 || fields[1].size() != 4)
        return false;
    bool startOk = false, endOk = false;
    range.start = std::uintptr_t(fields[0].first(dash).toULongLong(&startOk, 16));
    range.end = std::uintptr_t(fields[0].sliced(dash + 1).toULongLong(&endOk, 16));
    if (!startOk || !endOk || range.end <= range.start)
        return false;
    const bool readOnly = fields[1][0] == 'r' && fields[1][1] == '-';
    candidate = readOnly && path.startsWith('/') && onlyDrawingReads(path);
    return true;
}

} // namespace

void DrawingOnlyMappings::addLine(QByteArrayView line, bool whole)
{
    MappedRange range;
    bool candidate = false;
    if (parseHeader(line, range, candidate)) {
        closeMapping();
        m_current = range;
        m_candidate = candidate && whole;
        m_untouched = false;
        m_open = true;
    } else if (m_open && line.startsWith("Anonymous:")) {
        m_untouched = line.sliced(10).trimmed() == "0 kB";
    }
}

void DrawingOnlyMappings::closeMapping()
{
    if (m_open && m_candidate && m_untouched)
        m_ranges.append(m_current);
    m_open = false;
}

QList<MappedRange> DrawingOnlyMappings::ranges()
{
    closeMapping();
    return m_ranges;
}

void releaseDrawingMemory()
{
    releaseStampFontMeasures();
    QPixmapCache::clear();
    malloc_trim(0);

    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return;
    DrawingOnlyMappings mappings;
    char line[1024];
    qint64 length;
    while ((length = smaps.readLine(line, sizeof line)) > 0) {
        // A line that did not fill the buffer is whole, with or without its line end.
        const bool whole = line[length - 1] == '\n' || length < qint64(sizeof line) - 1;
        mappings.addLine(QByteArrayView(line, length).trimmed(), whole);
        char rest[1024];
        if (!whole) // a path too long for the buffer: the rest of its line is passed over
            while ((length = smaps.readLine(rest, sizeof rest)) > 0 && rest[length - 1] != '\n') {
            }
    }
    for (const MappedRange &range : mappings.ranges())
        ::madvise(reinterpret_cast<void *>(range.start), range.end - range.start, MADV_DONTNEED);
}

} // namespace pellimo
