// SPDX-License-Identifier: MIT
#include "hiddenload.h"

#include "loadsequence.h"
#include "model/warning.h"
#include "session/stampsteps.h"
#include "render/stampsurface.h"
#include "session/setcommand.h"

#include <cstdio>

namespace pellimo {

namespace {

// The window's steps without the window: no list, no text boxes, the spinners' limits only.
class HiddenTarget : public LoadTarget {
public:
    explicit HiddenTarget(AppState &state) : m_state(state) {}

    bool putSpinner(SpinnerId id, int16_t field) override { return spinnerAcceptsField(id, field); }
    void putText(int, const QString &) override {}
    void setLoading(bool) override {}
    void fillUserList() override {}
    bool drawStamp() override
    {
        return drawCurrentStamp(m_state, m_picBase);
    }
    void runSet() override
    {
        const SaveStatus status = runSetCommand(m_state, m_picBase, m_picTemp);
        m_setSucceeded = status.ok;
        if (!status)
            showWarning(status.error);
    }

    bool setSucceeded() const { return m_setSucceeded; }

private:
    AppState &m_state;
    QImage m_picBase = makeSurface(kPicBaseSize, kPicBaseSize);
    QImage m_picTemp;
    bool m_setSucceeded = false;
};

} // namespace

HiddenRunResult runHiddenLoad(AppState &state, std::function<QDateTime()> now)
{
    // Asked before Set, which forgets the unread file once it has kept its bytes.
    const bool fromDefaults = state.unreadProfiles.contains(state.currentUser);
    HiddenTarget target(state);
    const LoadOutcome outcome = runLoadSequence(state, now, target);
    if (!outcome.drawn) {
        std::fprintf(stderr, "Pellimo: the stamp could not be drawn; nothing was put on the "
                             "clipboard or saved.\n");
        std::fflush(stderr);
        return HiddenRunResult::Failed;
    }
    if (!target.setSucceeded())
        return HiddenRunResult::Failed;
    if (fromDefaults || !outcome.valuesFit || !outcome.dateLineWhole)
        return HiddenRunResult::SetAfterWarning;
    return HiddenRunResult::Set;
}

} // namespace pellimo
