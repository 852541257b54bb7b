// SPDX-License-Identifier: MIT
#pragma once

// Checks of a PDF file's structure made with Pellimo's own lexer, before qpdf is trusted with it:
// whether it can take an incremental update as it is (every cross-reference entry and stream
// length right, as a reader that does no repairs needs them), and whether what qpdf would parse
// stays within pdflimits.h.

#include <QString>
#include <cstdint>

class QPDF;

namespace pellimo::pdf {

struct FileCheck {
    enum class Verdict { Sound, Damaged, TooLarge };
    Verdict verdict = Verdict::Sound;
    QString detail; // what was found, one phrase for the user's message

    explicit operator bool() const { return verdict == Verdict::Sound; }
    static FileCheck damaged(const QString &detail) { return {Verdict::Damaged, detail}; }
    static FileCheck tooLarge(const QString &detail) { return {Verdict::TooLarge, detail}; }
};

// The last cross-reference section of a file, which an update's /Prev points at.
struct XrefChain {
    int64_t startxref = -1;    // its offset, from the file's last startxref
    bool lastIsStream = false; // a cross-reference stream rather than a table
};

// Follows startxref, /Prev and /XRefStm from the end of the file before qpdf reads it. Damaged:
// no section where the chain points. Too large: a section of more than kMaxObjects entries, or a
// cross-reference stream that decodes to more than its /W and /Index say.
FileCheck checkXrefChain(int fd, int64_t size, XrefChain &chain);

// After qpdf has read the cross-reference data. With `strict`, damaged: an object that is not
// where its entry says ("N G obj"), lacks its endobj, or a stream whose data does not end at its
// /Length with endstream. Always, too large: objects or object streams past the limits.
FileCheck checkObjects(QPDF &pdf, int fd, int64_t size, bool strict);

} // namespace pellimo::pdf
