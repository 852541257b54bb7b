// SPDX-License-Identifier: MIT
#include "contentbalance.h"

#include "pdflexer.h"
#include "qpdfaccess.h"

#include <memory>
#include <qpdf/Pipeline.hh>
#include <stdexcept>

namespace pellimo::pdf {

namespace {

// Counts q and Q in content fed in chunks. The data of an inline image (after ID, up to EI
// standing alone) is raw bytes: it is skipped without lexing.
class BalanceCounter : public Pipeline {
public:
    BalanceCounter(int64_t limit, ContentBalance &balance)
        : Pipeline("pellimo-balance", nullptr), m_limit(limit), m_balance(balance)
    {
        restart();
    }

    void write(unsigned char const *data, size_t len) override
    {
        m_total += int64_t(len);
        if (m_total > m_limit) {
            m_balance.tooLarge = true;
            throw std::length_error("limit");
        }
        const char *p = reinterpret_cast<const char *>(data);
        size_t i = 0;
        while (i < len) {
            if (m_image) {
                i = skipImage(p, len, i);
                continue;
            }
            const int64_t before = m_lexer->position();
            const bool more = m_lexer->feed(p + i, len - i);
            if (more)
                break;
            // The lexer stopped at ID: the image data starts after its one white-space byte.
            i += size_t(m_imageStart - before);
            m_image = true;
            m_state = 0;
            restart();
        }
    }
    void finish() override { m_lexer->finish(); }
    // A new stream: each content stream is lexed on its own, so a token never spans two.
    void nextStream()
    {
        m_lexer->finish();
        restart();
        m_image = false;
    }

private:
    void restart()
    {
        m_lexer = std::make_unique<Lexer>([this](const Token &t) {
            if (t.kind != TokenKind::Word || t.truncated)
                return true;
            if (t.text == "q")
                ++m_balance.end;
            else if (t.text == "Q")
                m_balance.lowest = std::min(m_balance.lowest, --m_balance.end);
            else if (t.text == "ID") {
                m_imageStart = t.offset + 3;
                return false;
            }
            return true;
        });
    }

    // Past the image data: white space, E, I, then white space or a delimiter.
    size_t skipImage(const char *p, size_t len, size_t i)
    {
        for (; i < len; ++i) {
            const char c = p[i];
            if (m_state == 3) {
                if (isPdfSpace(c) || isPdfDelimiter(c)) {
                    m_image = false;
                    return i; // the byte after EI is lexed again
                }
                m_state = 0;
            }
            if (m_state == 2 && c == 'I')
                m_state = 3;
            else if (m_state == 1 && c == 'E')
                m_state = 2;
            else
                m_state = isPdfSpace(c) ? 1 : 0;
        }
        return i;
    }

    int64_t m_limit;
    ContentBalance &m_balance;
    int64_t m_total = 0;
    std::unique_ptr<Lexer> m_lexer;
    bool m_image = false;
    int64_t m_imageStart = 0;
    int m_state = 0;
};

} // namespace

ContentBalance contentBalance(QPDFObjectHandle page, int64_t limit)
{
    ContentBalance balance;
    QPDFObjectHandle contents = keyOf(page, "/Contents");
    std::vector<QPDFObjectHandle> streams;
    if (contents.isStream())
        streams.push_back(contents);
    else if (contents.isArray())
        streams = contents.getArrayAsVector();
    BalanceCounter counter(limit, balance);
    for (QPDFObjectHandle stream : streams) {
        if (!stream.isStream())
            continue;
        bool read = false;
        try { // qpdf turns the counter's stop into a failed read, except for data in memory
            read = stream.pipeStreamData(&counter, nullptr, 0, qpdf_dl_specialized, true, false);
        } catch (const std::length_error &) {
        }
        if (balance.tooLarge)
            return balance;
        balance.readable = balance.readable && read;
        counter.nextStream();
    }
    return balance;
}

} // namespace pellimo::pdf
