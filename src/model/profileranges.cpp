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
    static constexpr std::array<FieldRange, 4> frame = {{{20, 50}, {1, 5}, {10, 40}, {10, 40}}};
    return field < ProfileField::OffsetY0 ? frame[size_t(field)] : FieldRange{-10, 10};
}

const int16_t &fieldValue(const StampProfile &profile, ProfileField field)
{
    const int offset = int(field) - int(ProfileField::OffsetY0); // 0..3 vertical, 4..7 horizontal
    const std::array<const int16_t *, 4> frame = {
        &profile.radius, &profile.lineWidth, &profile.topAreaPercent, &profile.bottomAreaPercent};
    if (offset < 0)
        return *frame[size_t(field)];
    const StampItem &item = profile.items[size_t(offset % kItemCount)];
    return offset < kItemCount ? item.offsetY : item.offsetX;
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
