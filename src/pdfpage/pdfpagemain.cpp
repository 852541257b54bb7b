// SPDX-License-Identifier: MIT
// pellimo-pdfpage PDF [--no-sizes] [--retire-after=SECONDS]: draws the pages of one PDF for the
// "PDF に押印" dialog, in a
// process of its own, so that a page that takes all the memory or never ends costs this process
// and not the window. The dialog sets its limits (address space, CPU time) and ends it when a
// page takes too long. What they say to each other is in pageprotocol.h.

#include "pagedocument.h"
#include "pageprotocol.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace pellimo::pdfpage;

namespace {

int g_channel = -1;

struct Options {
    bool sizes = true; // every page's size, up front
    // Past this much CPU time the renderer ends after its answer, and the dialog starts a fresh
    // one for the next page: the CPU-time limit it runs under then never ends a short page.
    double retireAfterCpuSeconds = 30;
};

bool parseOptions(int argc, char **argv, Options &options)
{
    for (int i = 2; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        bool ok = true;
        if (arg == "--no-sizes")
            options.sizes = false;
        else if (arg.startsWith("--retire-after="))
            options.retireAfterCpuSeconds = arg.mid(15).toDouble(&ok);
        else
            ok = false;
        if (!ok || !(options.retireAfterCpuSeconds > 0))
            return false;
    }
    return argc >= 2;
}

bool send(FrameType type, const QByteArray &payload)
{
    const QByteArray bytes = frame(type, payload);
    const char *at = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(g_channel, at, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
        left -= n;
    }
    return true;
}

// The request lines on stdin, read with read(2): nothing buffered where the renderer cannot see it.
class RequestLines {
public:
    enum class Status { Line, End, Malformed };

    // The next line, without its end. End: stdin ended between lines; Malformed: in a line, or
    // the line is longer than any request.
    Status next(QByteArray &line)
    {
        for (;;) {
            if (const auto *end = static_cast<const char *>(std::memchr(m_buffer, '\n', m_used))) {
                const size_t length = size_t(end - m_buffer);
                line = QByteArray(m_buffer, qsizetype(length));
                m_used -= length + 1;
                std::memmove(m_buffer, end + 1, m_used);
                return Status::Line;
            }
            if (m_used == sizeof m_buffer)
                return Status::Malformed;
            const ssize_t n = ::read(STDIN_FILENO, m_buffer + m_used, sizeof m_buffer - m_used);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return m_used == 0 && n == 0 ? Status::End : Status::Malformed;
            m_used += size_t(n);
        }
    }

private:
    char m_buffer[128];
    size_t m_used = 0;
};

double cpuSeconds()
{
    rusage use{};
    ::getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

// Answers requests until stdin ends; the status to exit with.
int serve(PageDocument &document, const Options &options)
{
    RequestLines requests;
    for (;;) {
        QByteArray line;
        const RequestLines::Status status = requests.next(line);
        if (status == RequestLines::Status::End)
            return 0;
        int page = 0;
        QSize box;
        if (status == RequestLines::Status::Malformed || !parseRequest(line, page, box))
            return 2;
        if (!document.locate(page)) {
            send(FrameType::Failed, encodePage(page));
            return 1;
        }
        if (!send(FrameType::Located, encodePage(page)))
            return 1;
        const QImage picture = document.draw(box);
        if (picture.isNull()) {
            // Ended after a failure, so that whatever it took is given back.
            send(FrameType::Failed, encodePage(page));
            return 1;
        }
        if (!send(FrameType::Picture, encodePicture(page, picture)))
            return 1;
        ::malloc_trim(0);
        if (cpuSeconds() > options.retireAfterCpuSeconds)
            return 0;
    }
}

} // namespace

int main(int argc, char **argv)
{
    // The answers go out on what was stdout; anything a library prints goes to stderr instead.
    g_channel = ::dup(STDOUT_FILENO);
    if (g_channel < 0 || ::dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        return 2;
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: %s PDF [--no-sizes] [--retire-after=SECONDS]\n",
                     argc > 0 ? argv[0] : "pellimo-pdfpage");
        return 2;
    }
    PageDocument document;
    if (!document.open(QByteArray(argv[1])) || document.pageCount() < 1 ||
        document.pageCount() > kMaxPages) {
        send(FrameType::Refused, {});
        return 1;
    }
    const QList<QSizeF> sizes = options.sizes ? document.pageSizes() : QList<QSizeF>();
    if (!send(FrameType::Pages, encodePages(document.pageCount(), sizes)))
        return 1;
    return serve(document, options);
}
