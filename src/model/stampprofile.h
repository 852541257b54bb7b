// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace pellimo {

// One text line of the stamp. Field order is the in-memory order; the profile file uses its own.
struct StampItem {
    QString text;
    QString fontName;
    int16_t fontSize = 9;
    bool bold = false;
    bool italic = false;
    int16_t offsetX = 0; // positive moves the text right
    int16_t offsetY = 0; // positive moves the text down

    friend bool operator==(const StampItem &, const StampItem &) = default;
};

// One user's stamp design. items[0] organisation, items[1] date line, items[2] and items[3]
// the two runs of the name row.
struct StampProfile {
    int16_t radius = 35;
    int16_t lineWidth = 1;
    int16_t topAreaPercent = 35;
    int16_t bottomAreaPercent = 35;
    std::array<StampItem, 4> items;
    int32_t colour = 255; // 0x00BBGGRR

    friend bool operator==(const StampProfile &, const StampProfile &) = default;
};

inline constexpr int kItemCount = 4;

// "ＭＳ 明朝": full-width M, full-width S, an ordinary space, 明, 朝.
QString defaultFontName();

// Replaces every field of the profile, all four items included, by the defaults.
void loadDefaultProfile(StampProfile &profile);

} // namespace pellimo
