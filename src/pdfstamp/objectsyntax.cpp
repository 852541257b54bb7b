// SPDX-License-Identifier: MIT
#include "objectsyntax.h"

#include "objectencryption.h"

#include <qpdf/QPDFObjGen.hh>

namespace pellimo::pdf {

QPDFObjGen SyntaxContext::fileNumber(QPDFObjGen og) const
{
    const auto it = renumbered.find(og);
    return it == renumbered.end() ? og : it->second;
}

namespace {

void write(std::string &out, QPDFObjectHandle value, const SyntaxContext &c, QPDFObjGen owner,
           bool top)
{
    if (!top && value.isIndirect()) {
        const QPDFObjGen og = c.fileNumber(value.getObjGen());
        out += std::to_string(og.getObj()) + ' ' + std::to_string(og.getGen()) + " R";
        return;
    }
    if (value.isStream())
        value = value.getDict();
    switch (value.getTypeCode()) {
    case ::ot_array: {
        out += '[';
        bool first = true;
        for (QPDFObjectHandle item : value.getArrayAsVector()) {
            if (!first)
                out += ' ';
            first = false;
            write(out, item, c, owner, false);
        }
        out += ']';
        break;
    }
    case ::ot_dictionary:
        out += "<<";
        for (auto [key, item] : value.getDictAsMap()) {
            if (item.isNull() && !item.isIndirect())
                continue; // a null value is the same as no entry
            out += QPDFObjectHandle::newName(key).unparse() + ' ';
            write(out, item, c, owner, false);
            out += ' ';
        }
        out += ">>";
        break;
    case ::ot_string: {
        const std::string bytes = value.getStringValue();
        out += QPDFObjectHandle::newString(c.encryptor ? c.encryptor->encryptString(bytes, owner)
                                                       : bytes)
                   .unparse();
        break;
    }
    default:
        out += value.unparse(); // null, booleans, numbers, names
        break;
    }
}

void visitReferences(QPDFObjectHandle value, const std::function<bool(QPDFObjectHandle)> &visit,
                     int depth);

void visitChildren(QPDFObjectHandle value, const std::function<bool(QPDFObjectHandle)> &visit,
                   int depth)
{
    if (value.isStream())
        value = value.getDict();
    if (value.isArray())
        for (QPDFObjectHandle item : value.getArrayAsVector())
            visitReferences(item, visit, depth);
    else if (value.isDictionary())
        for (auto [key, item] : value.getDictAsMap())
            visitReferences(item, visit, depth);
}

void visitReferences(QPDFObjectHandle value, const std::function<bool(QPDFObjectHandle)> &visit,
                     int depth)
{
    if (depth > 64)
        return;
    if (!value.isIndirect())
        visitChildren(value, visit, depth + 1);
    else if (visit(value))
        visitChildren(value, visit, depth + 1);
}

} // namespace

std::string writeValue(QPDFObjectHandle value, const SyntaxContext &context, QPDFObjGen owner)
{
    std::string out;
    write(out, value, context, owner, true);
    return out;
}

void forEachReference(QPDFObjectHandle value, const std::function<bool(QPDFObjectHandle)> &visit)
{
    visitChildren(value, visit, 0);
}

} // namespace pellimo::pdf
