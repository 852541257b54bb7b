// SPDX-License-Identifier: MIT
#pragma once

// qpdf's objects written out as PDF syntax (ISO 32000-1 7.3) for an update section: references
// renumbered for objects that are new to the file, strings encrypted for the object that holds
// them when the document is encrypted.

#include <functional>
#include <map>
#include <qpdf/QPDFObjectHandle.hh>
#include <string>

namespace pellimo::pdf {

class ObjectEncryptor;

struct SyntaxContext {
    std::map<QPDFObjGen, QPDFObjGen> renumbered; // qpdf's number of a new object -> the file's
    const ObjectEncryptor *encryptor = nullptr;  // null: strings as they are

    QPDFObjGen fileNumber(QPDFObjGen og) const;
};

// A direct value, or the contents of an indirect object (never "N G R" for `value` itself),
// strings encrypted for object `owner`. A stream gives its dictionary only.
std::string writeValue(QPDFObjectHandle value, const SyntaxContext &context, QPDFObjGen owner);

// Calls `visit` for every indirect reference in a value (not resolving it), then, when `visit`
// returns true for it, for those in the object it points to.
void forEachReference(QPDFObjectHandle value, const std::function<bool(QPDFObjectHandle)> &visit);

} // namespace pellimo::pdf
