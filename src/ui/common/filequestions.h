// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace pellimo {

// Every file dialog of the program goes through these. The dialog is a window of its own parented
// to `parent`'s window, made on the heap and watched: whatever is closed or deleted while it runs
// (the menu that asked for it, the window), nothing is deleted twice or used after its end. Call
// them from a plain event, never from inside a menu's signal: see runAfterCurrentEvent.

// A name to save under, `proposed` filled in (a full path: its folder is opened). The dialog does
// not ask about an existing file: the caller asks about the name it will really write. A name
// typed without a type gets the one of the chosen filter ("PNG 画像 (*.png)" gives .png). Empty
// when the user cancels.
QString askSaveFileName(QWidget *parent, const QString &title, const QString &proposed,
                        const QStringList &filters);

// An existing file to open; empty when the user cancels.
QString askOpenFileName(QWidget *parent, const QString &title, const QStringList &filters);

// The first type of a filter such as "PNG 画像 (*.png)", without its dot: "png"; empty for none.
QString filterSuffix(const QString &filter);

// Runs `work` once the event being handled has ended and what handled it has returned (a menu's
// `triggered` signal, a click): a dialog opened there would run its own event loop inside the
// menu's code, and the menu, closed and deleted meanwhile, would be returned into. Nothing runs
// when `context` is gone by then.
void runAfterCurrentEvent(QObject *context, std::function<void()> work);

} // namespace pellimo
