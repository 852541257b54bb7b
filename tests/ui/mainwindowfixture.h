// SPDX-License-Identifier: MIT
#pragma once

// What the main window's tests share: a program folder of their own with a profile file per
// user, a fixed clock, recorded warnings, scripted pickers, and finding controls by name.

#include "datefmt/dateformat.h"
#include "model/warning.h"
#include "render/drawstamp.h"
#include "render/stampsurface.h"
#include "session/stampsteps.h"
#include "storage/profilefile.h"
#include "ui/main/mainwindow.h"
#include "ui/main/pickers.h"

#include <QFile>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace pellimo::testing {

inline QDateTime fixedNow()
{
    return QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0));
}

// Pickers that answer as the test says and remember what they were given.
struct ScriptedPickers : StampPickers {
    std::optional<FontChoice> fontAnswer; // empty: the user cancels
    std::optional<int32_t> colourAnswer;
    QList<FontChoice> fontsGiven;
    QList<int32_t> coloursGiven;

    FontChoice chooseFont(const FontChoice &initial, QWidget *) override
    {
        fontsGiven << initial;
        return fontAnswer.value_or(initial);
    }
    int32_t chooseColour(int32_t initial, QWidget *) override
    {
        coloursGiven << initial;
        return colourAnswer.value_or(initial);
    }
};

class MainWindowFixture {
public:
    MainWindowFixture()
        : m_previousHandler(setWarningHandler([this](const QString &text) { warnings << text; }))
    {
        state.dataFolder = dir.path();
        loadDefaultSettings(state.settings);
        loadDefaultProfile(state.profile);
        state.currentUser = 1;
    }
    ~MainWindowFixture() { setWarningHandler(m_previousHandler); }

    QString profilePath(int user) const
    {
        return profileFilePath(state.dataFolder, int16_t(user));
    }

    // Writes `profile` as user N's file.
    bool writeProfile(int user, const StampProfile &profile) const
    {
        return saveProfile(profile, profilePath(user)).ok;
    }

    QByteArray fileBytes(int user) const
    {
        QFile f(profilePath(user));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Builds the window (not yet loaded); pickers are the scripted ones.
    MainWindow &window()
    {
        if (!m_window) {
            m_window = std::make_unique<MainWindow>(state, &fixedNow);
            auto picks = std::make_unique<ScriptedPickers>();
            pickers = picks.get();
            m_window->setPickers(std::move(picks));
            redraws = std::make_unique<QSignalSpy>(m_window.get(), &MainWindow::stampDrawn);
        }
        return *m_window;
    }

    // Shows the window (which loads it) and waits until it is active, as a user would see it.
    MainWindow &shownWindow()
    {
        MainWindow &w = window();
        w.show();
        if (!QTest::qWaitForWindowActive(&w))
            qWarning("main window did not become active");
        redraws->clear();
        return w;
    }

    template <typename T = QWidget> T *control(const QString &name)
    {
        return window().findChild<T *>(name);
    }

    // What drawStamp makes of the current profile on a fresh surface.
    QImage expectedStamp() const
    {
        QImage image = makeSurface(kPicBaseSize, kPicBaseSize);
        pellimo::drawStamp(image, state.profile);
        return image;
    }

    QString todaysDate() const { return formatDate(fixedNow(), state.settings.dateFormat); }

    QTemporaryDir dir;
    AppState state;
    QStringList warnings;
    ScriptedPickers *pickers = nullptr;
    std::unique_ptr<QSignalSpy> redraws;

private:
    WarningHandler m_previousHandler;
    std::unique_ptr<MainWindow> m_window;
};

// Types `text` into the focused box as the input method commits it (works for any script).
inline void typeText(QWidget *box, const QString &text)
{
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(box, &commit);
}

} // namespace pellimo::testing
