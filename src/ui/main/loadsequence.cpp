#include "loadsequence.h"

#include "datefmt/dateformat.h"
#include "render/setcommand.h"

#include <exception>

namespace pellimo {

void runLoadSequence(AppState &state, const std::function<QDateTime()> &now, LoadTarget &target)
{
    target.setLoading(true);
    target.fillUserList();
    // Today's date replaces whatever date text the profile file held.
    state.profile.items[1].text = formatDate(now(), state.settings.dateFormat);
    (void)profileToControls(state.profile, state.currentUser, target);
    target.setLoading(false);
    target.drawStamp();

    if (state.noGuiMode)
        target.runSet();
}

SaveStatus runSetCommandCaught(const AppState &state, const QImage &picBase, QImage &picTemp)
{
    try {
        return runSetCommand(state, picBase, picTemp);
    } catch (const std::exception &e) {
        return SaveStatus::failure(QString::fromUtf8(e.what()));
    }
}

} // namespace pellimo
