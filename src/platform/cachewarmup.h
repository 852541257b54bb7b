// SPDX-License-Identifier: MIT
#pragma once

#include <future>

namespace pellimo {

// Loads, on a second thread, what the first drawing needs and what does not depend on the
// display: the fontconfig configuration and caches, the ICU calendar and era data behind the date
// line, and the CP932 converter. Started before QApplication connects to the display and waited
// for right after (the future also waits when it goes), it takes that loading off the path to
// the first drawing. Nothing it does is visible: it only fills caches. An empty future when no
// thread could be started: the same loading then simply happens later, where it is first needed.
std::future<void> warmUpCaches();

} // namespace pellimo
