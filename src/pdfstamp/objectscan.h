// SPDX-License-Identifier: MIT
#pragma once

// One indirect object read with the lexer straight from the file, without qpdf: its header, its
// size in tokens and bytes, how it ends, and the plain values of a few keys of its dictionary.

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pellimo::pdf {

// The bytes at `offset`, at most `size` of them (fewer at the end of the file).
std::string readAt(int fd, int64_t offset, int64_t size);

struct ScannedObject {
    enum class End { EndObj, Stream, Broken };
    int number = -1; // from the header "N G obj"; -1 when there is none
    int generation = -1;
    End end = End::Broken;
    int64_t tokens = 0;
    int64_t bytes = 0;          // from the header to endobj or stream
    int64_t streamKeyword = -1; // offset just past the keyword stream
    // Values of the wanted keys of the top-level dictionary, token by token: "12", "/Name",
    // "12 0 R" as three tokens, an array as its elements ([ and ] left out).
    std::map<std::string, std::vector<std::string>> values;

    std::optional<int64_t> integer(const std::string &key) const;
    bool isReference(const std::string &key) const;
};

// Reads the object at `offset`, stopping at `end` (exclusive), or after `maxTokens` tokens (end
// is then Broken and tokens more than maxTokens).
ScannedObject scanObject(int fd, int64_t offset, int64_t end, int64_t maxTokens,
                         std::initializer_list<const char *> wantedKeys);

// The offset where a stream's data begins, given the offset just past its keyword: past the
// end-of-line marker (CR LF, LF, or a lone CR).
int64_t streamDataStart(int fd, int64_t streamKeyword);

// Whether the keyword endstream follows `offset`, after white space.
bool endstreamAt(int fd, int64_t offset);

// The integer value of a number token, if it is one.
std::optional<int64_t> parseInteger(const std::string &token);

} // namespace pellimo::pdf
