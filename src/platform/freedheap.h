// SPDX-License-Identifier: MIT
#pragma once

namespace pellimo {

// Hands the heap memory that has been freed back to the system (glibc's malloc_trim). The serving
// process calls it once the stamp is on the clipboard: what drawing and saving allocated and freed
// otherwise stays with the process, as private memory, for as long as it serves. Measured on the
// serving process (Private_Dirty in /proc/PID/smaps_rollup), this is the one step that lowers it;
// dropping the kept fonts, Qt's pixmap cache or the pages of files only drawing read does not.
void returnFreedHeap();

} // namespace pellimo
