// SPDX-License-Identifier: MIT
#include "objectscan.h"

#include "pdflexer.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <set>
#include <unistd.h>

namespace pellimo::pdf {

namespace {

constexpr int64_t kChunk = 16 * 1024;

} // namespace

std::string readAt(int fd, int64_t offset, int64_t size)
{
    std::string bytes(size_t(std::max<int64_t>(size, 0)), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::pread(fd, bytes.data() + done, bytes.size() - done, off_t(offset) + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += size_t(n);
    }
    bytes.resize(done);
    return bytes;
}

std::optional<int64_t> parseInteger(const std::string &token)
{
    int64_t value = 0;
    const char *first = token.data();
    const char *last = first + token.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last || first == last)
        return std::nullopt;
    return value;
}

std::optional<int64_t> ScannedObject::integer(const std::string &key) const
{
    const auto it = values.find(key);
    if (it == values.end() || it->second.size() != 1)
        return std::nullopt;
    return parseInteger(it->second.front());
}

bool ScannedObject::isReference(const std::string &key) const
{
    const auto it = values.find(key);
    return it != values.end() && it->second.size() == 3 && it->second[2] == "R";
}

ScannedObject scanObject(int fd, int64_t offset, int64_t end, int64_t maxTokens,
                         std::initializer_list<const char *> wantedKeys)
{
    ScannedObject r;
    const std::set<std::string_view> wanted(wantedKeys.begin(), wantedKeys.end());
    int header = 0;
    int depth = 0;          // open arrays and dictionaries
    bool topIsDict = false; // the object's value is a dictionary
    bool expectKey = false; // at depth 1 of that dictionary: a key comes next
    std::string capture;    // the wanted key whose value is being read
    auto take = [&](const Token &t) {
        if (++r.tokens > maxTokens)
            return false;
        const std::string_view text = t.truncated ? std::string_view() : t.text;
        if (header < 3) {
            const auto n = parseInteger(std::string(text));
            if (header < 2 && (t.kind != TokenKind::Word || !n || *n < 0 || *n > INT32_MAX))
                return false;
            if (header == 0)
                r.number = int(*n);
            else if (header == 1)
                r.generation = int(*n);
            else if (text != "obj")
                return false;
            ++header;
            return true;
        }
        if (t.kind == TokenKind::Word && depth == 0 && (text == "endobj" || text == "stream")) {
            r.end = text == "endobj" ? ScannedObject::End::EndObj : ScannedObject::End::Stream;
            r.bytes = t.offset + int64_t(text.size());
            if (r.end == ScannedObject::End::Stream)
                r.streamKeyword = offset + t.offset + 6;
            return false;
        }
        if (t.kind == TokenKind::Word && text == "obj")
            return false; // the next object began before this one ended
        if (header == 3) {
            topIsDict = t.kind == TokenKind::DictOpen;
            header = 4;
        }
        const bool opens = t.kind == TokenKind::DictOpen || t.kind == TokenKind::ArrayOpen;
        const bool closes = t.kind == TokenKind::DictClose || t.kind == TokenKind::ArrayClose;
        if (topIsDict && depth == 1 && !closes) {
            if (expectKey && t.kind == TokenKind::Name) {
                capture = wanted.count(text) ? std::string(text) : std::string();
                if (!capture.empty())
                    r.values[capture].clear();
                expectKey = false;
                return !opens;
            }
            // A value, or the rest of a reference ("0 R" after "12").
            if (!capture.empty() && !opens)
                r.values[capture].emplace_back(text);
            expectKey = !opens;
        } else if (topIsDict && depth == 2 && !capture.empty() && !opens && !closes) {
            r.values[capture].emplace_back(text); // an element of an array value
        }
        if (opens) {
            ++depth;
            if (depth == 1 && topIsDict)
                expectKey = true;
        } else if (closes) {
            depth = std::max(0, depth - 1);
            if (depth == 1)
                expectKey = true;
        }
        return true;
    };
    Lexer lexer(take);
    for (int64_t at = offset; at < end;) {
        const std::string chunk = readAt(fd, at, std::min(kChunk, end - at));
        if (chunk.empty() || !lexer.feed(chunk.data(), chunk.size()))
            break;
        at += int64_t(chunk.size());
        if (at >= end)
            lexer.finish();
    }
    return r;
}

int64_t streamDataStart(int fd, int64_t streamKeyword)
{
    const std::string eol = readAt(fd, streamKeyword, 2);
    if (eol.size() >= 2 && eol[0] == '\r' && eol[1] == '\n')
        return streamKeyword + 2;
    if (!eol.empty() && (eol[0] == '\n' || eol[0] == '\r'))
        return streamKeyword + 1;
    return streamKeyword;
}

bool endstreamAt(int fd, int64_t offset)
{
    const std::string bytes = readAt(fd, offset, 512);
    size_t i = 0;
    while (i < bytes.size() && isPdfSpace(bytes[i]))
        ++i;
    return bytes.compare(i, 9, "endstream") == 0;
}

} // namespace pellimo::pdf
