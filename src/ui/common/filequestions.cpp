// SPDX-License-Identifier: MIT
#include "filequestions.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMetaObject>
#include <QPointer>
#include <QRegularExpression>

namespace pellimo {

namespace {

QWidget *windowOf(QWidget *widget)
{
    return widget ? widget->window() : nullptr;
}

// Runs the dialog; the chosen file, or empty when cancelled or when the dialog went away.
QString runDialog(QFileDialog *dialog)
{
    const QPointer<QFileDialog> guard(dialog);
    const int answer = dialog->exec();
    if (guard.isNull())
        return QString();
    const QStringList files = dialog->selectedFiles();
    const QString filter = dialog->selectedNameFilter();
    const bool saving = dialog->acceptMode() == QFileDialog::AcceptSave;
    dialog->deleteLater();
    if (answer != QDialog::Accepted || files.isEmpty() || files.first().isEmpty())
        return QString();
    QString file = files.first();
    if (saving && QFileInfo(file).suffix().isEmpty() && !filterSuffix(filter).isEmpty())
        file += QLatin1Char('.') + filterSuffix(filter);
    return file;
}

} // namespace

QString filterSuffix(const QString &filter)
{
    static const QRegularExpression firstType(QStringLiteral(R"(\*\.([A-Za-z0-9]+))"));
    const QRegularExpressionMatch match = firstType.match(filter);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

QString askSaveFileName(QWidget *parent, const QString &title, const QString &proposed,
                        const QStringList &filters)
{
    auto *dialog = new QFileDialog(windowOf(parent), title);
    dialog->setObjectName(QStringLiteral("dlgSaveFile"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    dialog->setNameFilters(filters);
    if (!proposed.isEmpty()) {
        const QFileInfo info(proposed);
        dialog->setDirectory(info.absolutePath());
        dialog->selectFile(info.fileName());
    }
    return runDialog(dialog);
}

QString askOpenFileName(QWidget *parent, const QString &title, const QStringList &filters)
{
    auto *dialog = new QFileDialog(windowOf(parent), title);
    dialog->setObjectName(QStringLiteral("dlgOpenFile"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters(filters);
    return runDialog(dialog);
}

void runAfterCurrentEvent(QObject *context, std::function<void()> work)
{
    (void)QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
}

} // namespace pellimo
