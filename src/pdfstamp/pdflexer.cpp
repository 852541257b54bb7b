// SPDX-License-Identifier: MIT
#include "pdflexer.h"

namespace pellimo::pdf {

bool isPdfSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool isPdfDelimiter(char c)
{
    switch (c) {
    case '(':
    case ')':
    case '<':
    case '>':
    case '[':
    case ']':
    case '{':
    case '}':
    case '/':
    case '%':
        return true;
    default:
        return false;
    }
}

void Lexer::append(char c)
{
    if (m_length < kTokenTextMax)
        m_text[m_length++] = c;
    else
        m_truncated = true;
}

void Lexer::start(State s, char c)
{
    m_state = s;
    m_start = m_pos;
    m_length = 0;
    m_truncated = false;
    append(c);
}

bool Lexer::emit(TokenKind kind)
{
    m_state = State::Between;
    if (!m_sink({kind, m_start, std::string_view(m_text, m_length), m_truncated}))
        m_stopped = true;
    return !m_stopped;
}

bool Lexer::feed(const char *data, size_t size)
{
    for (size_t i = 0; i < size && !m_stopped; ++i, ++m_pos) {
        const char c = data[i];
        bool again = true; // the byte is looked at once more after a token ended before it
        while (again && !m_stopped) {
            again = false;
            switch (m_state) {
            case State::Between:
                if (isPdfSpace(c))
                    break;
                if (c == '%')
                    m_state = State::Comment;
                else if (c == '/')
                    start(State::Name, c);
                else if (c == '(') {
                    start(State::Literal, c);
                    m_parens = 1;
                } else if (c == '<')
                    start(State::Less, c);
                else if (c == '>')
                    start(State::Greater, c);
                else if (c == '[' || c == ']') {
                    start(State::Between, c);
                    emit(c == '[' ? TokenKind::ArrayOpen : TokenKind::ArrayClose);
                } else if (c == '{' || c == '}' || c == ')') {
                    start(State::Between, c);
                    emit(TokenKind::Word);
                } else
                    start(State::Regular, c);
                break;
            case State::Regular:
            case State::Name:
                if (isPdfSpace(c) || isPdfDelimiter(c)) {
                    emit(m_state == State::Name ? TokenKind::Name : TokenKind::Word);
                    again = true;
                } else
                    append(c);
                break;
            case State::Literal:
                append(c);
                if (c == '\\')
                    m_state = State::LiteralEscape;
                else if (c == '(')
                    ++m_parens;
                else if (c == ')' && --m_parens == 0)
                    emit(TokenKind::String);
                break;
            case State::LiteralEscape:
                append(c);
                m_state = State::Literal;
                break;
            case State::Hex:
                append(c);
                if (c == '>')
                    emit(TokenKind::HexString);
                break;
            case State::Comment:
                if (c == '\n' || c == '\r')
                    m_state = State::Between;
                break;
            case State::Less:
                if (c == '<') {
                    append(c);
                    emit(TokenKind::DictOpen);
                } else {
                    m_state = State::Hex;
                    again = true;
                }
                break;
            case State::Greater:
                if (c == '>') {
                    append(c);
                    emit(TokenKind::DictClose);
                } else {
                    emit(TokenKind::Word); // a stray '>'
                    again = true;
                }
                break;
            }
        }
    }
    return !m_stopped;
}

bool Lexer::finish()
{
    if (m_stopped)
        return false;
    switch (m_state) {
    case State::Regular:
    case State::Greater:
        return emit(TokenKind::Word);
    case State::Name:
        return emit(TokenKind::Name);
    case State::Literal:
    case State::LiteralEscape:
        return emit(TokenKind::String);
    case State::Hex:
    case State::Less:
        return emit(TokenKind::HexString);
    default:
        return true;
    }
}

} // namespace pellimo::pdf
