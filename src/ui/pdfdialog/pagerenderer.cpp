// SPDX-License-Identifier: MIT
#include "pagerenderer.h"

#include <QFileInfo>
#include <QTimer>
#include <csignal>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <utility>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELLIMO_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PELLIMO_ADDRESS_SANITIZER 1
#endif

namespace pellimo {

using pdfpage::Frame;
using pdfpage::FrameType;

namespace {

QString seconds(int ms)
{
    return QString::number(ms / 1000.0, 'g', 3);
}

// Runs in the renderer between fork and exec: system calls only.
void applyLimits(const RenderLimits &limits) noexcept
{
#ifndef PELLIMO_ADDRESS_SANITIZER // which needs terabytes of address space for its shadow
    const rlimit memory{rlim_t(limits.memoryBytes), rlim_t(limits.memoryBytes)};
    ::setrlimit(RLIMIT_AS, &memory);
#endif
    const rlimit cpu{rlim_t(limits.cpuSeconds), rlim_t(limits.cpuSeconds) + 5};
    ::setrlimit(RLIMIT_CPU, &cpu);
    const rlimit core{0, 0}; // a page that crashes it leaves no core file behind
    ::setrlimit(RLIMIT_CORE, &core);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL); // and it never outlives the program
    ::setpriority(PRIO_PROCESS, 0, ::getpriority(PRIO_PROCESS, 0) + 5);
}

} // namespace

PageRenderer::PageRenderer(const QString &program, const QString &pdf, const RenderLimits &limits,
                           QObject *parent)
    : QObject(parent), m_program(program), m_pdf(pdf), m_limits(limits),
      m_deadline(new QTimer(this)), m_supersede(new QTimer(this))
{
    m_deadline->setSingleShot(true);
    m_supersede->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, &PageRenderer::deadlinePassed);
    connect(m_supersede, &QTimer::timeout, this, &PageRenderer::considerGivingUp);
}

PageRenderer::~PageRenderer()
{
    // This one and those still ending: killed, and waited for (a killed process ends at once).
    for (QProcess *process : findChildren<QProcess *>(Qt::FindDirectChildrenOnly)) {
        process->disconnect();
        process->kill();
        process->waitForFinished(1000);
    }
}

void PageRenderer::start()
{
    if (!m_process && m_broken.isEmpty())
        launch();
}

qint64 PageRenderer::processId() const
{
    return m_process ? m_process->processId() : 0;
}

void PageRenderer::launch()
{
    m_reader = {};
    m_process = new QProcess(this);
    m_process->setObjectName(QStringLiteral("pdfPageProcess"));
    m_process->setStandardErrorFile(QProcess::nullDevice());
    m_process->setChildProcessModifier([limits = m_limits] { applyLimits(limits); });
    connect(m_process, &QProcess::readyReadStandardOutput, this, &PageRenderer::readFrames);
    connect(m_process, &QProcess::finished, this, &PageRenderer::finished);
    connect(m_process, &QProcess::errorOccurred, this, &PageRenderer::startFailed);
    m_pagesDrawn = 0;
    QStringList arguments{m_pdf,
                          QStringLiteral("--retire-after=%1").arg(m_limits.cpuSeconds / 4.0)};
    if (m_pagesKnown)
        arguments << QStringLiteral("--no-sizes");
    enter(Phase::Opening, m_limits.openMs);
    m_process->start(m_program, arguments);
}

void PageRenderer::enter(Phase phase, int ms)
{
    m_phase = phase;
    m_phaseClock.start();
    m_supersede->stop();
    if (phase == Phase::Idle)
        m_deadline->stop();
    else
        m_deadline->start(ms);
}

bool PageRenderer::waitForPages(int expectedPages, QList<QSizeF> &sizesPt)
{
    start();
    QElapsedTimer clock;
    clock.start();
    while (!m_pagesKnown && m_broken.isEmpty() && m_process) {
        const qint64 left = m_limits.openMs - clock.elapsed();
        if (left <= 0) {
            deadlinePassed();
            break;
        }
        // Signals are delivered inside: the frames are read, a death is seen.
        m_process->waitForReadyRead(int(left));
    }
    if (!m_broken.isEmpty() || !m_pagesKnown)
        return false;
    if (m_pageCount != expectedPages || m_sizesPt.size() != m_pageCount) {
        markBroken(QStringLiteral(u"表示用の読み取りではページ数が %1 です").arg(m_pageCount));
        return false;
    }
    sizesPt = m_sizesPt;
    return true;
}

void PageRenderer::request(int page, QSize box)
{
    if (m_current && m_current->page == page && m_current->box == box) {
        m_pending.reset();
        return;
    }
    m_pending = Request{page, box};
    if (!m_current)
        sendPending();
    else
        considerGivingUp();
}

void PageRenderer::sendPending()
{
    if (!m_broken.isEmpty()) {
        if (const std::optional<Request> r = std::exchange(m_pending, std::nullopt))
            Q_EMIT pageFailed(r->page, m_broken);
        return;
    }
    if (m_current || !m_pending)
        return;
    m_current = std::exchange(m_pending, std::nullopt);
    if (!m_process)
        launch(); // may fail at once, and then the request has been answered
    if (!m_process || !m_current)
        return;
    if (m_phase == Phase::Idle)
        enter(Phase::Locating, m_limits.locateMs);
    m_process->write(pdfpage::requestLine(m_current->page, m_current->box));
}

