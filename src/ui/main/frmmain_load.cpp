// The main window's load sequence and the filling of its controls from the current profile.

#include "controlnames.h"
#include "datefmt/dateformat.h"
#include "frmmain.h"
#include "platform/warning.h"
#include "updown.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace pellimo {

void frmMain::Form_Load()
{
    if (m_loaded)
        return; // the window is loaded once
    m_loaded = true;

    m_isLoading = true;
    {
        // Entry k belongs to user k + 1. Selecting from code raises no user switch.
        const QSignalBlocker block(m_cmbUserName);
        m_cmbUserName->clear();
        for (const QString &name : m_state.settings.userNames)
            m_cmbUserName->addItem(name);
        m_cmbUserName->setCurrentIndex(m_state.currentUser - 1);
    }
    // Today's date replaces whatever date text the profile file held.
    m_state.profile.items[1].text = formatDate(m_now(), m_state.settings.dateFormat);
    ProfileToControls();
    m_isLoading = false;
    drawStamp();

    if (m_state.noGuiMode)
        (void)cmdSet_Click();
}

QString frmMain::profileToControlsWarningText(int16_t user)
{
    const QString file = QStringLiteral("user0") + QString::number(user) + QStringLiteral(".dat");
    return joinMessageLines({
        file + QStringLiteral(u" より読み出された値を") +
            QStringLiteral(u"セットする処理でエラーが発生しました。"),
        QStringLiteral(u"該当するファイルの問題の個所がわかっている場合は修正して下さい。"),
        QStringLiteral(u"わからない場合は ") + file + QStringLiteral(u" を破棄することで") +
            QStringLiteral(u"問題を修正できます（データは失われます）。"),
        QStringLiteral(u"現在の印面は正しく表示されていません。"),
    });
}

void frmMain::ProfileToControls()
{
    const StampProfile &p = m_state.profile;
    // A spinner refuses a position outside its range; the negation is taken in int, so a field
    // of -32768 is refused like any other value that does not fit.
    const auto put = [](UpDown *spinner, int16_t field) {
        return spinner->setPosition(-int(field));
    };
    const auto show = [](QLabel *label, int16_t field) { label->setText(QString::number(field)); };

    bool ok = put(m_RadUpDown, p.radius);
    if (ok) {
        show(m_LBLRad, p.radius);
        ok = put(m_WtUpDown, p.lineWidth);
    }
    if (ok) {
        show(m_LBLWt, p.lineWidth);
        ok = put(m_AreaUpdown[0], p.topAreaPercent);
    }
    if (ok) {
        show(m_LBLArea[0], p.topAreaPercent);
        ok = put(m_AreaUpdown[1], p.bottomAreaPercent);
    }
    if (ok)
        show(m_LBLArea[1], p.bottomAreaPercent);
    for (int i = 0; ok && i < kItemCount; ++i) {
        const StampItem &item = p.items[i];
        m_txtItem[i]->setText(item.text);
        m_typedInto[i] = false;
        ok = put(m_ScUpDown[i], item.offsetY) && put(m_ScUpDown[i + 4], item.offsetX);
        if (ok) {
            show(m_LBLSet[i], item.offsetY);
            show(m_LBLSet[i + 4], item.offsetX);
        }
    }
    if (!ok)
        showWarning(profileToControlsWarningText(m_state.currentUser));
}

} // namespace pellimo
