// SPDX-License-Identifier: MIT
#pragma once

// A PDF lexer that allocates nothing per token: it splits bytes fed in chunks of any size into the
// tokens of ISO 32000-1 7.2 (names, numbers and keywords, literal and hexadecimal strings, array
// and dictionary brackets; comments and white space dropped) and hands each one, with its offset
// and at most its first kTokenTextMax bytes, to a callback. Used to measure and check objects
// before qpdf parses them, and to follow q/Q through page content.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace pellimo::pdf {

enum class TokenKind { Word, Name, String, HexString, ArrayOpen, ArrayClose, DictOpen, DictClose };

struct Token {
    TokenKind kind;
    int64_t offset;        // of its first byte, counted from the first byte fed
    std::string_view text; // its first kTokenTextMax bytes (the delimiters included)
    bool truncated;        // the token is longer than text
};

class Lexer {
public:
    static constexpr size_t kTokenTextMax = 64;
    // Returns false to stop: feed() then returns false and the lexer takes nothing more.
    using Sink = std::function<bool(const Token &)>;

    explicit Lexer(Sink sink) : m_sink(std::move(sink)) {}

    bool feed(const char *data, size_t size);
    // The end of the input: a token still open is handed over.
    bool finish();
    // Bytes taken so far.
    int64_t position() const { return m_pos; }

private:
    enum class State {
        Between,
        Regular,
        Name,
        Literal,
        LiteralEscape,
        Hex,
        Comment,
        Less,
        Greater
    };
    bool emit(TokenKind kind);
    void append(char c);
    void start(State s, char c);

    Sink m_sink;
    State m_state = State::Between;
    char m_text[kTokenTextMax];
    size_t m_length = 0;
    bool m_truncated = false;
    int64_t m_start = 0;
    int64_t m_pos = 0;
    int m_parens = 0;
    bool m_stopped = false;
};

bool isPdfSpace(char c);
bool isPdfDelimiter(char c);

} // namespace pellimo::pdf
