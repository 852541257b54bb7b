// SPDX-License-Identifier: MIT
// Draws the default stamp with a date text and writes it to a PNG file, so that the drawing can be
// looked at without starting the program: stamp_png <file.png> [date text | --frame | --plain]
// (--plain: the floor of bench_drawstamp, the same stamp drawn with plain QPainter calls)

#include "floor/plain_stamp.h"
#include "model/stampprofile.h"
#include "render/drawstamp.h"
#include "render/stampsurface.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: stamp_png <file.png> [date text | --frame | --plain]\n");
        return 2;
    }
    pellimo::StampProfile profile;
    pellimo::loadDefaultProfile(profile);
    profile.items[1].text = args.size() > 2 ? args.at(2) : QStringLiteral("08.12.07");
    if (profile.items[1].text == QStringLiteral("--frame")) // the circle and the lines alone
        for (pellimo::StampItem &item : profile.items)
            item.text.clear();
    QImage picBase = pellimo::makeSurface(pellimo::kPicBaseSize, pellimo::kPicBaseSize);
    if (profile.items[1].text == QStringLiteral("--plain"))
        drawPlainStamp(picBase, plainStamp(QStringLiteral("08.12.07")));
    else
        pellimo::drawStamp(picBase, profile);
    if (!picBase.save(args.at(1), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
