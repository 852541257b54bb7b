// SPDX-License-Identifier: MIT
#pragma once

// The main window's layout: every control by its name (its objectName) with its place in twips,
// left, top, width and height (15 twips make a pixel at 96 dpi). The window builds each control at
// its place, and the layout test holds every control against this table.

#include "ui/common/twips.h"

#include <QRect>
#include <QStringView>

namespace pellimo {

struct ControlPlace {
    const char *name;
    int left, top, width, height;
};

inline constexpr int kMainWindowWidth = 8325; // twips
inline constexpr int kMainWindowHeight = 4665;

// clang-format off: two places a line, in the order the window is built
inline constexpr ControlPlace kMainWindowLayout[] = {
    // The user list and the stamp.
    {"Label22", 120, 120, 1170, 180},    {"cmbUserName", 120, 360, 3060, 345},
    {"PicBase", 120, 960, 3060, 3060},   {"PicTemp", 120, 4200, 660, 540},
    // Radius and line width.
    {"Label4", 3480, 120, 360, 180},     {"LBLRad", 3480, 360, 495, 315},
    {"RadUpDown", 3960, 360, 255, 315},  {"Label16", 4320, 480, 360, 180},
    {"Label17", 4800, 120, 675, 180},    {"LBLWt", 4800, 360, 495, 315},
    {"WtUpDown", 5280, 360, 255, 315},   {"Label21", 5640, 480, 360, 180},
    // The band sizes: the organisation's from the top, the name's from the bottom.
    {"Label9", 3480, 840, 900, 180},     {"Label10", 3480, 1200, 510, 180},
    {"LBLArea0", 4080, 1080, 495, 315},  {"AreaUpdown0", 4560, 1080, 255, 315},
    {"Label2", 4920, 1200, 90, 180},     {"Label11", 5160, 840, 720, 180},
    {"Label15", 5160, 1200, 510, 180},   {"LBLArea1", 5760, 1080, 495, 315},
    {"AreaUpdown1", 6240, 1080, 255, 315}, {"Label3", 6600, 1200, 90, 180},
    {"Label5", 6240, 1560, 1800, 180},
    // The four text lines: caption, text box and font button; vertical offset; horizontal offset.
    {"Label1", 3480, 1560, 630, 180},    {"txtItem0", 3480, 1800, 1695, 315},
    {"cmdFont0", 5280, 1800, 615, 315},  {"Label7", 6120, 1800, 180, 360},
    {"LBLSet0", 6360, 1800, 495, 315},   {"ScUpDown0", 6840, 1800, 255, 315},
    {"Label6", 7200, 1800, 180, 360},    {"LBLSet4", 7440, 1800, 495, 315},
    {"ScUpDown4", 7920, 1800, 255, 315}, {"Label8", 3480, 2160, 570, 180},
    {"txtItem1", 3480, 2400, 1695, 315}, {"cmdFont1", 5280, 2400, 615, 315},
    {"Label13", 6120, 2400, 180, 360},   {"LBLSet1", 6360, 2400, 495, 315},
    {"ScUpDown1", 6840, 2400, 255, 315}, {"Label12", 7200, 2400, 180, 360},
    {"LBLSet5", 7440, 2400, 495, 315},   {"ScUpDown5", 7920, 2400, 255, 315},
    {"Label14", 3480, 2760, 570, 180},   {"txtItem2", 3480, 3000, 1695, 315},
    {"cmdFont2", 5280, 3000, 615, 315},  {"Label19", 6120, 3000, 180, 360},
    {"LBLSet2", 6360, 3000, 495, 315},   {"ScUpDown2", 6840, 3000, 255, 315},
    {"Label18", 7200, 3000, 180, 360},   {"LBLSet6", 7440, 3000, 495, 315},
    {"ScUpDown6", 7920, 3000, 255, 315}, {"Label20", 3480, 3360, 570, 180},
    {"txtItem3", 3480, 3600, 1695, 315}, {"cmdFont3", 5280, 3600, 615, 315},
    {"Label25", 6120, 3600, 180, 360},   {"LBLSet3", 6360, 3600, 495, 315},
    {"ScUpDown3", 6840, 3600, 255, 315}, {"Label24", 7200, 3600, 180, 360},
    {"LBLSet7", 7440, 3600, 495, 315},   {"ScUpDown7", 7920, 3600, 255, 315},
    // The commands.
    {"cmdSet", 3480, 4200, 855, 375},    {"cmdColor", 4440, 4200, 855, 375},
    {"cmdOption", 5400, 4200, 855, 375}, {"cmdAbout", 6360, 4200, 855, 375},
    {"cmdEnd", 7320, 4200, 855, 375},
};
// clang-format on

// The place in pixels of the control named `name`; an empty rectangle for a name not in the table.
inline QRect controlPlace(QStringView name)
{
    for (const ControlPlace &p : kMainWindowLayout)
        if (name == QLatin1String(p.name))
            return twipsRect(p.left, p.top, p.width, p.height);
    return {};
}

} // namespace pellimo
