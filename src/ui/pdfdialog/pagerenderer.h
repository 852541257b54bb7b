// SPDX-License-Identifier: MIT
#pragma once

#include "pdfpage/pageprotocol.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QProcess>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <optional>

class QTimer;

namespace pellimo {

// How far the renderer may go.
struct RenderLimits {
    qint64 memoryBytes = qint64(1) << 30; // its address space
    int cpuSeconds = 120; // its CPU time, over its whole life; it retires after a quarter of it
    int openMs = 30000;   // reading the file: the page count and sizes
    int locateMs = 60000; // finding a page (slow late in a file of many pages)
    int drawMs = 10000;   // drawing a page once found
};

// The pages of one PDF drawn by pellimo-pdfpage, a process of its own under memory and time
// limits: a page that crashes it or runs away costs that page's picture, never the window. It
// reads the file once and draws the pages asked for, one at a time. A renderer that failed is
// gone, with all it held; the next page starts a fresh one.
class PageRenderer : public QObject {
    Q_OBJECT
public:
    // A page drawn for longer than this is given up when another page is asked for.
    static constexpr int kSupersedeMs = 1000;

    PageRenderer(const QString &program, const QString &pdf, const RenderLimits &limits,
                 QObject *parent = nullptr);
    ~PageRenderer() override;

    // Starts the renderer; it reads the file while the caller goes on.
    void start();
    // Waits, at most openMs, for the page sizes in points as shown (an invalid size for a page
    // whose size cannot be used). False when the pages cannot be shown (the renderer is missing,
    // failed, or sees another page count than `expectedPages`); every page then fails with
    // failure().
    bool waitForPages(int expectedPages, QList<QSizeF> &sizesPt);
    QString failure() const { return m_broken; }

    // Asks for a page drawn to fit `box` pixels. It replaces a request not yet started.
    void request(int page, QSize box);

    // The running renderer's process id, else 0.
    qint64 processId() const;

Q_SIGNALS:
    void pageReady(int page, const QImage &picture);
    void pageFailed(int page, const QString &why);

private:
    enum class Phase { Idle, Opening, Locating, Drawing };
    struct Request {
        int page = 0;
        QSize box;
    };

    void launch();
    void sendPending();
    void enter(Phase phase, int ms);
    void readFrames();
    void handle(const pdfpage::Frame &frame);
    void finished(int exitCode, QProcess::ExitStatus status);
    void startFailed(QProcess::ProcessError error);
    void deadlinePassed();
    void considerGivingUp();
    // Ends the renderer; the page it was drawing fails with `why` (nothing for an empty `why`).
    void stop(const QString &why);
    void markBroken(const QString &why);

    QString m_program;
    QString m_pdf;
    RenderLimits m_limits;
    QProcess *m_process = nullptr;
    int m_pagesDrawn = 0; // by this process
    pdfpage::FrameReader m_reader;
    bool m_pagesKnown = false; // the first renderer told the page count and sizes
    int m_pageCount = 0;
    QList<QSizeF> m_sizesPt;
    QString m_broken;
    std::optional<Request> m_current;
    std::optional<Request> m_pending;
    Phase m_phase = Phase::Idle;
    QElapsedTimer m_phaseClock;
    QTimer *m_deadline = nullptr;
    QTimer *m_supersede = nullptr;
};

} // namespace pellimo
