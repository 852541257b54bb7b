// SPDX-License-Identifier: MIT
#include "pdfsignatures.h"

#include "qpdfaccess.h"

#include <QCoreApplication>
#include <qpdf/QPDF.hh>
#include <set>

namespace pellimo::pdf {

namespace {

QString text(QPDFObjectHandle value)
{
    return value.isString() ? QString::fromStdString(value.getUTF8Value()) : QString();
}

void collect(QPDFObjectHandle field, const QString &parentName, const std::string &inheritedType,
             std::set<QPDFObjGen> &seen, int depth, QStringList &found)
{
    if (!field.isDictionary() || depth > 32 ||
        (field.isIndirect() && !seen.insert(field.getObjGen()).second))
        return;
    const QString part = text(keyOf(field, "/T"));
    const QString name = parentName.isEmpty() ? part
                         : part.isEmpty()     ? parentName
                                              : parentName + QLatin1Char('.') + part;
    QPDFObjectHandle type = keyOf(field, "/FT");
    const std::string fieldType = type.isName() ? type.getName() : inheritedType;
    QPDFObjectHandle value = keyOf(field, "/V");
    if (fieldType == "/Sig" && value.isDictionary()) {
        const QString signer = text(keyOf(value, "/Name"));
        const QString shown = name.isEmpty() ? QStringLiteral("(unnamed)") : name;
        found << (signer.isEmpty()
                      ? QStringLiteral("\"%1\"").arg(shown)
                      : QCoreApplication::translate("pellimo", "\"%1\" by %2").arg(shown, signer));
    }
    QPDFObjectHandle kids = keyOf(field, "/Kids");
    if (kids.isArray())
        for (QPDFObjectHandle kid : kids.getArrayAsVector())
            collect(kid, name, fieldType, seen, depth + 1, found);
}

} // namespace

QStringList signaturesOf(QPDF &pdf)
{
    QStringList found;
    QPDFObjectHandle fields = pathOf(pdf.getRoot(), "/AcroForm", "/Fields");
    std::set<QPDFObjGen> seen;
    if (fields.isArray())
        for (QPDFObjectHandle field : fields.getArrayAsVector())
            collect(field, QString(), std::string(), seen, 0, found);
    return found;
}

int certifiedPermission(QPDF &pdf)
{
    QPDFObjectHandle signature = pathOf(pdf.getRoot(), "/Perms", "/DocMDP");
    if (!signature.isDictionary())
        return 0;
    QPDFObjectHandle references = keyOf(signature, "/Reference");
    if (references.isArray())
        for (QPDFObjectHandle reference : references.getArrayAsVector()) {
            if (!keyOf(reference, "/TransformMethod").isNameAndEquals("/DocMDP"))
                continue;
            QPDFObjectHandle p = pathOf(reference, "/TransformParams", "/P");
            return p.isInteger() && p.getIntValue() >= 1 && p.getIntValue() <= 3
                       ? int(p.getIntValue())
                       : 2;
        }
    return 2; // the default of a DocMDP transform
}

} // namespace pellimo::pdf
