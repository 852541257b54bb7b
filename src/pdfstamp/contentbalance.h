// SPDX-License-Identifier: MIT
#pragma once

// How a page's content leaves the graphics state stack (q and Q, ISO 32000-1 8.4.2): content that
// saves more states than it restores, or restores more than it saved, would otherwise leave
// whatever it drew with (a scaled or turned matrix, a clip) to what is drawn after it.

#include <cstdint>
#include <qpdf/QPDFObjectHandle.hh>

namespace pellimo::pdf {

struct ContentBalance {
    int64_t lowest = 0; // the deepest the stack goes below where the content started (<= 0)
    int64_t end = 0;    // where it ends, from where it started
    bool readable = true;
    bool tooLarge = false; // decoded content past `limit`
};

// Follows q and Q through the page's content streams in order (inline images skipped), decoding
// at most `limit` bytes.
ContentBalance contentBalance(QPDFObjectHandle page, int64_t limit);

} // namespace pellimo::pdf
