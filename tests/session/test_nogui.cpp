// SPDX-License-Identifier: MIT
// `pellimo nogui` as the session runs it: built and run here without the widget library (this test
// links Qt Gui only), the stamp set on the clipboard and the profile saved with today's date.

#include "datefmt/dateformat.h"
#include "model/appsettings.h"
#include "session/nogui.h"
#include "storage/profilefile.h"
#include "warningrecorder.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;

class TestNoGui : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void setsAndSavesWithoutAWindow()
    {
        const QTemporaryDir dir;
        AppState state;
        state.dataFolder = dir.path();
        loadDefaultSettings(state.settings);
        loadDefaultProfile(state.profile);
        state.currentUser = 1;
        state.noGuiMode = true;
        state.profile.radius = 50;
        const QDateTime now(QDate(2026, 12, 7), QTime(9, 30));
        WarningRecorder warnings;
        QCOMPARE(runNoGui(state, now), NoGuiResult::Set);
        QVERIFY(warnings.texts().isEmpty());
        QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(108, 108));
        StampProfile saved;
        QVERIFY(loadProfile(saved, profileFilePath(dir.path(), 1)));
        QCOMPARE(saved.items[1].text, formatDate(now, state.settings.dateFormat));
        QCOMPARE(saved, state.profile);
    }
};

QTEST_MAIN(TestNoGui)
#include "test_nogui.moc"
