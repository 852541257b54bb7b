// SPDX-License-Identifier: MIT
#include "profileranges.h"

#include <utility>

namespace pellimo {

const std::array<ProfileField, kProfileFieldCount> kFieldFillOrder = {
    ProfileField::Radius, ProfileField::LineWidth, ProfileField::TopBand, ProfileField::BottomBand,
    offsetYField(0),      offsetXField(0),         offsetYField(1),       offsetXField(1),
    offsetYField(2),      offsetXField(2),         offsetYField(3),       offsetXField(3),
};

FieldRange fieldRange(ProfileField field)
{
    switch (field) {
    case ProfileField::Radius:
        return {20, 50};
    case ProfileField::LineWidth:
        return {1, 5};
    case ProfileField::TopBand:
    case ProfileField::BottomBand:
        return {10, 40};
    default: // the offsets
        return {-10, 10};
    }
}

const int16_t &fieldValue(const StampProfile &profile, ProfileField field)
{
    const int index = int(field);
    switch (field) {
    case ProfileField::Radius:
        return profile.radius;
    case ProfileField::LineWidth:
        return profile.lineWidth;
    case ProfileField::TopBand:
        return profile.topAreaPercent;
    case ProfileField::BottomBand:
        return profile.bottomAreaPercent;
    default:
        if (index < int(ProfileField::OffsetX0))
            return profile.items[size_t(index - int(ProfileField::OffsetY0))].offsetY;
        return profile.items[size_t(index - int(ProfileField::OffsetX0))].offsetX;
    }
}

int16_t &fieldValue(StampProfile &profile, ProfileField field)
{
    return const_cast<int16_t &>(fieldValue(std::as_const(profile), field));
}

std::optional<ProfileField> firstFieldOutOfRange(const StampProfile &profile)
{
    for (const ProfileField field : kFieldFillOrder) {
        const FieldRange range = fieldRange(field);
        const int value = fieldValue(profile, field);
        if (value < range.minimum || value > range.maximum)
            return field;
    }
    return std::nullopt;
}

} // namespace pellimo