// A page drawn for a while that nobody wants any more: the renderer is ended (it cannot be told
// to stop) and a fresh one draws the page wanted now.
void PageRenderer::considerGivingUp()
{
    if (!m_pending || !m_current || m_phase != Phase::Drawing)
        return;
    const qint64 left = kSupersedeMs - m_phaseClock.elapsed();
    if (left > 0) {
        m_supersede->start(int(left));
        return;
    }
    stop(QString());
    sendPending();
}

void PageRenderer::readFrames()
{
    if (!m_process)
        return;
    m_reader.append(m_process->readAllStandardOutput());
    while (m_process) {
        const std::optional<Frame> frame = m_reader.next();
        if (!frame)
            break;
        handle(*frame);
    }
    if (m_process && m_reader.failed()) {
        stop(QStringLiteral(u"描画の応答が読めませんでした"));
        sendPending();
    }
}

void PageRenderer::handle(const Frame &frame)
{
    const QString garbled = QStringLiteral(u"描画の応答が読めませんでした");
    int page = 0;
    switch (frame.type) {
    case FrameType::Pages: {
        int count = 0;
        QList<QSizeF> sizes;
        if (m_phase != Phase::Opening || !pdfpage::decodePages(frame.payload, count, sizes)) {
            stop(garbled);
            break;
        }
        if (!m_pagesKnown) {
            m_pagesKnown = true;
            m_pageCount = count;
            m_sizesPt = sizes;
        } else if (count != m_pageCount) {
            markBroken(QStringLiteral(u"PDF が変わりました"));
            return;
        }
        if (m_current)
            enter(Phase::Locating, m_limits.locateMs);
        else
            enter(Phase::Idle, 0);
        return;
    }
    case FrameType::Located:
        if (!m_current || m_phase != Phase::Locating || !pdfpage::decodePage(frame.payload, page) ||
            page != m_current->page) {
            stop(garbled);
            break;
        }
        enter(Phase::Drawing, m_limits.drawMs);
        considerGivingUp();
        return;
    case FrameType::Picture: {
        QImage picture;
        if (!m_current || m_phase != Phase::Drawing ||
            !pdfpage::decodePicture(frame.payload, page, picture) || page != m_current->page) {
            stop(garbled);
            break;
        }
        m_current.reset();
        ++m_pagesDrawn;
        enter(Phase::Idle, 0);
        Q_EMIT pageReady(page, picture);
        break;
    }
    case FrameType::Failed:
        stop(QStringLiteral(u"このページを描けませんでした"));
        break;
    case FrameType::Refused:
        markBroken(QStringLiteral(u"この PDF を開けませんでした"));
        return;
    }
    sendPending();
}

void PageRenderer::finished(int exitCode, QProcess::ExitStatus status)
{
    readFrames(); // what it said before it ended
    if (!m_process)
        return; // answered and dealt with
    const QString why =
        status == QProcess::CrashExit || exitCode != 0
            ? QStringLiteral(u"描画が異常終了しました（メモリーの上限を超えたか、PDF "
                             u"に扱えないところがあります）")
            : QStringLiteral(u"描画が途中で終わりました");
    if (!m_pagesKnown) {
        markBroken(why);
        return;
    }
    // Retired after its last answer, before it read the request that followed: asked again.
    const bool retired = status == QProcess::NormalExit && exitCode == 0 && m_pagesDrawn > 0 &&
                         m_current && m_phase == Phase::Locating;
    if (retired && !m_pending)
        m_pending = m_current;
    stop(retired ? QString() : why);
    sendPending();
}

void PageRenderer::startFailed(QProcess::ProcessError error)
{
    if (error == QProcess::FailedToStart)
        markBroken(QStringLiteral(u"PDF を表示する部品 %1 を起動できません")
                       .arg(QFileInfo(m_program).fileName()));
}

void PageRenderer::deadlinePassed()
{
    switch (m_phase) {
    case Phase::Idle:
        return;
    case Phase::Opening:
        if (!m_pagesKnown) {
            markBroken(QStringLiteral(u"PDF を %1 秒以内に読めませんでした")
                           .arg(seconds(m_limits.openMs)));
            return;
        }
        stop(QStringLiteral(u"PDF を %1 秒以内に読めませんでした").arg(seconds(m_limits.openMs)));
        break;
    case Phase::Locating:
        stop(QStringLiteral(u"ページを %1 秒以内に見つけられませんでした")
                 .arg(seconds(m_limits.locateMs)));
        break;
    case Phase::Drawing:
        stop(QStringLiteral(u"%1 秒たっても描き終わりませんでした").arg(seconds(m_limits.drawMs)));
        break;
    }
    sendPending();
}

void PageRenderer::stop(const QString &why)
{
    if (QProcess *process = std::exchange(m_process, nullptr)) {
        process->disconnect(this);
        // Deleted once it has ended, and not here: this may run inside one of its signals.
        if (process->state() == QProcess::NotRunning) {
            process->deleteLater();
        } else {
            connect(process, &QProcess::finished, process, &QObject::deleteLater);
            process->kill();
        }
    }
    m_reader = {};
    const std::optional<Request> lost = std::exchange(m_current, std::nullopt);
    enter(Phase::Idle, 0);
    if (lost && !why.isEmpty())
        Q_EMIT pageFailed(lost->page, why);
}

void PageRenderer::markBroken(const QString &why)
{
    m_broken = why;
    stop(why);
    if (const std::optional<Request> r = std::exchange(m_pending, std::nullopt))
        Q_EMIT pageFailed(r->page, why);
}

} // namespace pellimo
