// SPDX-License-Identifier: MIT
#pragma once

// What the process puts right before anything else runs, first thing in main().

namespace pellimo {

// Opens /dev/null on each of stdin, stdout and stderr that the caller left closed. Otherwise the
// first descriptors the program opens (the pipe to the waiting parent, the display connection,
// the lock file) would take those numbers, and a warning written to stderr or the detach step
// would land on them.
void openMissingStandardStreams();

// A write past the file-size limit (ulimit -f) then fails with EFBIG and is reported like a full
// disk, instead of SIGXFSZ ending the process in the middle of a save.
void ignoreFileSizeLimitSignal();

} // namespace pellimo
