#pragma once

#include <QFont>
#include <QString>

namespace pellimo {

// Maps the faces that stored profiles name ("ＭＳ 明朝", "ＭＳ Ｐゴシック", "MS Mincho" ...) to the
// metric-compatible IPA faces, with Noto CJK after them; unknown faces fall back to a Mincho face.
// Call once before the first text is drawn; calling again does nothing.
void installFontSubstitutions();

// The font of a stamp line: size (points), then face, bold, italic.
QFont stampFont(const QString &fontName, int fontSize, bool bold, bool italic);

} // namespace pellimo
