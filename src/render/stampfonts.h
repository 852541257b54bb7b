// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace pellimo {

// Maps the faces that stored profiles name ("ＭＳ 明朝", "ＭＳ Ｐゴシック", "MS Mincho" ...) to the
// metric-compatible IPA faces, with Noto CJK after them; unknown faces fall back to a Mincho face.
// Call once before the first text is drawn; calling again does nothing.
void installFontSubstitutions();

// Font sizes the stamp surface honours, in points. Anything else is refused by the drawing: a size
// of zero or less has no glyphs, and beyond 1000 points (1333 pixels, over six times the whole
// drawing area) a size can only come from a damaged profile.
inline constexpr int kMinFontPoints = 1;
inline constexpr int kMaxFontPoints = 1000;
constexpr bool isAcceptedFontSize(int points)
{
    return points >= kMinFontPoints && points <= kMaxFontPoints;
}

// Whole pixels of a point size on the 96-dpi surface: 9 points are 12 pixels, 10 points 13.
int fontPixelSize(int points);

// The families tried for a face name, in order: the face itself (when installed or mapped), its
// substitutes, then the Japanese Mincho fallbacks, so that Japanese text never draws as boxes.
QStringList stampFontFamilies(const QString &fontName);

// The font of a stamp line: size (points), then face, bold, italic. Drawn without smoothing, so the
// stamp keeps a single colour on white. A size outside isAcceptedFontSize leaves the default size.
QFont stampFont(const QString &fontName, int fontSize, bool bold, bool italic);

} // namespace pellimo
