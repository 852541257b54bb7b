// SPDX-License-Identifier: MIT
#include "startupsequence.h"

#include "model/stampprofile.h"
#include "storage/profilefile.h"
#include "storage/settingsfile.h"

#include <QFileInfo>
#include <cstdio>

namespace pellimo {

namespace {

bool fileExists(const QString &path)
{
    // A folder, a FIFO, a device or a dangling link where the file should be counts as no file:
    // creating it then fails and is reported, rather than a folder being "read" as a damaged
    // profile or a FIFO holding start-up until someone writes to it.
    return QFileInfo(path).isFile();
}

} // namespace

void loadOrCreateSettings(AppState &state)
{
    const QString path = settingsFilePath(state.dataFolder);
    if (fileExists(path)) {
        loadSettings(state.settings, path);
        return;
    }
    loadDefaultSettings(state.settings);
    [[maybe_unused]] const SaveStatus ignored = saveSettings(state.settings, path);
}

SaveStatus createMissingProfiles(AppState &state)
{
    for (int16_t user = 1; user <= kUserCount; ++user) {
        const QString path = profileFilePath(state.dataFolder, user);
        if (fileExists(path))
            continue;
        loadDefaultProfile(state.profile);
        const SaveStatus status = saveProfile(state.profile, path);
        if (!status)
            return status;
    }
    return SaveStatus::success();
}

void loadStartUpProfile(AppState &state)
{
    state.currentUser = state.settings.defaultUser;
    loadCurrentProfile(state);
}

void applyCommandLine(AppState &state, const CommandLine &commandLine)
{
    if (!commandLine.noGui)
        return;
    state.noGuiMode = true;
    if (commandLine.unknownUser) {
        std::fprintf(stderr, "Pellimo: %s\n",
                     unknownUserNotice(*commandLine.unknownUser, state.currentUser)
                         .toLocal8Bit()
                         .constData());
        std::fflush(stderr);
    }
    if (commandLine.user < 1 || commandLine.user > kUserCount)
        return;
    if (commandLine.user == state.currentUser)
        return; // the same file again: reading it twice would only repeat a damage warning
    state.currentUser = commandLine.user;
    loadCurrentProfile(state);
}

SaveStatus runStartUpSequence(AppState &state, const QString &arguments)
{
    loadOrCreateSettings(state);
    const SaveStatus created = createMissingProfiles(state);
    if (!created)
        return created;
    loadStartUpProfile(state);
    applyCommandLine(state, parseCommandLine(arguments));
    return SaveStatus::success();
}

} // namespace pellimo
