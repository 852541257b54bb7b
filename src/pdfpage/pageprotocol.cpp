// SPDX-License-Identifier: MIT
#include "pageprotocol.h"

#include <QDataStream>
#include <QIODevice>
#include <cmath>
#include <cstring>

namespace pellimo::pdfpage {

namespace {

constexpr int kHeaderBytes = 5; // the type byte and the 32-bit length

bool knownType(quint8 type)
{
    return type >= quint8(FrameType::Pages) && type <= quint8(FrameType::Refused);
}

bool usableSize(QSizeF s)
{
    return std::isfinite(s.width()) && std::isfinite(s.height()) && s.width() > 0 && s.height() > 0;
}

} // namespace

QByteArray frame(FrameType type, const QByteArray &payload)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s << quint8(type) << quint32(payload.size());
    return out + payload;
}

QByteArray encodePages(int count, const QList<QSizeF> &sizesPt)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s << qint32(count) << qint32(sizesPt.size());
    for (const QSizeF &size : sizesPt)
        s << size.width() << size.height();
    return out;
}

QByteArray encodePage(int page)
{
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s << qint32(page);
    return out;
}

QByteArray encodePicture(int page, const QImage &picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s << qint32(page) << qint32(rgb.width()) << qint32(rgb.height());
    const qsizetype row = qsizetype(rgb.width()) * 4;
    out.reserve(out.size() + row * rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        out.append(reinterpret_cast<const char *>(rgb.constScanLine(y)), row);
    return out;
}

bool decodePages(const QByteArray &payload, int &count, QList<QSizeF> &sizesPt)
{
    QDataStream s(payload);
    qint32 pages = 0, sizes = 0;
    s >> pages >> sizes;
    if (s.status() != QDataStream::Ok || pages < 1 || pages > kMaxPages ||
        (sizes != 0 && sizes != pages) || payload.size() != 8 + qsizetype(sizes) * 16)
        return false;
    sizesPt.clear();
    sizesPt.reserve(sizes);
    for (qint32 i = 0; i < sizes; ++i) {
        double w = 0, h = 0;
        s >> w >> h;
        // A size no page can have stays unknown.
        sizesPt << (usableSize({w, h}) ? QSizeF(w, h) : QSizeF());
    }
    count = pages;
    return s.status() == QDataStream::Ok;
}

bool decodePage(const QByteArray &payload, int &page)
{
    QDataStream s(payload);
    qint32 p = 0;
    s >> p;
    if (s.status() != QDataStream::Ok || payload.size() != 4 || p < 1)
        return false;
    page = p;
    return true;
}

bool decodePicture(const QByteArray &payload, int &page, QImage &picture)
{
    QDataStream s(payload);
    qint32 p = 0, w = 0, h = 0;
    s >> p >> w >> h;
    if (s.status() != QDataStream::Ok || p < 1 || w < 1 || h < 1 ||
        qint64(w) * h > kMaxImagePixels || payload.size() != 12 + qint64(w) * h * 4)
        return false;
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    const char *from = payload.constData() + 12;
    for (int y = 0; y < h; ++y, from += qsizetype(w) * 4)
        std::memcpy(image.scanLine(y), from, size_t(w) * 4);
    page = p;
    picture = image;
    return true;
}

std::optional<Frame> FrameReader::next()
{
    if (m_failed || m_buffer.size() - m_at < kHeaderBytes)
        return std::nullopt;
    const auto *head = reinterpret_cast<const uchar *>(m_buffer.constData() + m_at);
    const quint8 type = head[0];
    const quint32 length =
        quint32(head[1]) << 24 | quint32(head[2]) << 16 | quint32(head[3]) << 8 | quint32(head[4]);
    if (!knownType(type) || length > kMaxFrameBytes) {
        m_failed = true;
        m_buffer.clear();
        return std::nullopt;
    }
    if (m_buffer.size() - m_at - kHeaderBytes < qsizetype(length))
        return std::nullopt;
    Frame f{FrameType(type), m_buffer.mid(m_at + kHeaderBytes, length)};
    m_at += kHeaderBytes + length;
    // Drop what has been read once it is most of the buffer, not on every frame.
    if (m_at > m_buffer.size() / 2) {
        m_buffer.remove(0, m_at);
        m_at = 0;
    }
    return f;
}

QByteArray requestLine(int page, QSize box)
{
    return QByteArray::number(page) + ' ' + QByteArray::number(box.width()) + ' ' +
           QByteArray::number(box.height()) + '\n';
}

bool parseRequest(const QByteArray &line, int &page, QSize &box)
{
    const QList<QByteArray> parts = line.trimmed().split(' ');
    if (parts.size() != 3)
        return false;
    bool ok[3] = {};
    const int p = parts[0].toInt(&ok[0]);
    const int w = parts[1].toInt(&ok[1]);
    const int h = parts[2].toInt(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2] || p < 1 || w < 1 || h < 1 || w > 100000 || h > 100000)
        return false;
    page = p;
    box = {w, h};
    return true;
}

double fittingDpi(QSizeF pagePt, QSize box)
{
    if (!usableSize(pagePt) || box.isEmpty())
        return 0;
    double dpi =
        std::min(box.width() * 72.0 / pagePt.width(), box.height() * 72.0 / pagePt.height());
    // 95% of the budget: Poppler rounds each side up, which adds a row and a column at most.
    const double pixelsAt72 = pagePt.width() * pagePt.height();
    dpi = std::min(dpi, 72 * std::sqrt(0.95 * double(kMaxImagePixels) / pixelsAt72));
    return std::isfinite(dpi) && dpi > 0 ? dpi : 0;
}

} // namespace pellimo::pdfpage
