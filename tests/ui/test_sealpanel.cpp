// SPDX-License-Identifier: MIT
// The "PDF に押印" dialog's "電子署名を付ける": the certificates of a test NSS database (openssl,
// certutil, pk12util) listed when the box is checked, the password typed, the signed copy valid
// for pdfsig; a wrong password, an expired certificate and an empty database refused in Japanese
// with nothing written.

#include "model/stampprofile.h"
#include "testcerts.h"
#include "ui/pdfdialog/sealpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo;
using namespace pellimo::testing;

class TestSealPanel : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_in;
    StampGeometry m_stamp;

    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        TestPki pki(path(QStringLiteral("pki")));
        QVERIFY(QDir().mkpath(pki.folder()));
        QString error;
        QVERIFY2(makeTestCertificates(pki, {QStringLiteral("alice"), QStringLiteral("old")}, error),
                 qPrintable(error));
        QVERIFY2(pki.makeDatabase(path(QStringLiteral("db")), QStringLiteral("pw"),
                                  {QStringLiteral("old"), QStringLiteral("alice")}, error),
                 qPrintable(error));
        QVERIFY2(pki.makeDatabase(path(QStringLiteral("empty")), QString(), {}, error),
                 qPrintable(error));
        m_in = path(QStringLiteral("in.pdf"));
        QPdfWriter writer(m_in);
        QPainter painter(&writer);
        painter.drawText(QPointF(300, 300), QStringLiteral("to be signed"));
        QVERIFY(painter.end());
        m_stamp = stampGeometry([] {
            StampProfile p;
            loadDefaultProfile(p);
            return p;
        }());
    }

    void listsOnlyWhenChecked()
    {
        SealPanel panel;
        panel.setDatabaseFolder(path(QStringLiteral("db")));
        QVERIFY(panel.certificateNames().isEmpty());
        auto *box = panel.findChild<QCheckBox *>(QStringLiteral("chkSign"));
        auto *certs = panel.findChild<QComboBox *>(QStringLiteral("cmbCert"));
        QVERIFY(box && certs);
        QVERIFY(!certs->isEnabled());
        box->setChecked(true);
        QCOMPARE(panel.certificateNames(),
                 (QStringList{QStringLiteral("alice"), QStringLiteral("old")}));
        QVERIFY(certs->isEnabled());
        QCOMPARE(certs->currentIndex(), 0); // the one that can sign now
        QVERIFY(certs->currentText().contains(QStringLiteral("Taro Yamada")));
    }

    void signs_data()
    {
        QTest::addColumn<QString>("db");
        QTest::addColumn<int>("cert");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("says"); // empty: signed
        QTest::newRow("right password") << "db" << 0 << "pw" << QString();
        QTest::newRow("wrong password")
            << "db" << 0 << "pW" << QStringLiteral(u"パスワードが違います");
        QTest::newRow("no password") << "db" << 0 << "" << QStringLiteral(u"パスワードが違います");
        QTest::newRow("expired certificate")
            << "db" << 1 << "pw" << QStringLiteral(u"有効期限が切れています");
        QTest::newRow("no certificate")
            << "empty" << 0 << "" << QStringLiteral(u"署名に使える証明書");
        QTest::newRow("no database")
            << "absent" << 0 << "" << QStringLiteral(u"証明書データベースを開けません");
    }

    void signs()
    {
        QFETCH(QString, db);
        QFETCH(int, cert);
        QFETCH(QString, password);
        QFETCH(QString, says);
        SealPanel panel;
        panel.setDatabaseFolder(path(db));
        panel.setSigning(true);
        panel.findChild<QComboBox *>(QStringLiteral("cmbCert"))->setCurrentIndex(cert);
        panel.findChild<QLineEdit *>(QStringLiteral("txtPassword"))->setText(password);
        const QString out = path(QStringLiteral("out-%1.pdf").arg(QTest::currentDataTag()));
        const PdfResult r = panel.sign(m_in, out, {1, QPointF(30, 30), 20}, m_stamp);
        if (says.isEmpty()) {
            QVERIFY2(r, qPrintable(r.error));
            const Ran check = run(QStringLiteral("pdfsig"), {out});
            QVERIFY2(check.out.contains("Signature Validation: Signature is Valid."),
                     check.out.constData());
            return;
        }
        QVERIFY2(r.error.contains(says), qPrintable(r.error));
        QVERIFY(!QFile::exists(out));
    }
};

QTEST_MAIN(TestSealPanel)
#include "test_sealpanel.moc"
