// SPDX-License-Identifier: MIT
#pragma once

// The strings and streams of objects added to an encrypted PDF, encrypted as the document's own
// (ISO 32000-1 7.6.2): with RC4, or with AES-128 in CBC mode after a random 16-byte initialisation
// vector and with PKCS#5 padding, under the key that algorithm 1 derives from the file key and the
// object's number and generation; with AES-256 (security handler revision 6) under the file key
// itself. The file key is the one qpdf found when it opened the document.

#include <memory>
#include <optional>
#include <qpdf/QPDF.hh>
#include <string>

namespace pellimo::pdf {

class ObjectEncryptor {
public:
    // Nothing when the document is not encrypted.
    static std::optional<ObjectEncryptor> forDocument(QPDF &pdf);

    std::string encryptString(const std::string &plain, QPDFObjGen og) const;
    std::string encryptStream(const std::string &plain, QPDFObjGen og) const;

private:
    std::string encrypt(const std::string &plain, QPDFObjGen og,
                        QPDF::encryption_method_e method) const;

    std::string m_fileKey;
    int m_v = 0;
    int m_r = 0;
    QPDF::encryption_method_e m_strings = QPDF::e_none;
    QPDF::encryption_method_e m_streams = QPDF::e_none;
};

} // namespace pellimo::pdf
