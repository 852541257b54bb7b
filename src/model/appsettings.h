// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace pellimo {

inline constexpr int kUserCount = 5; // users share one installation, each with a profile file

// Installation-wide settings, stored in pellimo.ini.
struct AppSettings {
    int16_t defaultUser = 1; // 1..kUserCount: the user whose profile start-up loads
    std::array<QString, kUserCount> userNames; // userNames[n - 1] is the display name of user n
    QString dateFormat;                        // pattern of the date line
    bool autoClose = false;                    // Set ends the program after saving

    friend bool operator==(const AppSettings &, const AppSettings &) = default;
};

QString defaultUserName(int user); // "ユーザー" followed by the digit
QString defaultDateFormat();       // "ee.mm.dd"

void loadDefaultSettings(AppSettings &settings);

} // namespace pellimo
