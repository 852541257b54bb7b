// SPDX-License-Identifier: MIT
#include "pickers.h"

#include "render/stampsurface.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <cfenv>
#include <cmath>
#include <limits>

namespace pellimo {

namespace {

class QtPickers final : public StampPickers {
public:
    FontChoice chooseFont(const FontChoice &initial, QWidget *owner) override
    {
        QFont start(initial.name);
        if (initial.pointSize > 0)
            start.setPointSizeF(initial.pointSize);
        start.setBold(initial.bold);
        start.setItalic(initial.italic);
        // The stored name may be a face this system knows only through a substitution
        // ("ＭＳ 明朝"); the dialog lists real families, so start it on the family in use.
        const QString shownFamily = QFontInfo(start).family();
        start.setFamily(shownFamily);

        bool ok = false;
        const QFont picked = QFontDialog::getFont(&ok, start, owner);
        if (!ok)
            return initial;
        FontChoice result;
        // Keeping the same family keeps the stored name, so a profile shared with other
        // installations does not lose its face name to this system's substitute.
        result.name = (picked.family() == shownFamily) ? initial.name : picked.family();
        result.pointSize = picked.pointSizeF();
        result.bold = picked.bold();
        result.italic = picked.italic();
        return result;
    }

    int32_t chooseColour(int32_t initial, QWidget *owner) override
    {
        const QColor picked = QColorDialog::getColor(stampColour(initial), owner);
        if (!picked.isValid())
            return initial;
        return colourToStamp(picked);
    }
};

} // namespace

std::unique_ptr<StampPickers> makeQtPickers()
{
    return std::make_unique<QtPickers>();
}

std::optional<int16_t> fontSizeFromPoints(double points)
{
    if (!std::isfinite(points))
        return std::nullopt;
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(points);
    std::fesetround(saved);
    if (rounded < std::numeric_limits<int16_t>::min() ||
        rounded > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}

int32_t colourToStamp(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return int32_t(rgb.red()) | (int32_t(rgb.green()) << 8) | (int32_t(rgb.blue()) << 16);
}

} // namespace pellimo
