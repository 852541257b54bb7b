// SPDX-License-Identifier: MIT
#include "app/releasememory.h"

#include <QFile>
#include <QTest>
#include <sys/mman.h>
#include <unistd.h>

using namespace pellimo;

namespace {

// One mapping as /proc/self/smaps shows it, with the fields that matter here.
QByteArray mapping(const char *range, const char *perms, const char *path, int anonymousKb)
{
    return QByteArray(range) + ' ' + perms + " 00000000 fe:00 1234567                    " + path +
           "\nSize:                 64 kB\nRss:                  64 kB\nAnonymous:            " +
           QByteArray::number(anonymousKb) + " kB\nVmFlags: rd mr mw me\n";
}

const char *const kFont = "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf";

// The resident kilobytes of the mapping that starts at address, from /proc/self/smaps.
int residentKb(const void *address)
{
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray start = QByteArray::number(quintptr(address), 16) + '-';
    bool inside = false;
    for (const QByteArray &line : smaps.readAll().split('\n')) {
        const QByteArray first = line.left(line.indexOf(' '));
        if (first.contains('-') && !first.endsWith(':')) // a mapping's header
            inside = line.startsWith(start);
        else if (inside && line.startsWith("Rss:"))
            return line.mid(4).trimmed().split(' ').first().toInt();
    }
    return -1;
}

quint64 sum(const unsigned char *bytes, size_t size)
{
    quint64 total = 0;
    for (size_t i = 0; i < size; i += 97)
        total += bytes[i] * (i + 1);
    return total;
}

} // namespace

class TestReleaseMemory : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mappings_data()
    {
        QTest::addColumn<QByteArray>("smaps");
        QTest::addColumn<bool>("released");

        const auto row = [](const char *name, QByteArray smaps, bool released) {
            QTest::newRow(name) << smaps << released;
        };
        row("ICU data, read-only",
            mapping("7f0000000000-7f0000010000", "r--p",
                    "/usr/lib/x86_64-linux-gnu/libicudata.so.72.1", 0),
            true);
        row("ICU code",
            mapping("7f0000000000-7f0000010000", "r-xp",
                    "/usr/lib/x86_64-linux-gnu/libicuuc.so.72.1", 0),
            true);
        row("harfbuzz relocated, made read-only again",
            mapping("7f0000000000-7f0000010000", "r--p",
                    "/usr/lib/x86_64-linux-gnu/libharfbuzz.so.0.60000.0", 8),
            false);
        row("freetype's data, writable",
            mapping("7f0000000000-7f0000010000", "rw-p",
                    "/usr/lib/x86_64-linux-gnu/libfreetype.so.6", 0),
            false);
        row("a font file", mapping("7f0000000000-7f0000010000", "r--s", kFont, 0), true);
        row("a font file with a blank in its path",
            mapping("7f0000000000-7f0000010000", "r--p", "/home/a b/.fonts/My Font.otf", 0), true);
        row("fontconfig's cache",
            mapping("7f0000000000-7f0000010000", "r--p",
                    "/var/cache/fontconfig/4c599c202bc5c08e2d34565a40eac3b2-le64.cache-8", 0),
            true);
        row("Qt, needed to serve",
            mapping("7f0000000000-7f0000010000", "r-xp",
                    "/usr/lib/x86_64-linux-gnu/libQt6Gui.so.6.4.2", 0),
            false);
        row("a deleted font file",
            mapping("7f0000000000-7f0000010000", "r--p", "/tmp/x.ttf (deleted)", 0), false);
        row("the heap", mapping("55d000000000-55d000100000", "rw-p", "[heap]", 0), false);
        row("no Anonymous line",
            QByteArray("7f0000000000-7f0000010000 r--p 00000000 fe:00 1 ") + kFont +
                "\nRss: 64 kB\n",
            false);
    }

    // Only clean, read-only mappings of the files drawing alone reads are given back.
    void mappings()
    {
        QFETCH(QByteArray, smaps);
        QFETCH(bool, released);

        DrawingOnlyMappings scanner;
        for (const QByteArray &line : smaps.split('\n'))
            scanner.addLine(line);
        const QList<MappedRange> ranges = scanner.ranges();
        QCOMPARE(ranges.size(), released ? 1 : 0);
        if (released)
            QCOMPARE(ranges.first(), (MappedRange{0x7f0000000000, 0x7f0000010000}));
    }

    // Two mappings in a row: each is judged by its own Anonymous line, and a header cut short
    // by the reader's buffer is kept.
    void mappingsInARow()
    {
        const QByteArray smaps = mapping("7f0000000000-7f0000010000", "r--p", kFont, 4) +
                                 mapping("7f0000020000-7f0000030000", "r--p", kFont, 0);
        DrawingOnlyMappings scanner;
        for (const QByteArray &line : smaps.split('\n'))
            scanner.addLine(line, !line.startsWith("7f0000020000"));
        QCOMPARE(scanner.ranges(), QList<MappedRange>());

        DrawingOnlyMappings whole;
        for (const QByteArray &line : smaps.split('\n'))
            whole.addLine(line);
        QCOMPARE(whole.ranges(), (QList<MappedRange>{{0x7f0000020000, 0x7f0000030000}}));
    }

    // In this process: a clean read-only mapping of a font file leaves memory and reads the same
    // afterwards; a read-only one with a page changed before keeps the change.
    void releaseInThisProcess()
    {
        QFile font(QString::fromLatin1(kFont));
        if (!font.open(QIODevice::ReadOnly))
            QSKIP("IPAMincho is not installed");
        const size_t size = size_t(std::min<qint64>(font.size(), 1 << 20));
        auto *clean = static_cast<unsigned char *>(
            ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, font.handle(), 0));
        auto *changed = static_cast<unsigned char *>(
            ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE, font.handle(), 0));
        QVERIFY(clean != MAP_FAILED && changed != MAP_FAILED);
        const quint64 original = sum(clean, size);
        changed[0] = static_cast<unsigned char>(changed[0] ^ 0xFF);
        (void)sum(changed, size);
        QCOMPARE(::mprotect(changed, size, PROT_READ), 0);
        QVERIFY(residentKb(clean) > 0);

        releaseDrawingMemory();

        QCOMPARE(residentKb(clean), 0);
        QVERIFY(residentKb(changed) > 0);
        QCOMPARE(sum(clean, size), original);
        QCOMPARE(changed[0], static_cast<unsigned char>(clean[0] ^ 0xFF));
        ::munmap(clean, size);
        ::munmap(changed, size);
    }
};

QTEST_MAIN(TestReleaseMemory)
#include "test_releasememory.moc"
