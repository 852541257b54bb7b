// SPDX-License-Identifier: MIT
#pragma once

// The main window's layout: every control by its name (its objectName) with its place in twips,
// left, top, width and height (15 twips make a pixel at 96 dpi). The window builds each control at
// its place, and the layout test holds every control against this table.

#include <QRect>
#include <QStringView>
#include <array>

namespace pellimo {

struct ControlPlace {
    const char *name;
    int left, top, width, height;
};

inline constexpr int kMainWindowWidth = 8325; // twips
inline constexpr int kMainWindowHeight = 4665;

inline constexpr std::array kMainWindowLayout = {
    // The user list and the stamp.
    ControlPlace{"Label22", 120, 120, 1170, 180},
    ControlPlace{"cmbUserName", 120, 360, 3060, 345},
    ControlPlace{"PicBase", 120, 960, 3060, 3060},
    ControlPlace{"PicTemp", 120, 4200, 660, 540},
    // Radius and line width.
    ControlPlace{"Label4", 3480, 120, 360, 180},
    ControlPlace{"LBLRad", 3480, 360, 495, 315},
    ControlPlace{"RadUpDown", 3960, 360, 255, 315},
    ControlPlace{"Label16", 4320, 480, 360, 180},
    ControlPlace{"Label17", 4800, 120, 675, 180},
    ControlPlace{"LBLWt", 4800, 360, 495, 315},
    ControlPlace{"WtUpDown", 5280, 360, 255, 315},
    ControlPlace{"Label21", 5640, 480, 360, 180},
    // The band sizes: the organisation's from the top, the name's from the bottom.
    ControlPlace{"Label9", 3480, 840, 900, 180},
    ControlPlace{"Label10", 3480, 1200, 510, 180},
    ControlPlace{"LBLArea0", 4080, 1080, 495, 315},
    ControlPlace{"AreaUpdown0", 4560, 1080, 255, 315},
    ControlPlace{"Label2", 4920, 1200, 90, 180},
    ControlPlace{"Label11", 5160, 840, 720, 180},
    ControlPlace{"Label15", 5160, 1200, 510, 180},
    ControlPlace{"LBLArea1", 5760, 1080, 495, 315},
    ControlPlace{"AreaUpdown1", 6240, 1080, 255, 315},
    ControlPlace{"Label3", 6600, 1200, 90, 180},
    ControlPlace{"Label5", 6240, 1560, 1800, 180},
    // The four text lines: caption, text box, font button, vertical and horizontal offset.
    ControlPlace{"Label1", 3480, 1560, 630, 180},
    ControlPlace{"txtItem0", 3480, 1800, 1695, 315},
    ControlPlace{"cmdFont0", 5280, 1800, 615, 315},
    ControlPlace{"Label7", 6120, 1800, 180, 360},
    ControlPlace{"LBLSet0", 6360, 1800, 495, 315},
    ControlPlace{"ScUpDown0", 6840, 1800, 255, 315},
    ControlPlace{"Label6", 7200, 1800, 180, 360},
    ControlPlace{"LBLSet4", 7440, 1800, 495, 315},
    ControlPlace{"ScUpDown4", 7920, 1800, 255, 315},
    ControlPlace{"Label8", 3480, 2160, 570, 180},
    ControlPlace{"txtItem1", 3480, 2400, 1695, 315},
    ControlPlace{"cmdFont1", 5280, 2400, 615, 315},
    ControlPlace{"Label13", 6120, 2400, 180, 360},
    ControlPlace{"LBLSet1", 6360, 2400, 495, 315},
    ControlPlace{"ScUpDown1", 6840, 2400, 255, 315},
    ControlPlace{"Label12", 7200, 2400, 180, 360},
    ControlPlace{"LBLSet5", 7440, 2400, 495, 315},
    ControlPlace{"ScUpDown5", 7920, 2400, 255, 315},
    ControlPlace{"Label14", 3480, 2760, 570, 180},
    ControlPlace{"txtItem2", 3480, 3000, 1695, 315},
    ControlPlace{"cmdFont2", 5280, 3000, 615, 315},
    ControlPlace{"Label19", 6120, 3000, 180, 360},
    ControlPlace{"LBLSet2", 6360, 3000, 495, 315},
    ControlPlace{"ScUpDown2", 6840, 3000, 255, 315},
    ControlPlace{"Label18", 7200, 3000, 180, 360},
    ControlPlace{"LBLSet6", 7440, 3000, 495, 315},
    ControlPlace{"ScUpDown6", 7920, 3000, 255, 315},
    ControlPlace{"Label20", 3480, 3360, 570, 180},
    ControlPlace{"txtItem3", 3480, 3600, 1695, 315},
    ControlPlace{"cmdFont3", 5280, 3600, 615, 315},
    ControlPlace{"Label25", 6120, 3600, 180, 360},
    ControlPlace{"LBLSet3", 6360, 3600, 495, 315},
    ControlPlace{"ScUpDown3", 6840, 3600, 255, 315},
    ControlPlace{"Label24", 7200, 3600, 180, 360},
    ControlPlace{"LBLSet7", 7440, 3600, 495, 315},
    ControlPlace{"ScUpDown7", 7920, 3600, 255, 315},
    // The commands.
    ControlPlace{"cmdSet", 3480, 4200, 855, 375},
    ControlPlace{"cmdColor", 4440, 4200, 855, 375},
    ControlPlace{"cmdOption", 5400, 4200, 855, 375},
    ControlPlace{"cmdAbout", 6360, 4200, 855, 375},
    ControlPlace{"cmdEnd", 7320, 4200, 855, 375},
};

// The place in pixels of the control named `name`; an empty rectangle for a name not in the table.
QRect controlPlace(QStringView name);

} // namespace pellimo
