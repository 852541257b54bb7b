// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

class QWidget;

namespace pellimo {

// What the font picker is given and hands back. Underline and strike-out are not part of it: the
// stamp has no such attributes.
struct FontChoice {
    QString name;
    double pointSize = 9;
    bool bold = false;
    bool italic = false;

    friend bool operator==(const FontChoice &, const FontChoice &) = default;
};

// The font and colour pickers of the main window. Both are modal over `owner`. A cancelled picker
// hands back exactly what it was given.
class StampPickers {
public:
    virtual ~StampPickers() = default;
    virtual FontChoice chooseFont(const FontChoice &initial, QWidget *owner) = 0;
    // Colours are 0x00BBGGRR.
    virtual int32_t chooseColour(int32_t initial, QWidget *owner) = 0;
};

// Qt's own font and colour dialogs.
std::unique_ptr<StampPickers> makeQtPickers();

// A picked point size as the profile stores it: the nearest whole point, a value exactly half-way
// going to the even neighbour (10.5 -> 10, 11.5 -> 12). Empty when the result does not fit the
// 16-bit field or the size is not a number.
std::optional<int16_t> fontSizeFromPoints(double points);

// A picked colour as the profile stores it, 0x00BBGGRR (render/stampsurface.h has the way back,
// stampColour).
int32_t colourToStamp(const QColor &colour);

} // namespace pellimo
