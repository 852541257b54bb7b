// SPDX-License-Identifier: MIT
// signPdfFile: the checks come first (the file, the certificate, the password), so that nothing is
// written when one fails. Then the update is made with a hole for the signature, its byte range
// filled in before the bytes around the hole are hashed as they lie in the output file, and the
// signature written into the hole before the file is committed.

#include "signpdf.h"

#include "openedpdf.h"
#include "outputfile.h"
#include "pdfsign/certstore.h"
#include "pdfsign/cmssigner.h"
#include "pdfsignatures.h"
#include "qpdfaccess.h"
#include "render/stampvector.h"
#include "stampannotation.h"
#include "stampfit.h"
#include "updatesection.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <set>
#include <unistd.h>
#include <vector>

namespace pellimo {

namespace {

PdfResult refusal(const QString &text)
{
    return {text, {}};
}

PdfResult checkSignable(OpenedPdf &o)
{
    QPDF &pdf = *o.pdf;
    if (pdf.isEncrypted())
        return refusal(
            QCoreApplication::translate(
                "pellimo", "%1 is encrypted: Pellimo signs only documents without encryption")
                .arg(o.name));
    if (o.repaired)
        return refusal(QCoreApplication::translate(
                           "pellimo",
                           "%1 is damaged (%2): a signature needs the file as it is, so it is not "
                           "signed")
                           .arg(o.name, o.damage));
    if (const int p = pdf::certifiedPermission(pdf); p == 1 || p == 2)
        return refusal(QCoreApplication::translate(
                           "pellimo",
                           "%1 is certified by a signature (%2) that allows no new signature "
                           "fields; a signed stamp would break it")
                           .arg(o.name, signatureNames(o)));
    return {};
}

// The changed objects of the document, each once.
class Changes {
public:
    void add(QPDFObjectHandle object)
    {
        if (m_seen.insert(object.getObjGen()).second)
            m_objects.push_back(object);
    }
    const std::vector<QPDFObjectHandle> &objects() const { return m_objects; }

private:
    std::set<QPDFObjGen> m_seen;
    std::vector<QPDFObjectHandle> m_objects;
};

// A name no top-level field of the form has yet: PellimoSeal1, PellimoSeal2, ...
std::string freeFieldName(QPDFObjectHandle fields)
{
    std::set<std::string> taken;
    if (fields.isArray())
        for (QPDFObjectHandle field : fields.getArrayAsVector())
            if (QPDFObjectHandle t = pdf::keyOf(field, "/T"); t.isString())
                taken.insert(t.getUTF8Value());
    for (int n = 1;; ++n)
        if (std::string name = "PellimoSeal" + std::to_string(n); !taken.count(name))
            return name;
}

// The widget added to the page's annotations and the field to the form's fields, the form made
// when the document has none; /SigFlags says the document holds signatures and is to be appended
// to only.
void addField(QPDF &pdf, QPDFObjectHandle page, QPDFObjectHandle widget, Changes &changes)
{
    QPDFObjectHandle annots = pdf::keyOf(page, "/Annots");
    if (annots.isArray()) {
        annots.appendItem(widget);
        changes.add(annots.isIndirect() ? annots : page);
    } else {
        page.replaceKey("/Annots", QPDFObjectHandle::newArray(std::vector{widget}));
        changes.add(page);
    }

    QPDFObjectHandle root = pdf.getRoot();
    QPDFObjectHandle form = pdf::keyOf(root, "/AcroForm");
    if (!form.isDictionary()) {
        form = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        root.replaceKey("/AcroForm", form);
        changes.add(root);
    } else {
        changes.add(form.isIndirect() ? form : root);
    }
    QPDFObjectHandle fields = pdf::keyOf(form, "/Fields");
    widget.replaceKey("/T", QPDFObjectHandle::newUnicodeString(freeFieldName(fields)));
    if (fields.isArray()) {
        fields.appendItem(widget);
        if (fields.isIndirect())
            changes.add(fields);
    } else {
        form.replaceKey("/Fields", QPDFObjectHandle::newArray(std::vector{widget}));
    }
    QPDFObjectHandle flags = pdf::keyOf(form, "/SigFlags");
    form.replaceKey("/SigFlags", QPDFObjectHandle::newInteger(
                                     (flags.isInteger() ? flags.getIntValue() : 0) | 3));
}

// The stamp annotation turned into the widget of a signature field: who stamped becomes the
// field's name for the user, the markup keys go.
void makeSignatureWidget(QPDFObjectHandle widget, QPDFObjectHandle signature)
{
    if (QPDFObjectHandle who = widget.getKey("/T"); who.isString())
        widget.replaceKey("/TU", who);
    widget.removeKey("/T");
    widget.removeKey("/Subj");
    widget.removeKey("/CreationDate");
    widget.replaceKey("/Subtype", QPDFObjectHandle::newName("/Widget"));
    widget.replaceKey("/FT", QPDFObjectHandle::newName("/Sig"));
    widget.replaceKey("/V", signature);
}

QPDFObjectHandle signatureDictionary(QPDF &pdf, const QString &signer, const QDateTime &when)
{
    QPDFObjectHandle d = QPDFObjectHandle::newDictionary();
    d.replaceKey("/Type", QPDFObjectHandle::newName("/Sig"));
    d.replaceKey("/Filter", QPDFObjectHandle::newName("/Adobe.PPKLite"));
    d.replaceKey("/SubFilter", QPDFObjectHandle::newName("/ETSI.CAdES.detached"));
    d.replaceKey("/M", QPDFObjectHandle::newString(pdfDate(when)));
    d.replaceKey("/Name", QPDFObjectHandle::newUnicodeString(signer.toStdString()));
    d.replaceKey("/Reason", QPDFObjectHandle::newUnicodeString(kSealReason.toStdString()));
    return pdf.makeIndirectObject(d);
}

// Hands `size` bytes of `fd` from `from` on to the signer.
bool hashRange(int fd, int64_t from, int64_t size, CmsSigner &signer, const QString &name,
               QString &error)
{
    std::vector<char> buffer(size_t(1) << 20);
    while (size > 0) {
        const ssize_t n = ::pread(fd, buffer.data(),
                                  size_t(std::min<int64_t>(size, int64_t(buffer.size()))), from);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = QCoreApplication::translate("pellimo", "%1 cannot be read back for signing: %2")
                        .arg(name, QString::fromLocal8Bit(std::strerror(n < 0 ? errno : EIO)));
            return false;
        }
        signer.addData(QByteArrayView(buffer.data(), qsizetype(n)));
        from += n;
        size -= n;
    }
    return true;
}

} // namespace

