// SPDX-License-Identifier: MIT
// drawStamp of the default profile on the 200 x 200 PicBase, the redraw that follows every edit.

#include "floor/plain_stamp.h"
#include "model/stampprofile.h"
#include "render/drawstamp.h"
#include "render/stampsurface.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

void BM_drawStampDefault(benchmark::State &state)
{
    pellimo::StampProfile profile;
    pellimo::loadDefaultProfile(profile);
    profile.items[1].text = QStringLiteral("08.12.07");
    QImage picBase = pellimo::makeSurface(pellimo::kPicBaseSize, pellimo::kPicBaseSize);
    for (auto _ : state) {
        pellimo::drawStamp(picBase, profile);
        benchmark::DoNotOptimize(picBase.constBits());
    }
}
BENCHMARK(BM_drawStampDefault)->Unit(benchmark::kMicrosecond);

// The floor for BM_drawStampDefault: the same stamp drawn with plain QPainter calls.
void BM_plainStamp(benchmark::State &state)
{
    const PlainStamp stamp = plainStamp(QStringLiteral("08.12.07"));
    QImage picBase = pellimo::makeSurface(pellimo::kPicBaseSize, pellimo::kPicBaseSize);
    for (auto _ : state) {
        drawPlainStamp(picBase, stamp);
        benchmark::DoNotOptimize(picBase.constBits());
    }
}
BENCHMARK(BM_plainStamp)->Unit(benchmark::kMicrosecond);

void BM_drawStampLarge(benchmark::State &state)
{
    pellimo::StampProfile profile;
    pellimo::loadDefaultProfile(profile);
    profile.radius = 50;
    profile.lineWidth = 5;
    profile.items[1].text = QStringLiteral("08.12.07");
    for (auto &item : profile.items)
        item.bold = true;
    QImage picBase = pellimo::makeSurface(pellimo::kPicBaseSize, pellimo::kPicBaseSize);
    for (auto _ : state) {
        pellimo::drawStamp(picBase, profile);
        benchmark::DoNotOptimize(picBase.constBits());
    }
}
BENCHMARK(BM_drawStampLarge)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv); // fonts need the platform's font database
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
