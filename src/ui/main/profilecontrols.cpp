// SPDX-License-Identifier: MIT
#include "profilecontrols.h"

#include "model/warning.h"

#include <array>

namespace pellimo {

SpinnerLimits spinnerLimits(SpinnerId id)
{
    static constexpr std::array<SpinnerLimits, kSpinnerCount> table = {{
        {20, 50, 30}, // RadUpDown: radius
        {1, 5, 1},    // WtUpDown: line width
        {10, 40, 40}, // AreaUpdown(0): organisation band, percent
        {10, 40, 35}, // AreaUpdown(1): name band, percent
        {-10, 10, 0}, // ScUpDown(0..7): offsets
        {-10, 10, 0},
        {-10, 10, 0},
        {-10, 10, 0},
        {-10, 10, 0},
        {-10, 10, 0},
        {-10, 10, 0},
        {-10, 10, 0},
    }};
    return table.at(size_t(id));
}

bool spinnerAcceptsField(SpinnerId id, int16_t field)
{
    const SpinnerLimits limits = spinnerLimits(id);
    return field >= limits.minimum && field <= limits.maximum;
}

QString profileToControlsWarningText(int16_t user)
{
    const QString file = QStringLiteral("user0") + QString::number(user) + QStringLiteral(".dat");
    return joinMessageLines({
        file + QStringLiteral(u" より読み出された値を") +
            QStringLiteral(u"セットする処理でエラーが発生しました。"),
        QStringLiteral(u"該当するファイルの問題の個所がわかっている場合は修正して下さい。"),
        QStringLiteral(u"わからない場合は ") + file + QStringLiteral(u" を破棄することで") +
            QStringLiteral(u"問題を修正できます（データは失われます）。"),
        QStringLiteral(u"現在の印面は正しく表示されていません。"),
    });
}

bool profileToControls(const StampProfile &profile, int16_t currentUser, ProfileControls &controls)
{
    bool ok = controls.putSpinner(SpinnerId::RadUpDown, profile.radius) &&
              controls.putSpinner(SpinnerId::WtUpDown, profile.lineWidth) &&
              controls.putSpinner(areaUpdown(0), profile.topAreaPercent) &&
              controls.putSpinner(areaUpdown(1), profile.bottomAreaPercent);
    for (int i = 0; ok && i < kItemCount; ++i) {
        const StampItem &item = profile.items[i];
        controls.putText(i, item.text);
        ok = controls.putSpinner(scUpDown(i), item.offsetY) &&
             controls.putSpinner(scUpDown(i + 4), item.offsetX);
    }
    if (!ok)
        showWarning(profileToControlsWarningText(currentUser));
    return ok;
}

} // namespace pellimo