PdfResult signPdfFile(const QString &in, const QString &out, const PdfStampPlace &place,
                      const StampGeometry &geometry, const PdfStampRecord &record,
                      const SigningRequest &request)
{
    if (PdfResult r = checkOutputIsNotInput(in, out); !r)
        return r;
    if (PdfResult r = checkStampSize(place.diameterMm); !r)
        return r;
    PdfStampRecord signing = record;
    if (!signing.when.isValid())
        signing.when = QDateTime::currentDateTime();
    try {
        PdfInput reading(in);
        const QByteArray stampBytes = stampPdf(geometry, place.diameterMm);
        const std::unique_ptr<OpenedPdf> o = reading.take();
        if (!o->status)
            return o->status;
        if (PdfResult r = checkSignable(*o); !r)
            return r;
        PageFrame frame;
        QRectF picture;
        if (PdfResult r = placeStamp(*o, place, geometry, frame, picture); !r)
            return r;
        QPDFObjectHandle page = o->pages[size_t(place.page - 1)];
        if (stampBytes.isEmpty())
            return refusal(
                QCoreApplication::translate("pellimo", "the stamp could not be drawn as PDF"));

        // The certificate and its key: a wrong password is known before anything is written.
        QString error;
        const std::unique_ptr<CertStore> store = CertStore::open(request.nssFolder, error);
        if (!store)
            return refusal(error);
        const std::optional<CertInfo> cert =
            store->pick(request.certificate, signing.when.toUTC(), error);
        if (!cert)
            return refusal(error);
        if (const QString why = signingProblem(*cert, signing.when.toUTC()); !why.isEmpty())
            return refusal(why);
        FixedPassword noPassword({});
        PasswordSource &password = request.password ? *request.password : noPassword;
        const std::unique_ptr<CmsSigner> signer = CmsSigner::start(*store, *cert, password, error);
        if (!signer)
            return refusal(error.isEmpty() ? password.whyNone() : error);

        QPDF &pdf = *o->pdf;
        const int firstNew = int(pdf.getObjectCount()) + 1;
        const std::unique_ptr<QPDF> stampPage = readStampPage(stampBytes);
        const QPDFObjectHandle form = stampForm(pdf, *stampPage, frame.rotation);
        QPDFObjectHandle widget =
            stampAnnotation(pdf, page, form, userSpaceRect(frame, picture), signing, geometry);
        const QString signerName = cert->commonName.isEmpty() ? cert->subject : cert->commonName;
        const QPDFObjectHandle signature = signatureDictionary(pdf, signerName, signing.when);
        makeSignatureWidget(widget, signature);
        Changes changes;
        addField(pdf, page, widget, changes);

        pdf::UpdateBase base;
        base.size = o->size;
        base.endsWithEol = o->endsWithEol;
        base.prevXref = o->chain.startxref;
        base.xrefStream = o->chain.lastIsStream;
        base.trailer = pdf.getTrailer();
        QPDFObjectHandle size = pdf::keyOf(base.trailer, "/Size");
        base.firstFreeNumber = std::max<int>(
            firstNew, size.isInteger()
                          ? int(std::clamp<long long>(size.getIntValue(), 1, INT32_MAX / 2))
                          : 1);
        pdf::UpdateSection section(base, nullptr);
        section.addSignature(signature, int(signer->sizeBound()), firstNew);
        for (const QPDFObjectHandle &changed : changes.objects())
            section.addChanged(changed, firstNew);
        std::string update = section.write();
        const pdf::SignatureHole hole = *section.hole();
        const int64_t total = o->size + int64_t(update.size());
        const std::string range = hole.byteRange(total);
        if (range.empty())
            return refusal(QCoreApplication::translate("pellimo", "%1 is too large to be signed")
                               .arg(o->name));
        update.replace(size_t(hole.byteRangeOffset - o->size), range.size(), range);

        pdf::OutputFile file;
        if (!file.open(out, error))
            return refusal(error);
        // The signature is made over the bytes as written, read back: a pipe cannot be.
        if (file.toStandardOutput())
            return refusal(QCoreApplication::translate(
                "pellimo", "a signed copy cannot go to standard output; name a file with -o"));
        if (!file.copyFrom(o->fd, o->size, error) || !file.append(update, error))
            return refusal(error);
        const QString outName = pdf::displayName(out);
        const int64_t after = hole.contentsOffset + hole.contentsLength;
        if (!hashRange(file.fd(), 0, hole.contentsOffset, *signer, outName, error) ||
            !hashRange(file.fd(), after, total - after, *signer, outName, error))
            return refusal(error);
        const QByteArray der = signer->finish(error);
        if (der.isEmpty())
            return refusal(error);
        const QByteArray hex = der.toHex();
        if (hex.size() > hole.contentsLength - 2)
            return refusal(
                QCoreApplication::translate(
                    "pellimo", "the signature (%1 bytes) does not fit the room kept for it")
                    .arg(der.size()));
        if (!file.overwrite(hole.contentsOffset + 1, hex, error) || !file.commit(error))
            return refusal(error);
        return {};
    } catch (const std::exception &e) {
        return refusal(QCoreApplication::translate("pellimo", "%1 cannot be signed: %2")
                           .arg(pdf::displayName(in), QString::fromUtf8(e.what())));
    }
}

} // namespace pellimo
