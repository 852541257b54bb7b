// SPDX-License-Identifier: MIT
// The profile reader takes whatever bytes a disk gives it. Properties:
// - it never crashes, hangs or reads past the bytes;
// - a start of the bytes read as "the file may go on" is either refused or read exactly as the
//   whole bytes are (the reader relies on this when it reads only the first 16 MB of a file);
// - whatever it accepts, with texts a profile file can hold, saveProfile writes and loadProfile
//   reads back as the same profile, without a warning.

#include "fuzzsupport.h"
#include "storage/profilefile.h"
#include "storage/profilereader.h"
#include "testfiles.h"

#include <QStringList>
#include <array>

using namespace pellimo;
using namespace pellimo::fuzz;

namespace {

bool storable(const StampProfile &p)
{
    for (const StampItem &i : p.items) {
        if (!unstorableCharacters(i.text).isEmpty() || !unstorableCharacters(i.fontName).isEmpty())
            return false;
    }
    return true;
}

// A few cut positions spread over the input, chosen from its bytes.
std::array<qsizetype, 3> cutPositions(const QByteArray &bytes)
{
    uint32_t hash = 2166136261u;
    for (char c : bytes)
        hash = (hash ^ uint8_t(c)) * 16777619u;
    const auto n = uint64_t(bytes.size());
    return {qsizetype(hash % (n + 1)), qsizetype((hash >> 11) % (n + 1)), qsizetype(n / 2)};
}

void checkPrefixes(const QByteArray &bytes, bool wholeAccepted, const StampProfile &whole)
{
    for (qsizetype cut : cutPositions(bytes)) {
        StampProfile partial = sentinelProfile();
        if (!readProfileFields(bytes.left(cut), false, partial))
            continue;
        check(wholeAccepted, "a start of the bytes was accepted, the whole bytes were not");
        check(partial == whole, "a start of the bytes was read differently from the whole",
              describe(partial) + QStringLiteral("\n--- whole:\n") + describe(whole));
    }
}

void checkRoundTrip(const StampProfile &read)
{
    const QString path = scratchPath(QStringLiteral("user01.dat"));
    const SaveStatus saved = saveProfile(read, path);
    check(saved.ok, "saveProfile failed on a storable profile", saved.error);

    StampProfile again = sentinelProfile();
    const int before = warningCount();
    check(loadProfile(again, path), "loadProfile refused what saveProfile wrote");
    check(warningCount() == before, "loadProfile warned on what saveProfile wrote");
    check(again == read, "the saved profile reads back differently",
          describe(again) + QStringLiteral("\n--- saved:\n") + describe(read));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    countWarnings();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = rawBytes(data, size);
    StampProfile whole = sentinelProfile();
    const bool accepted = readProfileFields(bytes, true, whole);
    checkPrefixes(bytes, accepted, whole);
    if (accepted && storable(whole))
        checkRoundTrip(whole);
    return 0;
}
