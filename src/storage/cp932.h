// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace pellimo {

// Code page 932 as Windows writes it (ICU "windows-932"): ～ ① 髙 ㍻ and half-width kana
// round-trip.

// Decodes CP932 bytes; a byte sequence that is not CP932 becomes U+FFFD.
QString decodeCp932(const QByteArray &bytes);

// Encodes to CP932, or nothing when a character of the text has no CP932 form.
std::optional<QByteArray> encodeCp932(const QString &text);

// The distinct characters of the text that CP932 cannot hold, in order of first appearance.
QString charactersOutsideCp932(const QString &text);

// Characters that input methods and documents give where CP932 holds a look-alike, replaced by
// it: 〜 U+301C → ～ U+FF5E, − U+2212 → － U+FF0D, ‖ U+2016 → ∥ U+2225, — U+2014 → ― U+2015,
// ¢ → ￠, £ → ￡, ¬ → ￢. One UTF-16 unit for one, so positions in the text stay where they were.
QString replaceCp932LookAlikes(QString text);

// The longest prefix of the CP932 bytes that is at most maxBytes long and ends on a character
// boundary (a lead byte is never separated from its trail byte).
QByteArray truncateCp932(const QByteArray &bytes, int maxBytes);

} // namespace pellimo
