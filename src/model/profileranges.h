// SPDX-License-Identifier: MIT
#pragma once

// The values of a profile that the main window edits with its spinners, and the range each
// spinner shows. A stored value outside its range cannot be shown: the window stops filling its
// controls there, and both the window and `pellimo nogui` warn of it.

#include "stampprofile.h"

#include <array>
#include <cstdint>
#include <optional>

namespace pellimo {

// In the order of the window's spinner table.
enum class ProfileField {
    Radius,
    LineWidth,
    TopBand,                 // the organisation band, percent of the diameter
    BottomBand,              // the name band
    OffsetY0,                // vertical offsets of lines 0..3
    OffsetX0 = OffsetY0 + 4, // horizontal offsets of lines 0..3
};
inline constexpr int kProfileFieldCount = int(ProfileField::OffsetY0) + 8;

constexpr ProfileField offsetYField(int line)
{
    return ProfileField(int(ProfileField::OffsetY0) + line);
}
constexpr ProfileField offsetXField(int line)
{
    return ProfileField(int(ProfileField::OffsetX0) + line);
}

struct FieldRange {
    int minimum;
    int maximum;
};

FieldRange fieldRange(ProfileField field);

// The profile's value that the field names.
const int16_t &fieldValue(const StampProfile &profile, ProfileField field);
int16_t &fieldValue(StampProfile &profile, ProfileField field);

// The order in which the window fills its controls: radius, line width, the two bands, then per
// line its vertical and its horizontal offset (the line's text goes in before them).
extern const std::array<ProfileField, kProfileFieldCount> kFieldFillOrder;

// The first value, in that order, that lies outside its range; nothing when all fit.
std::optional<ProfileField> firstFieldOutOfRange(const StampProfile &profile);

} // namespace pellimo
