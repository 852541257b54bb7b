// SPDX-License-Identifier: MIT
#pragma once

// The update section of an incremental update (ISO 32000-1 7.5.6): what is appended to a PDF file,
// whose bytes are left as they are, to add objects and change some. In order:
//
//   - the new and the changed objects, "N G obj ... endobj" (7.3.10), a stream with its /Length
//     and, when the document is encrypted, its data and strings encrypted as the document's own
//     (objectencryption.h); a changed object keeps its number and generation, new ones take the
//     numbers from the previous trailer's /Size on;
//   - a cross-reference section of the same kind as the file's last one: a table (7.5.4,
//     subsections of 20-byte entries) followed by a trailer (7.5.5), or a cross-reference stream
//     (7.5.8: /Type /XRef, /W, /Index, entries of type 1, never encrypted) that lists itself;
//   - its trailer (or stream dictionary): /Size one past the highest object number, /Prev the
//     offset of the file's last cross-reference section, /Root, /Info and /Encrypt carried over,
//     /ID with its first string kept (the encryption key depends on it) and its second new;
//   - startxref with the offset of the new section, and %%EOF.
//
// A hybrid-reference file (a table whose trailer has /XRefStm, 7.5.8.4) gets a table; readers find
// the hidden objects through /Prev. Linearization is not kept by an update, as readers expect.
//
// One object may carry a signature's hole: /ByteRange and /Contents written at a fixed width and
// their offsets in the updated file reported, so that a caller can hash the bytes around the hole
// and fill it in without moving any other byte (12.8.1).

#include <cstdint>
#include <map>
#include <optional>
#include <qpdf/QPDF.hh>
#include <string>
#include <vector>

namespace pellimo::pdf {

class ObjectEncryptor;

// The file being updated, as its last section left it.
struct UpdateBase {
    int64_t size = 0;         // its bytes
    bool endsWithEol = true;  // its last byte is CR or LF
    int64_t prevXref = 0;     // the offset of its last cross-reference section
    bool xrefStream = false;  // that section is a stream
    QPDFObjectHandle trailer; // its trailer (or the dictionary of that stream)
    int firstFreeNumber = 1;  // at least the trailer's /Size and one past every object qpdf knows
};

// Where a signature's placeholders are in the updated file.
struct SignatureHole {
    int64_t byteRangeOffset = 0; // the '[' of /ByteRange
    int64_t byteRangeLength = 0; // up to and with its ']'
    int64_t contentsOffset = 0;  // the '<' of /Contents
    int64_t contentsLength = 0;  // up to and with its '>'

    // The /ByteRange array for a file of `fileSize` bytes, at exactly byteRangeLength bytes.
    std::string byteRange(int64_t fileSize) const;
};

class UpdateSection {
public:
    UpdateSection(UpdateBase base, const ObjectEncryptor *encryptor);

    // A changed object of the file, written with its own number. New objects it refers to (those
    // qpdf made after `firstNewQpdfNumber`) are added with it.
    void addChanged(QPDFObjectHandle object, int firstNewQpdfNumber);
    // A new object made with qpdf, and the new objects it refers to; returns its number in the
    // file.
    QPDFObjGen addNew(QPDFObjectHandle object, int firstNewQpdfNumber);
    // A new signature dictionary made with qpdf: `dictionary` without /ByteRange and /Contents,
    // which are written as placeholders for a value of `contentsBytes` bytes. One per section.
    QPDFObjGen addSignature(QPDFObjectHandle dictionary, int contentsBytes, int firstNewQpdfNumber);

    // The section's bytes, to be appended to the file's `base.size` bytes.
    std::string write();
    std::optional<SignatureHole> hole() const { return m_hole; }

private:
    QPDFObjGen numberFor(QPDFObjectHandle newObject);
    void addReferenced(QPDFObjectHandle object, int firstNewQpdfNumber);
    std::string objectText(QPDFObjectHandle object, QPDFObjGen og);
    std::string trailerKeys(int size);
    void writeTable(std::string &out);
    void writeStream(std::string &out, int64_t at);

    UpdateBase m_base;
    const ObjectEncryptor *m_encryptor;
    int m_nextNumber;
    std::vector<std::pair<QPDFObjectHandle, QPDFObjGen>> m_objects; // in the order written
    std::map<QPDFObjGen, QPDFObjGen> m_renumbered;
    std::optional<std::pair<QPDFObjectHandle, int>> m_signature; // dictionary, contents bytes
    QPDFObjGen m_signatureNumber;
    std::map<int, int64_t> m_offsets; // object number -> offset in the file
    std::map<int, int> m_gens;        // object number -> generation
    std::optional<SignatureHole> m_hole;
};

} // namespace pellimo::pdf
