// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QList>
#include <cstdint>

namespace pellimo {

// Once the stamp is on the clipboard, the serving process only answers requests for it: nothing
// is drawn again. Drops what only drawing needed: the kept fonts and text widths, Qt's pixmap
// cache, freed heap, and the resident pages of the files only drawing and date formatting read
// (ICU, the shaping and glyph libraries, the font files and fontconfig's caches). Those pages are
// clean copies of the files: the process keeps the files mapped, and a page read again later is
// read back from the file, so nothing changes but the resident size.
void releaseDrawingMemory();

struct MappedRange {
    std::uintptr_t start = 0;
    std::uintptr_t end = 0;

    friend bool operator==(const MappedRange &, const MappedRange &) = default;
};

// Reads /proc/self/smaps a line at a time and keeps the mappings of those files whose pages can
// be given back without losing anything: mapped without write permission and holding no page that
// was ever copied on write ("Anonymous: 0 kB").
class DrawingOnlyMappings {
public:
    // whole is false when the line was longer than the reader's buffer: its mapping is kept.
    void addLine(QByteArrayView line, bool whole = true);
    QList<MappedRange> ranges(); // ends the last mapping

private:
    void closeMapping();

    QList<MappedRange> m_ranges;
    MappedRange m_current;
    bool m_open = false;
    bool m_candidate = false; // a file only drawing reads, mapped read-only
    bool m_untouched = false; // "Anonymous: 0 kB" seen
};

} // namespace pellimo
