// SPDX-License-Identifier: MIT
#include "pdfrewrite.h"

#include "outputfile.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <qpdf/QPDFWriter.hh>
#include <unistd.h>

namespace pellimo::pdf {

bool rewritePdf(QPDF &pdf, OutputFile &file, QString &error)
{
    const int copy = ::dup(file.fd());
    FILE *stream = copy >= 0 ? ::fdopen(copy, "wb") : nullptr;
    if (!stream) {
        if (copy >= 0)
            ::close(copy);
        error = QCoreApplication::translate("pellimo", "the stamped file could not be written (%1)")
                    .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    try {
        QPDFWriter writer(pdf);
        writer.setOutputFile("output", stream, true);
        writer.setDecodeLevel(qpdf_dl_none);
        writer.setObjectStreamMode(qpdf_o_preserve);
        writer.setPreserveEncryption(true);
        writer.write();
    } catch (const std::exception &e) {
        error = QCoreApplication::translate("pellimo", "the stamped file could not be written (%1)")
                    .arg(QString::fromLocal8Bit(e.what()));
        return false;
    }
    return file.adopt(error);
}

} // namespace pellimo::pdf
