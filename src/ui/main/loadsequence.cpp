// SPDX-License-Identifier: MIT
#include "loadsequence.h"

#include "datefmt/dateformat.h"

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

} // namespace pellimo
