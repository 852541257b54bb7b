// SPDX-License-Identifier: MIT
#pragma once

// Reading values of a document that may hold anything: qpdf warns about (or, on objects of no
// document, throws for) a key looked up in something that is not a dictionary; these give null.

#include <qpdf/QPDFObjectHandle.hh>
#include <string>

namespace pellimo::pdf {

inline QPDFObjectHandle keyOf(QPDFObjectHandle dictionary, const std::string &key)
{
    return dictionary.isDictionary() ? dictionary.getKey(key) : QPDFObjectHandle::newNull();
}

template <typename... Keys> QPDFObjectHandle pathOf(QPDFObjectHandle value, const Keys &...keys)
{
    ((value = keyOf(value, keys)), ...);
    return value;
}

} // namespace pellimo::pdf
