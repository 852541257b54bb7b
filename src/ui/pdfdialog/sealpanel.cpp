// SPDX-License-Identifier: MIT
#include "sealpanel.h"

#include "pdfsign/certstore.h"
#include "pdfsign/cmssigner.h"
#include "pdfstamp/signpdf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pellimo {

namespace {

QString day(const QDateTime &t)
{
    return t.toLocalTime().date().toString(QStringLiteral("yyyy-MM-dd"));
}

// The dialog's password: handed to NSS once; when NSS asks again, the one given was wrong.
class DialogPassword : public PasswordSource {
public:
    explicit DialogPassword(QByteArray password) : m_password(std::move(password)) {}
    ~DialogPassword() override { m_password.fill('\0'); }
    std::optional<QByteArray> password(const QString &, bool retry) override
    {
        if (retry || m_given) {
            m_wrong = true;
            return std::nullopt;
        }
        m_given = true;
        return m_password;
    }
    bool wrong() const { return m_wrong; }

private:
    QByteArray m_password;
    bool m_given = false;
    bool m_wrong = false;
};

// Why `cert` cannot sign now, in Japanese; empty when it can.
QString problemOf(const CertInfo &cert, const QDateTime &now)
{
    if (now > cert.notAfter)
        return QStringLiteral(u"証明書「%1」は %2 に有効期限が切れています。")
            .arg(cert.nickname, day(cert.notAfter));
    if (now < cert.notBefore)
        return QStringLiteral(u"証明書「%1」は %2 まで有効になりません。")
            .arg(cert.nickname, day(cert.notBefore));
    if (!cert.keyUsageAllowsSigning)
        return QStringLiteral(
                   u"証明書「%1」は署名用ではありません(鍵用途にデジタル署名がありません)。")
            .arg(cert.nickname);
    return {};
}

PdfResult failure(const QString &text)
{
    return {text, {}};
}

} // namespace

SealPanel::SealPanel(QWidget *parent) : QWidget(parent)
{
    m_chkSign = new QCheckBox(QStringLiteral(u"電子署名を付ける(&E)"), this);
    m_chkSign->setObjectName(QStringLiteral("chkSign"));
    m_cmbCert = new QComboBox(this);
    m_cmbCert->setObjectName(QStringLiteral("cmbCert"));
    m_cmbCert->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_txtPassword = new QLineEdit(this);
    m_txtPassword->setObjectName(QStringLiteral("txtPassword"));
    m_txtPassword->setEchoMode(QLineEdit::Password);
    m_txtPassword->setPlaceholderText(
        QStringLiteral(u"証明書データベースのパスワード(なければ空)"));
    m_lblNotice = new QLabel(this);
    m_lblNotice->setObjectName(QStringLiteral("lblSealNotice"));
    m_lblNotice->setWordWrap(true);
    auto *certLabel = new QLabel(QStringLiteral(u"証明書(&C):"), this);
    certLabel->setObjectName(QStringLiteral("lblCert"));
    certLabel->setBuddy(m_cmbCert);
    auto *passwordLabel = new QLabel(QStringLiteral(u"パスワード(&W):"), this);
    passwordLabel->setObjectName(QStringLiteral("lblPassword"));
    passwordLabel->setBuddy(m_txtPassword);

    auto *form = new QFormLayout;
    form->addRow(certLabel, m_cmbCert);
    form->addRow(passwordLabel, m_txtPassword);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_chkSign);
    layout->addLayout(form);
    layout->addWidget(m_lblNotice);

    m_cmbCert->setEnabled(false);
    m_txtPassword->setEnabled(false);
    m_lblNotice->hide();
    connect(m_chkSign, &QCheckBox::toggled, this, [this](bool on) {
        if (on && !m_loaded)
            loadCertificates();
        m_cmbCert->setEnabled(on && !m_certs.isEmpty());
        m_txtPassword->setEnabled(on && !m_certs.isEmpty());
        m_lblNotice->setVisible(on && !m_lblNotice->text().isEmpty());
    });
}

SealPanel::~SealPanel() = default;

bool SealPanel::isSigning() const
{
    return m_chkSign->isChecked();
}

void SealPanel::setSigning(bool on)
{
    m_chkSign->setChecked(on);
}

QStringList SealPanel::certificateNames() const
{
    QStringList names;
    for (const CertInfo &c : m_certs)
        names << c.nickname;
    return names;
}

void SealPanel::loadCertificates()
{
    m_loaded = true;
    QString error;
    m_store = CertStore::open(m_folder, error);
    if (m_store)
        m_certs = m_store->signingCertificates();
    m_cmbCert->clear();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const CertInfo &c : m_certs) {
        const QString name = c.commonName.isEmpty() ? c.subject : c.commonName;
        m_cmbCert->addItem(
            QStringLiteral(u"%1 — %2(%3 まで)").arg(c.nickname, name, day(c.notAfter)));
        if (!problemOf(c, now).isEmpty())
            m_cmbCert->setItemData(m_cmbCert->count() - 1, problemOf(c, now), Qt::ToolTipRole);
    }
    // The first certificate that can sign now is offered.
    for (int i = 0; i < m_certs.size(); ++i)
        if (problemOf(m_certs[i], now).isEmpty()) {
            m_cmbCert->setCurrentIndex(i);
            break;
        }
    if (!m_store)
        m_storeError =
            QStringLiteral(u"証明書データベースを開けません。証明書は次のように読み込めます: "
                           u"pk12util -i 証明書.p12 -d sql:$HOME/.pki/nssdb");
    else if (m_certs.isEmpty())
        m_storeError =
            QStringLiteral(u"署名に使える証明書(秘密鍵のあるもの)がありません。証明書は次のように"
                           u"読み込めます: pk12util -i 証明書.p12 -d sql:$HOME/.pki/nssdb");
    m_lblNotice->setText(m_storeError);
}

PdfResult SealPanel::sign(const QString &in, const QString &out, const PdfStampPlace &place,
                          const StampGeometry &geometry, const PdfStampRecord &record)
{
    if (!m_loaded)
        loadCertificates();
    if (m_certs.isEmpty())
        return failure(m_storeError);
    const int index = m_cmbCert->currentIndex();
    if (index < 0 || index >= m_certs.size())
        return failure(QStringLiteral(u"署名に使う証明書を選んでください。"));
    const CertInfo &cert = m_certs[index];
    if (const QString problem = problemOf(cert, QDateTime::currentDateTimeUtc());
        !problem.isEmpty())
        return failure(problem);
    // The password is tried before the file is read, so that a wrong one is named as such.
    QString error;
    {
        DialogPassword password(m_txtPassword->text().toUtf8());
        if (!CmsSigner::start(*m_store, cert, password, error))
            return failure(password.wrong()
                               ? QStringLiteral(u"パスワードが違います。")
                               : QStringLiteral(u"証明書「%1」の秘密鍵を使えません: %2")
                                     .arg(cert.nickname, error));
    }
    DialogPassword password(m_txtPassword->text().toUtf8());
    const SigningRequest request{m_store->folder(), cert.nickname, &password};
    const PdfResult r = signPdfFile(in, out, place, geometry, record, request);
    if (!r)
        return failure(QStringLiteral(u"電子署名を付けられませんでした: %1").arg(r.error));
    return r;
}

} // namespace pellimo
