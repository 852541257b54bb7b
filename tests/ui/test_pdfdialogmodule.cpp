// SPDX-License-Identifier: MIT
// pellimo-pdfdialog.so as the program uses it: loaded on demand into a binary that holds the main
// window, its symbols resolved at once, its dialog shown for a real PDF.

#include "../stamptool/toolrun.h"
#include "mainwindowfixture.h"
#include "render/stampgeometry.h"
#include "ui/pdfdialog/pdfdialogmodule.h"

#include <QApplication>
#include <QDialog>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

using namespace pellimo;
using namespace pellimo::testing;

class TestPdfDialogModule : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void missingModuleIsReported()
    {
        QTemporaryDir empty;
        QString error;
        QVERIFY(!loadPdfStampDialog({empty.path()}, &error));
        QVERIFY(error.contains(pdfDialogModuleName()));
    }

    // The dialog from the module shows the page, drawn by pellimo-pdfpage found beside it.
    void moduleShowsTheDialog()
    {
        MainWindowFixture f; // the window's code is in this binary, as it is in pellimo
        f.window().load();
        QString error;
        const RunPdfStampDialog run =
            loadPdfStampDialog({QStringLiteral(PELLIMO_MODULE_DIR)}, &error);
        QVERIFY2(run, qPrintable(error));

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("form.pdf"));
        QVERIFY(writeFormPdf(pdf, 3));
        int pages = 0;
        bool pictureShown = false;
        QString notice;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            if (auto *page = dialog->findChild<QSpinBox *>(QStringLiteral("spnPage")))
                pages = page->maximum();
            QWidget *preview = dialog->findChild<QWidget *>(QStringLiteral("pagePreview"));
            pictureShown = preview && preview->property("pictureShown").toBool();
            notice = preview ? preview->property("notice").toString() : QString();
            if (pictureShown || notice.contains(QStringLiteral(u"表示できません")))
                dialog->close();
        });
        poll.start(20);
        QTimer::singleShot(30000, this, [] {
            if (QWidget *dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        const StampGeometry g = stampGeometry(f.state.profile);
        QString saved;
        run({&g, naturalDiameterMm(g), pdf, QString(), &f.window()}, &saved);
        QVERIFY(saved.isEmpty()); // closed, not saved
        QCOMPARE(pages, 3);
        QVERIFY2(pictureShown, qPrintable(notice));
        QCOMPARE(f.warnings, QStringList());
    }
};

QTEST_MAIN(TestPdfDialogModule)
#include "test_pdfdialogmodule.moc"
