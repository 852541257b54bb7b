// SPDX-License-Identifier: MIT
#include "nogui.h"

#include "model/warning.h"
#include "platform/wlcopy.h"
#include "render/stampsurface.h"
#include "setcommand.h"
#include "stampsteps.h"

#include <cstdio>

namespace pellimo {

namespace {

NoGuiResult failed(const char *line, const QString &why = QString())
{
    std::fprintf(stderr, "Pellimo: %s%s\n", line, why.toLocal8Bit().constData());
    std::fflush(stderr);
    return NoGuiResult::Failed;
}

} // namespace

NoGuiResult runNoGui(AppState &state, const QDateTime &now)
{
    // Asked before Set, which forgets the unread file once it has kept its bytes.
    const bool fromDefaults = state.unreadProfiles.contains(state.currentUser);
    const bool dateLineWhole = putDateLine(state, now);
    const bool valuesFit = checkProfileRanges(state);
    QImage picBase = makeSurface(kPicBaseSize, kPicBaseSize);
    if (!drawCurrentStamp(state, picBase))
        return failed("the stamp could not be drawn; nothing was put on the clipboard or saved.");

    QImage picTemp;
    const SaveStatus set = runSetCommand(state, picBase, picTemp);
    if (!set) {
        showWarning(set.error);
        return NoGuiResult::Failed;
    }
    QString why;
    if (!keepOnWaylandClipboard(picTemp, &why))
        return failed("the stamp could not be put on the clipboard: ", why + u'.');
    if (fromDefaults || !valuesFit || !dateLineWhole)
        return NoGuiResult::SetAfterWarning;
    return NoGuiResult::Set;
}

} // namespace pellimo
