// SPDX-License-Identifier: MIT
#pragma once

// Sanitizer reports of the program under test, written to files instead of stderr. The process
// that serves the clipboard has its stderr on /dev/null by the time it exits, so a leak report
// printed there would never be seen.

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

namespace e2e {

class SanitizerLogs {
public:
    // Whether the executable was built with AddressSanitizer (it then carries __asan_init).
    static bool isSanitizerBuild(const QString &executable);

    // `env` with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer writing their
    // reports into this object's folder (one file per process), leak checking on, and the
    // suppressions for system libraries applied. `extraAsanOptions` is appended as given.
    QProcessEnvironment apply(QProcessEnvironment env,
                              const QString &extraAsanOptions = QString()) const;

    // Names of the report files written so far.
    QStringList files() const;
    // Each report file's name and text; empty when no process wrote one.
    QString reports() const;

private:
    QTemporaryDir m_dir;
};

} // namespace e2e
