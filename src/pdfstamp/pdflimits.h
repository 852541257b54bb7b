// SPDX-License-Identifier: MIT
#pragma once

// How much of a PDF Pellimo lets qpdf parse. qpdf keeps every object it reads in memory, at up to
// a few hundred bytes per token, and inflates a whole object stream at once: a small file can ask
// for gigabytes. The structure check (pdfstructure.h) measures a file against these numbers before
// qpdf looks at its objects, and a file past one of them is refused as too large, so that stamping
// any input stays well under 512 MiB. Ordinary documents, a 2,000-page manual included, stay far
// below them.

#include <cstdint>

namespace pellimo::pdf {

inline constexpr int64_t kMiB = 1024 * 1024;

// Objects in the cross-reference data, and entries of any one cross-reference section.
inline constexpr int64_t kMaxObjects = 1'000'000;
// Tokens of all objects that qpdf could be asked to parse: the objects in the file and the
// content of its object streams.
inline constexpr int64_t kMaxObjectTokens = 2'500'000;
// Bytes of those objects (the data of streams not counted).
inline constexpr int64_t kMaxObjectBytes = 64 * kMiB;
// One object stream, and all of them together, once decoded.
inline constexpr int64_t kMaxObjectStreamBytes = 16 * kMiB;
inline constexpr int64_t kMaxAllObjectStreamBytes = 64 * kMiB;
// Sections in the chain of cross-reference sections (updates).
inline constexpr int kMaxXrefSections = 4096;
// Decoded page content read to find how the page leaves its graphics state (--flatten only).
inline constexpr int64_t kMaxContentBytes = 64 * kMiB;

} // namespace pellimo::pdf
