// SPDX-License-Identifier: MIT
#include "pdfstructure.h"

#include "objectscan.h"
#include "pdflexer.h"
#include "pdflimits.h"

#include <QCoreApplication>
#include <algorithm>
#include <deque>
#include <qpdf/Pipeline.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/QPDF.hh>
#include <set>
#include <stdexcept>

namespace pellimo::pdf {

namespace {

// Counts what passes through, and stops the stream past a limit by throwing.
class Counter : public Pipeline {
public:
    explicit Counter(int64_t limit, bool lex)
        : Pipeline("pellimo-count", nullptr), m_limit(limit),
          m_lexer([this](const Token &) { return ++tokens, true; }), m_lex(lex)
    {
    }
    void write(unsigned char const *data, size_t len) override
    {
        bytes += int64_t(len);
        if (bytes > m_limit) {
            exceeded = true;
            throw std::length_error("limit");
        }
        if (m_lex)
            m_lexer.feed(reinterpret_cast<const char *>(data), len);
    }
    void finish() override { m_lexer.finish(); }

    int64_t bytes = 0;
    int64_t tokens = 0;
    bool exceeded = false;

private:
    int64_t m_limit;
    Lexer m_lexer;
    bool m_lex;
};

// The offset after the last startxref of the file, or -1.
int64_t lastStartxref(int fd, int64_t size)
{
    const int64_t tail = std::min<int64_t>(size, 2048);
    const std::string end = readAt(fd, size - tail, tail);
    const size_t at = end.rfind("startxref");
    if (at == std::string::npos)
        return -1;
    size_t i = at + 9;
    while (i < end.size() && isPdfSpace(end[i]))
        ++i;
    size_t j = i;
    while (j < end.size() && end[j] >= '0' && end[j] <= '9')
        ++j;
    const auto value = parseInteger(end.substr(i, j - i));
    return value && *value < size ? *value : -1;
}

struct Section {
    bool found = false;
    bool stream = false;
    int64_t entries = 0;
    std::vector<int64_t> next; // /Prev and /XRefStm
    bool inflatesTooFar = false;
};

// A cross-reference table: its entries counted, then its trailer's /Prev and /XRefStm.
Section readTable(int fd, int64_t offset, int64_t size)
{
    Section s;
    bool trailer = false;
    int depth = 0;
    std::string key;
    Lexer lexer([&](const Token &t) {
        if (!trailer) {
            if (t.kind == TokenKind::Word && (t.text == "n" || t.text == "f"))
                ++s.entries;
            else if (t.kind == TokenKind::Word && t.text == "trailer")
                trailer = true;
            else if (t.kind != TokenKind::Word)
                return false;
            return s.entries <= kMaxObjects;
        }
        if (t.kind == TokenKind::DictOpen || t.kind == TokenKind::ArrayOpen)
            ++depth;
        else if (t.kind == TokenKind::DictClose || t.kind == TokenKind::ArrayClose) {
            if (--depth <= 0) {
                s.found = true;
                return false;
            }
        } else if (depth == 1 && t.kind == TokenKind::Name)
            key = std::string(t.text);
        else if (depth == 1 && (key == "/Prev" || key == "/XRefStm")) {
            if (const auto v = parseInteger(std::string(t.text)))
                s.next.push_back(*v);
            key.clear();
        }
        return true;
    });
    for (int64_t at = offset + 4; at < size;) {
        const std::string chunk = readAt(fd, at, std::min<int64_t>(64 * 1024, size - at));
        if (chunk.empty() || !lexer.feed(chunk.data(), chunk.size()))
            break;
        at += int64_t(chunk.size());
    }
    return s;
}

// A cross-reference stream: its entries from /Index or /Size, and its data inflated to check that
// it holds no more than those entries take.
Section readXrefStream(int fd, int64_t offset, int64_t size)
{
    Section s;
    const ScannedObject o = scanObject(
        fd, offset, size, 4 * kMaxObjects,
        {"/Type", "/Size", "/W", "/Index", "/Prev", "/Length", "/Filter", "/DecodeParms"});
    if (o.end != ScannedObject::End::Stream || o.values.count("/Type") == 0 ||
        o.values.at("/Type") != std::vector<std::string>{"/XRef"})
        return s;
    s.found = s.stream = true;
    if (const auto prev = o.integer("/Prev"))
        s.next.push_back(*prev);
    int64_t width = 1; // the predictor's byte per row
    if (o.values.count("/W"))
        for (const std::string &w : o.values.at("/W"))
            width += std::clamp<int64_t>(parseInteger(w).value_or(0), 0, 8);
    if (o.values.count("/Index")) {
        const std::vector<std::string> &index = o.values.at("/Index");
        for (size_t i = 1; i < index.size(); i += 2)
            s.entries +=
                std::clamp<int64_t>(parseInteger(index[i]).value_or(0), 0, kMaxObjects + 1);
    } else {
        s.entries = std::clamp<int64_t>(o.integer("/Size").value_or(0), 0, kMaxObjects + 1);
    }
    const auto length = o.integer("/Length");
    const auto filter = o.values.find("/Filter");
    if (s.entries > kMaxObjects || !length || filter == o.values.end() ||
        filter->second != std::vector<std::string>{"/FlateDecode"})
        return s; // qpdf reads unfiltered data as it is; other filters are left to it
    Counter counter(s.entries * width + 4096, false);
    Pl_Flate inflate("pellimo-xref", &counter, Pl_Flate::a_inflate);
    try {
        int64_t at = streamDataStart(fd, o.streamKeyword);
        for (int64_t left = std::clamp<int64_t>(*length, 0, size); left > 0;) {
            const std::string chunk = readAt(fd, at, std::min<int64_t>(left, 64 * 1024));
            if (chunk.empty())
                break;
            inflate.write(reinterpret_cast<const unsigned char *>(chunk.data()), chunk.size());
            at += int64_t(chunk.size());
            left -= int64_t(chunk.size());
        }
        inflate.finish();
    } catch (const std::exception &) {
        s.inflatesTooFar = counter.exceeded; // data that does not inflate is left to qpdf
    }
    return s;
}

} // namespace

FileCheck checkXrefChain(int fd, int64_t size, XrefChain &chain)
{
    chain.startxref = lastStartxref(fd, size);
    if (chain.startxref < 0)
        return FileCheck::damaged(
            QCoreApplication::translate("pellimo", "the end of the file is missing or cut off"));
    std::deque<int64_t> todo{chain.startxref};
    std::set<int64_t> seen;
    while (!todo.empty()) {
        const int64_t offset = todo.front();
        todo.pop_front();
        if (!seen.insert(offset).second)
            continue;
        if (seen.size() > size_t(kMaxXrefSections))
            return FileCheck::tooLarge(
                QCoreApplication::translate("pellimo", "it has too many updates"));
        const std::string start = readAt(fd, offset, 4);
        Section s = offset >= 0 && offset < size && start == "xref" ? readTable(fd, offset, size)
                    : offset >= 0 && offset < size ? readXrefStream(fd, offset, size)
                                                   : Section();
        if (s.entries > kMaxObjects)
            return FileCheck::tooLarge(
                QCoreApplication::translate("pellimo", "it has more objects than Pellimo reads"));
        if (!s.found)
            return FileCheck::damaged(QCoreApplication::translate(
                "pellimo", "its cross-reference data is not where the file says"));
        if (s.inflatesTooFar)
            return FileCheck::tooLarge(QCoreApplication::translate(
                "pellimo", "its cross-reference data unpacks to more than it holds"));
        if (offset == chain.startxref)
            chain.lastIsStream = s.stream;
        todo.insert(todo.end(), s.next.begin(), s.next.end());
    }
    return {};
}

FileCheck checkObjects(QPDF &pdf, int fd, int64_t size, bool strict)
{
    const std::map<QPDFObjGen, QPDFXRefEntry> xref = pdf.getXRefTable();
    if (int64_t(xref.size()) > kMaxObjects)
        return FileCheck::tooLarge(
            QCoreApplication::translate("pellimo", "it has more objects than Pellimo reads"));
    std::vector<int64_t> offsets;
    std::set<int> objectStreams;
    for (const auto &[og, entry] : xref) {
        if (entry.getType() == 1)
            offsets.push_back(entry.getOffset());
        else if (entry.getType() == 2)
            objectStreams.insert(entry.getObjStreamNumber());
    }
    std::sort(offsets.begin(), offsets.end());

    // Every object in the file, read up to its endobj or its stream data.
    int64_t tokens = 0, bytes = 0;
    std::vector<std::pair<QPDFObjGen, int64_t>> lengthsToCheck; // stream, end of its data
    for (const auto &[og, entry] : xref) {
        if (entry.getType() != 1)
            continue;
        const int64_t at = entry.getOffset();
        const auto next = std::upper_bound(offsets.begin(), offsets.end(), at);
        const int64_t end = next == offsets.end() ? size : *next;
        const ScannedObject o = scanObject(fd, at, end, kMaxObjectTokens - tokens + 1, {"/Length"});
        tokens += o.tokens;
        bytes += o.bytes;
        if (tokens > kMaxObjectTokens || bytes > kMaxObjectBytes)
            return FileCheck::tooLarge(QCoreApplication::translate(
                "pellimo", "its objects are larger than Pellimo reads"));
        if (!strict)
            continue;
        if (o.number != og.getObj() || o.generation != og.getGen() ||
            o.end == ScannedObject::End::Broken)
            return FileCheck::damaged(
                QCoreApplication::translate("pellimo",
                                            "object %1 is not where its cross-reference entry says")
                    .arg(og.getObj()));
        if (o.end != ScannedObject::End::Stream)
            continue;
        const int64_t data = streamDataStart(fd, o.streamKeyword);
        if (const auto length = o.integer("/Length")) {
            if (*length < 0 || *length > size || !endstreamAt(fd, data + *length))
                return FileCheck::damaged(
                    QCoreApplication::translate("pellimo", "the length of stream %1 is wrong")
                        .arg(og.getObj()));
        } else {
            lengthsToCheck.emplace_back(og, data);
        }
    }

    // The object streams, decoded (and decrypted) by qpdf into a counter, never kept.
    int64_t allStreams = 0;
    for (const int number : objectStreams) {
        QPDFObjectHandle stream = pdf.getObjectByID(number, 0);
        if (!stream.isStream())
            return FileCheck::damaged(
                QCoreApplication::translate("pellimo", "object stream %1 is missing").arg(number));
        Counter counter(std::min(kMaxObjectStreamBytes, kMaxAllObjectStreamBytes - allStreams),
                        true);
        bool read = false;
        try { // qpdf turns the counter's stop into a failed read, except for data in memory
            read = stream.pipeStreamData(&counter, nullptr, 0, qpdf_dl_generalized, true);
        } catch (const std::length_error &) {
        }
        if (counter.exceeded)
            return FileCheck::tooLarge(QCoreApplication::translate(
                "pellimo", "its object streams unpack to more than Pellimo reads"));
        if (!read && strict)
            return FileCheck::damaged(
                QCoreApplication::translate("pellimo", "object stream %1 cannot be read")
                    .arg(number));
        allStreams += counter.bytes;
        tokens += counter.tokens;
        if (tokens > kMaxObjectTokens)
            return FileCheck::tooLarge(QCoreApplication::translate(
                "pellimo", "its objects are larger than Pellimo reads"));
    }

    // Lengths given as references: all objects are known to be small enough by now.
    for (const auto &[og, data] : lengthsToCheck) {
        bool right = false;
        try {
            QPDFObjectHandle length = pdf.getObjectByObjGen(og).getDict().getKey("/Length");
            right = length.isInteger() && length.getIntValue() >= 0 &&
                    length.getIntValue() <= size && endstreamAt(fd, data + length.getIntValue());
        } catch (const std::exception &) {
        }
        if (!right)
            return FileCheck::damaged(
                QCoreApplication::translate("pellimo", "the length of stream %1 is wrong")
                    .arg(og.getObj()));
    }
    return {};
}

} // namespace pellimo::pdf
