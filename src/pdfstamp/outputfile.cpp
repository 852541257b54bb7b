// SPDX-License-Identifier: MIT
#include "outputfile.h"

#include "storage/filenames.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <sys/stat.h>

namespace pellimo::pdf {

QString displayName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

bool sameFile(const QString &a, const QString &b)
{
    if (a == QLatin1String("-") || b == QLatin1String("-"))
        return false; // standard output is never a file read by name
    if (QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath())
        return true;
    struct stat sa {};
    struct stat sb {};
    return ::stat(fileNameBytes(a).constData(), &sa) == 0 &&
           ::stat(fileNameBytes(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool OutputFile::check(bool done, QString &error) const
{
    if (done)
        return true;
    error = m_file.changedWhileRead()
                ? QCoreApplication::translate("pellimo", "%1 changed while it was being read")
                      .arg(m_name)
                : QCoreApplication::translate("pellimo", "%1 cannot be written: %2")
                      .arg(m_name, m_file.reason());
    return false;
}

bool OutputFile::open(const QString &out, QString &error)
{
    m_name = displayName(out);
    return check(m_file.open(out), error);
}

bool OutputFile::copyFrom(int in, int64_t size, QString &error)
{
    return check(m_file.copyFrom(in, size), error);
}

bool OutputFile::append(const std::string &bytes, QString &error)
{
    return check(m_file.append(QByteArrayView(bytes.data(), qsizetype(bytes.size()))), error);
}

bool OutputFile::overwrite(int64_t at, const QByteArray &bytes, QString &error)
{
    return check(m_file.overwrite(at, bytes), error);
}

bool OutputFile::adopt(QString &error)
{
    return check(m_file.adopt(), error);
}

bool OutputFile::commit(QString &error)
{
    return check(m_file.commit(), error);
}

} // namespace pellimo::pdf
