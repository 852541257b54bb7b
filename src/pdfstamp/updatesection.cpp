// SPDX-License-Identifier: MIT
#include "updatesection.h"

#include "objectencryption.h"
#include "objectsyntax.h"

#include <cstdio>
#include <qpdf/Buffer.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/Pl_String.hh>
#include <qpdf/QUtil.hh>

namespace pellimo::pdf {

namespace {

constexpr char kByteRangePlaceholder[] = "[0 0000000000 0000000000 0000000000]";

std::string deflated(const std::string &data)
{
    std::string out;
    Pl_String sink("pellimo-deflated", nullptr, out);
    Pl_Flate deflate("pellimo-deflate", &sink, Pl_Flate::a_deflate);
    deflate.write(reinterpret_cast<const unsigned char *>(data.data()), data.size());
    deflate.finish();
    return out;
}

// A value in a trailer: references as "N G R", strings never encrypted.
std::string trailerValue(QPDFObjectHandle value)
{
    if (value.isIndirect())
        return std::to_string(value.getObjectID()) + ' ' + std::to_string(value.getGeneration()) +
               " R";
    return writeValue(value, SyntaxContext(), QPDFObjGen());
}

} // namespace

std::string SignatureHole::byteRange(int64_t fileSize) const
{
    const int64_t after = contentsOffset + contentsLength;
    std::string text = "[0 " + std::to_string(contentsOffset) + ' ' + std::to_string(after) + ' ' +
                       std::to_string(fileSize - after);
    if (int64_t(text.size()) + 1 > byteRangeLength)
        return {}; // cannot happen below 10^10 bytes
    text.append(size_t(byteRangeLength) - text.size() - 1, ' ');
    return text + ']';
}

UpdateSection::UpdateSection(UpdateBase base, const ObjectEncryptor *encryptor)
    : m_base(std::move(base)), m_encryptor(encryptor), m_nextNumber(m_base.firstFreeNumber)
{
}

QPDFObjGen UpdateSection::numberFor(QPDFObjectHandle newObject)
{
    const QPDFObjGen og(m_nextNumber++, 0);
    m_renumbered[newObject.getObjGen()] = og;
    m_objects.emplace_back(newObject, og);
    return og;
}

void UpdateSection::addReferenced(QPDFObjectHandle object, int firstNewQpdfNumber)
{
    forEachReference(object, [&](QPDFObjectHandle ref) {
        if (ref.getObjectID() < firstNewQpdfNumber || m_renumbered.count(ref.getObjGen()))
            return false; // an object of the file, or one already added
        numberFor(ref);
        return true;
    });
}

void UpdateSection::addChanged(QPDFObjectHandle object, int firstNewQpdfNumber)
{
    m_objects.emplace_back(object, object.getObjGen());
    addReferenced(object, firstNewQpdfNumber);
}

QPDFObjGen UpdateSection::addNew(QPDFObjectHandle object, int firstNewQpdfNumber)
{
    const auto known = m_renumbered.find(object.getObjGen());
    const QPDFObjGen og = known != m_renumbered.end() ? known->second : numberFor(object);
    addReferenced(object, firstNewQpdfNumber);
    return og;
}

QPDFObjGen UpdateSection::addSignature(QPDFObjectHandle dictionary, int contentsBytes,
                                       int firstNewQpdfNumber)
{
    m_signature.emplace(dictionary, contentsBytes);
    m_signatureNumber = addNew(dictionary, firstNewQpdfNumber);
    return m_signatureNumber;
}

std::string UpdateSection::objectText(QPDFObjectHandle object, QPDFObjGen og)
{
    SyntaxContext context;
    context.renumbered = m_renumbered;
    context.encryptor = m_encryptor;
    std::string text = std::to_string(og.getObj()) + ' ' + std::to_string(og.getGen()) + " obj\n";
    if (m_signature && og == m_signatureNumber) {
        QPDFObjectHandle rest = object.shallowCopy();
        rest.removeKey("/ByteRange");
        rest.removeKey("/Contents");
        std::string body = writeValue(rest, context, og);
        body.resize(body.size() - 2); // the closing >>
        SignatureHole hole;
        body += "/ByteRange ";
        hole.byteRangeOffset = int64_t(text.size() + body.size());
        hole.byteRangeLength = int64_t(sizeof kByteRangePlaceholder - 1);
        body += kByteRangePlaceholder;
        body += " /Contents ";
        hole.contentsOffset = int64_t(text.size() + body.size());
        body += '<' + std::string(size_t(m_signature->second) * 2, '0') + '>';
        hole.contentsLength = int64_t(body.size()) + int64_t(text.size()) - hole.contentsOffset;
        m_hole = hole; // offsets within the object for now
        return text + body + ">>\nendobj\n";
    }
    if (!object.isStream())
        return text + writeValue(object, context, og) + "\nendobj\n";

    QPDFObjectHandle dict = object.getDict().shallowCopy();
    const std::shared_ptr<Buffer> raw = object.getRawStreamData();
    std::string data(reinterpret_cast<const char *>(raw->getBuffer()), raw->getSize());
    if (!dict.hasKey("/Filter")) {
        data = deflated(data);
        dict.replaceKey("/Filter", QPDFObjectHandle::newName("/FlateDecode"));
        dict.removeKey("/DecodeParms");
    }
    if (m_encryptor)
        data = m_encryptor->encryptStream(data, og);
    dict.replaceKey("/Length", QPDFObjectHandle::newInteger(int64_t(data.size())));
    return text + writeValue(dict, context, og) + "\nstream\n" + data + "\nendstream\nendobj\n";
}

std::string UpdateSection::trailerKeys(int size)
{
    std::string keys =
        "/Size " + std::to_string(size) + " /Prev " + std::to_string(m_base.prevXref);
    for (const char *key : {"/Root", "/Info", "/Encrypt"})
        if (m_base.trailer.hasKey(key) && !m_base.trailer.getKey(key).isNull())
            keys += std::string(" ") + key + ' ' + trailerValue(m_base.trailer.getKey(key));
    QPDFObjectHandle id = m_base.trailer.getKey("/ID");
    if (id.isArray() && id.getArrayNItems() == 2 && id.getArrayItem(0).isString()) {
        unsigned char fresh[16];
        QUtil::initializeWithRandomBytes(fresh, sizeof fresh);
        keys += " /ID [" + trailerValue(id.getArrayItem(0)) + ' ' +
                QPDFObjectHandle::newString(std::string(reinterpret_cast<char *>(fresh), 16))
                    .unparse() +
                ']';
    }
    return keys;
}

void UpdateSection::writeTable(std::string &out)
{
    out += "xref\n";
    for (auto it = m_offsets.begin(); it != m_offsets.end();) {
        auto end = it;
        int count = 0;
        while (end != m_offsets.end() && end->first == it->first + count)
            ++end, ++count;
        out += std::to_string(it->first) + ' ' + std::to_string(count) + '\n';
        for (; it != end; ++it) {
            char entry[32];
            std::snprintf(entry, sizeof entry, "%010lld %05d n\r\n",
                          static_cast<long long>(it->second), m_gens[it->first]);
            out += entry;
        }
    }
    out += "trailer\n<<" +
           trailerKeys(std::max(m_base.firstFreeNumber, m_offsets.rbegin()->first + 1)) + ">>\n";
}

void UpdateSection::writeStream(std::string &out, int64_t at)
{
    const int number = m_nextNumber++;
    m_offsets[number] = at;
    m_gens[number] = 0;
    int width = 1;
    while (width < 8 && (at >> (8 * width)) > 0)
        ++width;
    std::string index, data;
    for (auto it = m_offsets.begin(); it != m_offsets.end();) {
        auto end = it;
        int count = 0;
        while (end != m_offsets.end() && end->first == it->first + count)
            ++end, ++count;
        index +=
            (index.empty() ? "" : " ") + std::to_string(it->first) + ' ' + std::to_string(count);
        for (; it != end; ++it) {
            data += char(1);
            for (int b = width - 1; b >= 0; --b)
                data += char((it->second >> (8 * b)) & 0xFF);
            data += char((m_gens[it->first] >> 8) & 0xFF);
            data += char(m_gens[it->first] & 0xFF);
        }
    }
    out += std::to_string(number) + " 0 obj\n<</Type /XRef " + trailerKeys(number + 1) + " /W [1 " +
           std::to_string(width) + " 2] /Index [" + index + "] /Length " +
           std::to_string(data.size()) + ">>\nstream\n" + data + "\nendstream\nendobj\n";
}

std::string UpdateSection::write()
{
    std::string out;
    if (!m_base.endsWithEol)
        out += '\n';
    for (const auto &[object, og] : m_objects) {
        const int64_t at = m_base.size + int64_t(out.size());
        m_offsets[og.getObj()] = at;
        m_gens[og.getObj()] = og.getGen();
        out += objectText(object, og);
        if (m_signature && og == m_signatureNumber) {
            m_hole->byteRangeOffset += at;
            m_hole->contentsOffset += at;
        }
    }
    const int64_t xrefAt = m_base.size + int64_t(out.size());
    if (m_base.xrefStream)
        writeStream(out, xrefAt);
    else
        writeTable(out);
    out += "startxref\n" + std::to_string(xrefAt) + "\n%%EOF\n";
    return out;
}

} // namespace pellimo::pdf
