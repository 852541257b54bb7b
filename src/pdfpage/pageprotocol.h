// SPDX-License-Identifier: MIT
#pragma once

// What pellimo-pdfpage and the "PDF に押印" dialog say to each other. The dialog writes one line
// per request on the renderer's stdin, "PAGE WIDTH HEIGHT" (the page, 1-based, to be drawn to
// fit WIDTH x HEIGHT pixels); the renderer answers on its stdout in frames: a type byte, a 32-bit
// length, then that many bytes of payload. The renderer's answers are read as untrusted input: a
// frame that is too long or does not parse ends the conversation.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QSizeF>
#include <optional>

namespace pellimo::pdfpage {

enum class FrameType : quint8 {
    Pages = 1,   // the page count and each page's size in points as shown; sent once, first
    Located = 2, // the requested page was found in the file; its drawing starts
    Picture = 3, // the requested page, drawn
    Failed = 4,  // the requested page could not be drawn; the renderer exits after saying so
    Refused = 5, // the file could not be opened; the renderer exits after saying so
};

inline constexpr qint64 kMaxImagePixels = 4'000'000; // whatever the page's size in points
inline constexpr int kMaxPages = 2'000'000;
inline constexpr qint64 kMaxFrameBytes = qint64(kMaxPages) * 16 + 64;

struct Frame {
    FrameType type;
    QByteArray payload;
};

QByteArray frame(FrameType type, const QByteArray &payload);

// Payloads. Empty sizes in encodePages: the count alone (the sizes known already).
QByteArray encodePages(int count, const QList<QSizeF> &sizesPt);
QByteArray encodePage(int page);
QByteArray encodePicture(int page, const QImage &picture);

bool decodePages(const QByteArray &payload, int &count, QList<QSizeF> &sizesPt);
bool decodePage(const QByteArray &payload, int &page);
// The picture comes back in QImage::Format_RGB32, at most kMaxImagePixels large.
bool decodePicture(const QByteArray &payload, int &page, QImage &picture);

// Splits the byte stream into frames.
class FrameReader {
public:
    void append(const QByteArray &bytes) { m_buffer += bytes; }
    // The next whole frame, if there is one. After a malformed frame (unknown type, too long)
    // failed() is true and nothing more is returned.
    std::optional<Frame> next();
    bool failed() const { return m_failed; }

private:
    QByteArray m_buffer;
    qsizetype m_at = 0;
    bool m_failed = false;
};

// A request line and its reading; false for anything but three numbers in range.
QByteArray requestLine(int page, QSize box);
bool parseRequest(const QByteArray &line, int &page, QSize &box);

// The resolution, in dots per inch, at which a page `pagePt` large fits `box` pixels (at most
// 100,000 a side), and the picture then drawn stays within kMaxImagePixels, rounded up; 0 for an
// empty or infinite page or box.
double fittingDpi(QSizeF pagePt, QSize box);

} // namespace pellimo::pdfpage
