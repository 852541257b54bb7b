#pragma once

#include "appsettings.h"
#include "savestatus.h"

#include <QString>

namespace pellimo {

// <folder>/pellimo.ini
QString settingsFilePath(const QString &programFolder);

// Sets the eight entries in place, keeping every line it does not own (other keys, sections,
// comments, blank lines); writes atomically. The status says why a write failed.
[[nodiscard]] SaveStatus saveSettings(const AppSettings &settings, const QString &path);

// Reads the eight entries; a missing key gives its default, unusable values give defaults
// silently. Cannot fail.
void loadSettings(AppSettings &settings, const QString &path);

} // namespace pellimo
