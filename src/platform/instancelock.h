// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace pellimo {

// One running instance per data folder: an exclusive flock() on ".pellimo.lock" in that
// folder. The kernel drops the lock when the holder ends, so a crashed instance leaves no stale
// lock, and two starts at the same moment cannot both win.
class InstanceLock {
public:
    enum class Result {
        Acquired,      // this process is the one instance
        HeldByAnother, // another process holds the lock: end at once
        Unavailable,   // the lock file could neither be created nor opened (folder missing or
                       // not writable); the caller decides whether to run unguarded
    };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // Tries once, without waiting. Opens nothing but the lock file.
    Result tryLock(const QString &dataFolder);

    // Gives the lock up so that a new start can run; safe to call when nothing is held.
    void release();

    bool isHeld() const { return m_fd >= 0; }

    static QString lockFileName();

private:
    int m_fd = -1;
};

} // namespace pellimo
