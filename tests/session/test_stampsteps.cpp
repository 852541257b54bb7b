// SPDX-License-Identifier: MIT
// The steps both roads to the clipboard share, with the warnings they word.

#include "drawingfailures.h"
#include "render/stampsurface.h"
#include "session/stampsteps.h"
#include "warningrecorder.h"

#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

namespace {

QString expectedDrawWarning(int user)
{
    return QStringLiteral(u"印面描画中にエラーが発生しました。\r\n"
                          u"user0%1.dat のデータに問題があると思われます。\r\n"
                          u"描画処理を中断します。\r\n"
                          u"現在の印面は正しく表示されていません。")
        .arg(user);
}

AppState stateOf(const StampProfile &profile, int user)
{
    AppState state;
    state.profile = profile;
    state.currentUser = int16_t(user);
    return state;
}

} // namespace

class TestStampSteps : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void failedDrawingWarnsNamingTheFile_data() { addDrawingFailureRows(); }

    // A failed drawing shows the four-line warning once, naming the current user's file.
    void failedDrawingWarnsNamingTheFile()
    {
        QFETCH(ProfileEdit, edit);
        QFETCH(int, user);
        StampProfile profile = defaultStamp();
        edit(profile);
        WarningRecorder warnings;
        QImage picBase = makeSurface(kPicBaseSize, kPicBaseSize);
        QVERIFY(!drawCurrentStamp(stateOf(profile, user), picBase));
        QCOMPARE(warnings.texts(), QStringList{expectedDrawWarning(user)});
    }

    void wholeDrawingShowsNothing()
    {
        WarningRecorder warnings;
        QImage picBase = makeSurface(kPicBaseSize, kPicBaseSize);
        QVERIFY(drawCurrentStamp(stateOf(defaultStamp(), 4), picBase));
        QVERIFY(warnings.texts().isEmpty());
        QCOMPARE(picBase, drawn(defaultStamp()));
    }

    void drawWarningText()
    {
        QCOMPARE(pellimo::drawWarningText(3), expectedDrawWarning(3));
        QVERIFY(pellimo::drawWarningText(3).contains(QStringLiteral("user03.dat")));
        QVERIFY(!pellimo::drawWarningText(5).endsWith(QLatin1Char('\n')));
        QCOMPARE(pellimo::drawWarningText(5).count(QStringLiteral("\r\n")), 3);
    }
};

QTEST_MAIN(TestStampSteps)
#include "test_stampsteps.moc"
