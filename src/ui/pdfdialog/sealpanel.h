// SPDX-License-Identifier: MIT
#pragma once

// The "PDF に押印" dialog's signing: a check box "電子署名を付ける", the certificates of the user's
// NSS database that can sign (read when the box is first checked, so that a dialog used without
// signing never starts NSS) and the key's password. Its texts and messages are Japanese.

#include "pdfstamp/pdfstamp.h"

#include <QList>
#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace pellimo {

class CertStore;
struct CertInfo;

class SealPanel : public QWidget {
    Q_OBJECT
public:
    explicit SealPanel(QWidget *parent = nullptr);
    ~SealPanel() override;

    // The NSS database; by default the user's own (~/.pki/nssdb). Before the box is checked.
    void setDatabaseFolder(const QString &folder) { m_folder = folder; }

    bool isSigning() const;
    void setSigning(bool on);
    // The certificates listed, in the order shown; empty until the box is checked.
    QStringList certificateNames() const;

    // Writes `out`, `in` with the stamp as the mark of a signature by the chosen certificate.
    // On failure the result's error is one Japanese line, and nothing is written.
    PdfResult sign(const QString &in, const QString &out, const PdfStampPlace &place,
                   const StampGeometry &geometry, const PdfStampRecord &record = {});

private:
    void loadCertificates();

    QString m_folder;
    std::unique_ptr<CertStore> m_store;
    QList<CertInfo> m_certs;
    QString m_storeError;
    bool m_loaded = false;
    QCheckBox *m_chkSign = nullptr;
    QComboBox *m_cmbCert = nullptr;
    QLineEdit *m_txtPassword = nullptr;
    QLabel *m_lblNotice = nullptr;
};

} // namespace pellimo
