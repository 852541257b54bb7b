// SPDX-License-Identifier: MIT
// A small BER reader that writes DER: tags are copied, lengths made definite and minimal, SET
// members sorted by their encoding. Input may come from a file, so every read is bounds-checked
// and the nesting is limited.
#include "pdfsign/ber.h"

#include <QList>
#include <algorithm>

namespace pellimo {

namespace {

constexpr int kDeepest = 32;
constexpr unsigned char kSet = 0x31;

QByteArray lengthBytes(qsizetype length)
{
    if (length < 0x80)
        return QByteArray(1, char(length));
    QByteArray digits;
    for (qsizetype n = length; n > 0; n >>= 8)
        digits.prepend(char(n & 0xff));
    return char(0x80 | digits.size()) + digits;
}

class Reader {
public:
    explicit Reader(QByteArrayView in) : m_in(in) {}
    qsizetype pos() const { return m_pos; }

    // One element at the current position, appended to `out` as DER.
    bool element(QByteArray &out, int depth)
    {
        if (depth > kDeepest || m_pos >= m_in.size())
            return false;
        const qsizetype start = m_pos;
        const auto first = byte();
        if ((first & 0x1f) == 0x1f) // a tag number of several bytes
            do {
                if (m_pos >= m_in.size())
                    return false;
            } while (byte() & 0x80);
        const QByteArrayView tag = m_in.sliced(start, m_pos - start);
        const bool constructed = first & 0x20;
        if (m_pos >= m_in.size())
            return false;
        const auto lead = byte();
        QList<QByteArray> parts;
        if (lead == 0x80) { // open length: members up to two zero bytes
            if (!constructed)
                return false;
            for (;;) {
                if (m_pos + 2 > m_in.size())
                    return false;
                if (m_in[m_pos] == 0 && m_in[m_pos + 1] == 0) {
                    m_pos += 2;
                    break;
                }
                if (!element(parts.emplace_back(), depth + 1))
                    return false;
            }
        } else {
            qsizetype length = lead;
            if (lead > 0x80) {
                const int count = lead & 0x7f;
                if (count > 4 || m_pos + count > m_in.size())
                    return false;
                length = 0;
                for (int i = 0; i < count; ++i)
                    length = (length << 8) | byte();
            }
            if (length > m_in.size() - m_pos)
                return false;
            const qsizetype end = m_pos + length;
            if (!constructed) {
                parts << m_in.sliced(m_pos, length).toByteArray();
                m_pos = end;
            }
            while (constructed && m_pos < end)
                if (!element(parts.emplace_back(), depth + 1) || m_pos > end)
                    return false;
        }
        if (first == kSet)
            std::sort(parts.begin(), parts.end());
        QByteArray content;
        for (const QByteArray &p : parts)
            content += p;
        out += tag.toByteArray() + lengthBytes(content.size()) + content;
        return true;
    }

private:
    unsigned char byte() { return static_cast<unsigned char>(m_in[m_pos++]); }
    QByteArrayView m_in;
    qsizetype m_pos = 0;
};

} // namespace

std::optional<BerElement> berToDer(QByteArrayView ber)
{
    Reader reader(ber);
    BerElement element;
    if (!reader.element(element.der, 0))
        return std::nullopt;
    element.end = reader.pos();
    return element;
}

} // namespace pellimo
