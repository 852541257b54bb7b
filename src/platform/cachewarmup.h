// SPDX-License-Identifier: MIT
#pragma once

#include <thread>

namespace pellimo {

// Loads, on a second thread, what the first drawing needs and what does not depend on the
// display: the fontconfig configuration and caches, the ICU calendar and era data behind the date
// line, and the CP932 converter. Started before QApplication connects to the display and joined
// right after, it takes that loading off the path to the first drawing. Nothing it does is
// visible: it only fills caches.
class StartUpWarmUp {
public:
    StartUpWarmUp();
    ~StartUpWarmUp();
    StartUpWarmUp(const StartUpWarmUp &) = delete;
    StartUpWarmUp &operator=(const StartUpWarmUp &) = delete;

    // Waits for the loading to finish; called before the first font or date is used.
    void join();

private:
    std::thread m_thread;
};

} // namespace pellimo
