// SPDX-License-Identifier: MIT
#include "objectencryption.h"

#include <qpdf/QPDFCryptoProvider.hh>
#include <qpdf/QUtil.hh>

namespace pellimo::pdf {

std::optional<ObjectEncryptor> ObjectEncryptor::forDocument(QPDF &pdf)
{
    ObjectEncryptor e;
    int p = 0;
    QPDF::encryption_method_e files = QPDF::e_none;
    if (!pdf.isEncrypted(e.m_r, p, e.m_v, e.m_streams, e.m_strings, files))
        return std::nullopt;
    e.m_fileKey = pdf.getEncryptionKey();
    if (e.m_v < 4) // before crypt filters everything is RC4; qpdf reports no method then
        e.m_streams = e.m_strings = QPDF::e_rc4;
    return e;
}

std::string ObjectEncryptor::encryptString(const std::string &plain, QPDFObjGen og) const
{
    return encrypt(plain, og, m_strings);
}

std::string ObjectEncryptor::encryptStream(const std::string &plain, QPDFObjGen og) const
{
    return encrypt(plain, og, m_streams);
}

std::string ObjectEncryptor::encrypt(const std::string &plain, QPDFObjGen og,
                                     QPDF::encryption_method_e method) const
{
    if (method != QPDF::e_rc4 && method != QPDF::e_aes && method != QPDF::e_aesv3)
        return plain; // the Identity crypt filter
    const bool aes = method != QPDF::e_rc4;
    const std::string key =
        QPDF::compute_data_key(m_fileKey, og.getObj(), og.getGen(), aes, m_v, m_r);
    const auto crypto = QPDFCryptoProvider::getImpl();
    const auto *keyBytes = reinterpret_cast<const unsigned char *>(key.data());
    if (!aes) {
        std::string out(plain.size(), '\0');
        crypto->RC4_init(keyBytes, int(key.size()));
        crypto->RC4_process(reinterpret_cast<const unsigned char *>(plain.data()), plain.size(),
                            reinterpret_cast<unsigned char *>(out.data()));
        crypto->RC4_finalize();
        return out;
    }
    constexpr size_t kBlock = QPDFCryptoImpl::rijndael_buf_size;
    unsigned char iv[kBlock];
    QUtil::initializeWithRandomBytes(iv, kBlock);
    // PKCS#5: 1 to 16 bytes, each holding the number of bytes added.
    std::string padded = plain;
    padded.append(kBlock - plain.size() % kBlock, char(kBlock - plain.size() % kBlock));
    std::string out(reinterpret_cast<const char *>(iv), kBlock);
    out.resize(kBlock + padded.size());
    unsigned char chain[kBlock];
    std::copy(iv, iv + kBlock, chain);
    crypto->rijndael_init(true, keyBytes, key.size(), true, chain);
    for (size_t i = 0; i < padded.size(); i += kBlock)
        crypto->rijndael_process(reinterpret_cast<unsigned char *>(padded.data() + i),
                                 reinterpret_cast<unsigned char *>(out.data() + kBlock + i));
    crypto->rijndael_finalize();
    return out;
}

} // namespace pellimo::pdf
