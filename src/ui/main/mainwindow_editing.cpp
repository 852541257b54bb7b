// SPDX-License-Identifier: MIT
// The main window's editing handlers: spinners, text boxes, the user switch, fonts and colour.
// Each writes straight into the current profile and redraws; nothing here writes a file.

#include "mainwindow.h"
#include "model/warning.h"
#include "picbox.h"
#include "pickers.h"
#include "render/drawstamp.h"
#include "storage/profilefile.h"
#include "ui/common/storabletext.h"
#include "updown.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace pellimo {

namespace {

QString unstorableFontWarning(const QString &fontName, const QString &characters)
{
    return joinMessageLines({
        QStringLiteral(u"フォント名「") + fontName +
            QStringLiteral(u"」にはデータファイルに保存できない文字が含まれています：「") +
            characters + QStringLiteral(u"」"),
        QStringLiteral(u"このフォントは使えません。フォントは変更されていません。"),
    });
}

} // namespace

bool MainWindow::drawStamp()
{
    m_lastDrawSucceeded = pellimo::drawStamp(m_picBase, m_state.profile, m_state.currentUser);
    m_picBaseView->update();
    Q_EMIT stampDrawn();
    return m_lastDrawSucceeded;
}

void MainWindow::onRadiusChanged(int value)
{
    m_state.profile.radius = static_cast<int16_t>(value);
    spinner(SpinnerId::RadUpDown).label->setText(QString::number(m_state.profile.radius));
    if (!m_isLoading)
        drawStamp();
}

void MainWindow::onLineWidthChanged(int value)
{
    m_state.profile.lineWidth = static_cast<int16_t>(value);
    spinner(SpinnerId::WtUpDown).label->setText(QString::number(m_state.profile.lineWidth));
    if (!m_isLoading)
        drawStamp();
}

void MainWindow::onBandChanged(int index)
{
    StampProfile &p = m_state.profile;
    const SpinnerControls &top = spinner(areaUpdown(0));
    const SpinnerControls &bottom = spinner(areaUpdown(1));
    spinner(areaUpdown(index))
        .label->setText(QString::number(spinner(areaUpdown(index)).spinner->value()));
    if (!m_isLoading) {
        // Both bands come from their spinners, whichever of the two moved.
        p.topAreaPercent = static_cast<int16_t>(top.spinner->value());
        p.bottomAreaPercent = static_cast<int16_t>(bottom.spinner->value());
    }
    top.label->setText(QString::number(p.topAreaPercent));
    bottom.label->setText(QString::number(p.bottomAreaPercent));
    if (!m_isLoading)
        drawStamp();
}

void MainWindow::onOffsetChanged(int index)
{
    // 0..3: vertical offset of line index; 4..7: horizontal offset of line index - 4.
    StampItem &item = m_state.profile.items[size_t(index % kItemCount)];
    int16_t &offset = index < kItemCount ? item.offsetY : item.offsetX;
    const SpinnerControls &controls = spinner(scUpDown(index));
    if (!m_isLoading)
        offset = static_cast<int16_t>(controls.spinner->value());
    controls.label->setText(QString::number(offset));
    if (!m_isLoading)
        drawStamp();
}

void MainWindow::onItemFocusLost(int index)
{
    m_typedInto[index] = false;
    m_state.profile.items[index].text = m_txtItem[index]->text();
    if (!m_isLoading)
        drawStamp();
}

void MainWindow::refuseUnstorableText(int index)
{
    QLineEdit *box = m_txtItem[index];
    replaceLookAlikesIn(box);
    const QString bad = unstorableCharacters(box->text());
    if (bad.isEmpty())
        return;
    // Take the characters out where they were typed, so that what is saved is what is shown, and
    // say so without taking the keys that follow.
    takeCharactersOut(box, bad);
    showNoticeAt(box, unstorableTextNotice(bad));
}

void MainWindow::onUserActivated(int entry)
{
    if (entry < 0)
        return;
    m_state.currentUser = static_cast<int16_t>(entry + 1);
    if (m_isLoading)
        return;

    // Edits not saved by Set are dropped; the new user's file is read, or the defaults used.
    loadCurrentProfile(m_state);

    m_isLoading = true;
    (void)putDateLine(m_state, m_now());
    fillControlsFromProfile();
    m_isLoading = false;
    drawStamp();
}

void MainWindow::onFontClicked(int index)
{
    StampItem &item = m_state.profile.items[index];
    const FontChoice given{item.fontName, double(item.fontSize), item.bold, item.italic};
    const FontChoice picked = m_pickers->chooseFont(given, this);
    if (picked != given) {
        const QString bad = unstorableCharacters(picked.name);
        if (!bad.isEmpty()) {
            showWarning(unstorableFontWarning(picked.name, bad));
        } else {
            item.fontName = picked.name;
            // A size the field cannot hold keeps the line's size.
            if (const auto size = fontSizeFromPoints(picked.pointSize))
                item.fontSize = *size;
            item.bold = picked.bold;
            item.italic = picked.italic;
        }
    }
    drawStamp();
}

void MainWindow::onColourClicked()
{
    m_state.profile.colour = m_pickers->chooseColour(m_state.profile.colour, this);
    drawStamp();
}

} // namespace pellimo
