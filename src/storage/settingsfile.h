// SPDX-License-Identifier: MIT
#pragma once

#include "model/appsettings.h"
#include "model/savestatus.h"

#include <QString>

namespace pellimo {

// <folder>/pellimo.ini
QString settingsFilePath(const QString &dataFolder);

// Sets the eight entries in place, keeping every line it does not own (other keys, sections,
// comments, blank lines); writes atomically. The status says why a write failed.
[[nodiscard]] SaveStatus saveSettings(const AppSettings &settings, const QString &path);

// The characters of a user name or date pattern that the settings file cannot hold: characters
// outside CP932, line breaks and NUL. Empty when the value is storable; saveSettings refuses a
// record holding any.
QString unstorableSettingCharacters(const QString &value);

// Reads the eight entries; a missing key gives its default, unusable values give defaults
// silently. Cannot fail.
void loadSettings(AppSettings &settings, const QString &path);

} // namespace pellimo
