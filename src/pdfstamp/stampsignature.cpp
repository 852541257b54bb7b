// SPDX-License-Identifier: MIT
#include "stampsignature.h"

#include "pdfsign/cmsverify.h"
#include "qpdfaccess.h"
#include "stampannotation.h"

#include <QCoreApplication>
#include <sys/mman.h>

namespace pellimo {

namespace {

// The file mapped for reading, unmapped when done.
class Mapping {
public:
    Mapping(int fd, int64_t size) : m_size(size_t(size))
    {
        void *at = size > 0 ? ::mmap(nullptr, m_size, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
        m_data = at == MAP_FAILED ? nullptr : static_cast<const char *>(at);
    }
    ~Mapping()
    {
        if (m_data)
            ::munmap(const_cast<char *>(m_data), m_size);
    }
    Mapping(const Mapping &) = delete;
    Mapping &operator=(const Mapping &) = delete;
    const char *data() const { return m_data; }

private:
    size_t m_size;
    const char *m_data = nullptr;
};

// The two pieces [0, b) and [c, c + d) of a /ByteRange [0 b c d] that lies within the file with
// its hole between them; false when it is not one.
bool byteRange(QPDFObjectHandle range, int64_t fileSize, int64_t (&v)[4])
{
    if (!range.isArray() || range.getArrayNItems() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        QPDFObjectHandle item = range.getArrayItem(i);
        if (!item.isInteger() || item.getIntValue() < 0)
            return false;
        v[i] = item.getIntValue();
    }
    return v[0] == 0 && v[1] <= v[2] && v[2] <= fileSize && v[3] <= fileSize - v[2];
}

} // namespace

PdfStampSignature checkStampSignature(QPDFObjectHandle signature, int fd, int64_t fileSize)
{
    PdfStampSignature s;
    if (QPDFObjectHandle name = pdf::keyOf(signature, "/Name"); name.isString())
        s.signer = QString::fromStdString(name.getUTF8Value());
    if (QPDFObjectHandle m = pdf::keyOf(signature, "/M"); m.isString())
        s.when = fromPdfDate(m.getStringValue());
    int64_t range[4];
    QPDFObjectHandle contents = pdf::keyOf(signature, "/Contents");
    if (!byteRange(pdf::keyOf(signature, "/ByteRange"), fileSize, range) || !contents.isString()) {
        s.problem =
            QCoreApplication::translate("pellimo", "its byte range does not lie within the file");
        return s;
    }
    const Mapping file(fd, fileSize);
    if (!file.data()) {
        s.problem = QCoreApplication::translate("pellimo", "the file cannot be read");
        return s;
    }
    const std::string der = contents.getStringValue();
    const CmsCheck check =
        checkDetachedCms(QByteArrayView(der.data(), qsizetype(der.size())),
                         {QByteArrayView(file.data(), qsizetype(range[1])),
                          QByteArrayView(file.data() + range[2], qsizetype(range[3]))});
    s.verified = check.verified;
    s.problem = check.problem;
    if (!check.signer.isEmpty())
        s.signer = check.signer;
    return s;
}

} // namespace pellimo
