// SPDX-License-Identifier: MIT
#include "stampbatch.h"

#include "render/stampvector.h"
#include "storage/filenames.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <dirent.h>
#include <future>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace pellimo {

namespace {

// How long a batch runs before it shows its progress, and how often the line is redrawn.
constexpr qint64 kProgressAfterMs = 1000;
constexpr int kProgressTickMs = 100;

struct Job {
    QString in;
    QString out;
    QString refusal; // known before stamping: the job is not run
};

// The names of the PDF files in `folder` (regular files or links to them, hidden ones too), in
// order, spelled as storage/filenames.h spells names. Not QDir: it leaves out names that are not
// UTF-8 (a folder unpacked from a Windows archive holds CP932 names) without a word.
QStringList pdfFilesIn(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(fileNameBytes(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = fileNameFromBytes(entry->d_name);
        struct stat st {};
        if (name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) &&
            ::fstatat(::dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            names << name;
    }
    ::closedir(dir);
    names.sort();
    return names;
}

} // namespace

QStringList expandInputs(const QStringList &names, const std::function<QStringList()> &readNames)
{
    QStringList files;
    for (const QString &name : names) {
        if (name == QStringLiteral("-")) {
            if (readNames)
                for (const QString &line : readNames())
                    if (!line.isEmpty())
                        files << line;
            continue;
        }
        if (!isFolderName(name)) {
            files << name;
            continue;
        }
        const QDir dir(name);
        for (const QString &file : pdfFilesIn(name))
            files << dir.filePath(file);
    }
    return files;
}

QString batchOutputName(const QString &in, const QString &outDir, const QString &suffix)
{
    QString name = QFileInfo(in).fileName();
    if (name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        name.chop(4);
    return QDir(outDir).filePath(name + suffix + QStringLiteral(".pdf"));
}

int runStampBatch(const StampOptions &o, const StampGeometry &geometry, double diameterMm,
                  const PdfStampRecord &record, const StampToolIo &io, QString &error)
{
    const QStringList inputs = expandInputs(QStringList{o.file} + o.moreInputs, io.readNames);
    if (inputs.isEmpty()) {
        error = QCoreApplication::translate("pellimo", "no PDF files to stamp");
        return 1;
    }
    // Two inputs of the same name in different folders would write the same copy: the later
    // ones are refused rather than overwriting the first one's copy.
    std::vector<Job> jobs;
    QHash<QString, QString> outputs; // copy -> the input it belongs to
    for (const QString &in : inputs) {
        Job job{in, batchOutputName(in, o.outDir, o.suffix), {}};
        const QString key = QFileInfo(job.out).absoluteFilePath();
        if (outputs.contains(key))
            job.refusal =
                QCoreApplication::translate(
                    "pellimo", "its copy %1 would replace the copy of %2; it is not stamped")
                    .arg(job.out, outputs.value(key));
        else
            outputs.insert(key, in);
        jobs.push_back(job);
    }
    // The stamp's picture is drawn once, here, for every file.
    const PdfStampPlan plan = stampPlan(o, diameterMm);
    const QByteArray stampPage = o.flatten ? QByteArray() : stampPdf(geometry, diameterMm);
    if (!o.flatten && stampPage.isEmpty()) {
        error = QCoreApplication::translate("pellimo", "the stamp could not be drawn as PDF");
        return 1;
    }

    std::mutex mutex;
    std::condition_variable finished;
    std::vector<std::optional<PdfResult>> results(jobs.size());
    size_t next = 0, done = 0;
    const auto work = [&] {
        for (;;) {
            size_t i;
            {
                const std::lock_guard lock(mutex);
                if (next == jobs.size())
                    return;
                i = next++;
            }
            const Job &job = jobs[i];
            PdfResult r;
            if (!job.refusal.isEmpty())
                r.error = job.refusal;
            else if (o.flatten)
                r = flattenOne(o, job.in, job.out, geometry, diameterMm);
            else
                r = stampPdfPages(job.in, job.out, plan, geometry, stampPage, record);
            {
                const std::lock_guard lock(mutex);
                results[i] = r;
                ++done;
            }
            finished.notify_one();
        }
    };
    const size_t threads = std::min(jobs.size(), size_t(std::max(1, QThread::idealThreadCount())));
    std::vector<std::future<void>> workers;
    for (size_t t = 0; t < threads; ++t)
        workers.push_back(std::async(std::launch::async, work));

    // Results are told in the order of the inputs, as they come in.
    QElapsedTimer clock;
    clock.start();
    size_t told = 0, stamped = 0, shownDone = SIZE_MAX;
    bool progressShown = false;
    std::unique_lock lock(mutex);
    while (told < jobs.size()) {
        finished.wait_for(lock, std::chrono::milliseconds(kProgressTickMs));
        std::vector<std::pair<QString, PdfResult>> toTell;
        while (told < jobs.size() && results[told]) {
            toTell.emplace_back(jobs[told].in, *results[told]);
            ++told;
        }
        const size_t doneNow = done;
        lock.unlock();
        for (const auto &[in, r] : toTell) {
            stamped += bool(r);
            const QString line = r ? r.notice : r.error;
            if (!line.isEmpty() && io.note) {
                io.note(QStringLiteral("%1: %2").arg(in, line));
                shownDone = SIZE_MAX; // the note took the progress line's place: draw it again
            }
        }
        if (io.progress && doneNow < jobs.size() && clock.elapsed() >= kProgressAfterMs &&
            doneNow != shownDone) {
            io.progress(QCoreApplication::translate("pellimo", "%1 of %2 files done, %3 left")
                            .arg(doneNow)
                            .arg(jobs.size())
                            .arg(jobs.size() - doneNow));
            shownDone = doneNow;
            progressShown = true;
        }
        lock.lock();
    }
    lock.unlock();
    for (std::future<void> &worker : workers)
        worker.get();
    if (progressShown)
        io.progress(QString());
    const QString summary =
        stamped == jobs.size()
            ? QCoreApplication::translate("pellimo", "%1 of %2 files stamped into %3")
                  .arg(stamped)
                  .arg(jobs.size())
                  .arg(o.outDir)
            : QCoreApplication::translate("pellimo", "%1 of %2 files stamped into %3, %4 failed")
                  .arg(stamped)
                  .arg(jobs.size())
                  .arg(o.outDir)
                  .arg(jobs.size() - stamped);
    if (io.note)
        io.note(summary);
    error.clear();
    return stamped == jobs.size() ? 0 : 1;
}

} // namespace pellimo
