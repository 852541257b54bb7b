// SPDX-License-Identifier: MIT
// pellimo-pdfpage on its own: what it answers to the dialog's requests, told as a transcript.

#include "pdfpage/pageprotocol.h"
#include "rawpdf.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace pellimo::pdfpage;
using namespace pellimo::testing;

namespace {

QString sizeText(QSizeF s)
{
    return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
}

struct Transcript {
    QString text;
    int exitCode = -1;
};

// Runs the renderer with the request lines as its stdin and tells what it answered.
Transcript converse(const QStringList &arguments, const QByteArray &requests)
{
    QProcess p;
    p.start(QStringLiteral(PELLIMO_PDFPAGE), arguments);
    if (!p.waitForStarted())
        return {QStringLiteral("did not start"), -1};
    p.write(requests);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        return {QStringLiteral("did not end"), -1};
    FrameReader reader;
    reader.append(p.readAllStandardOutput());
    QStringList said;
    while (std::optional<Frame> f = reader.next()) {
        int count = 0, page = 0;
        QList<QSizeF> sizes;
        QImage picture;
        switch (f->type) {
        case FrameType::Pages: {
            if (!decodePages(f->payload, count, sizes))
                return {QStringLiteral("bad pages frame"), -1};
            QStringList shown;
            for (const QSizeF &s : sizes)
                shown << sizeText(s);
            said << QStringLiteral("pages %1 [%2]").arg(count).arg(shown.join(QLatin1Char(' ')));
            break;
        }
        case FrameType::Located:
            said << (decodePage(f->payload, page) ? QStringLiteral("found %1").arg(page)
                                                  : QStringLiteral("bad"));
            break;
        case FrameType::Picture:
            said << (decodePicture(f->payload, page, picture) ? QStringLiteral("picture %1 %2x%3")
                                                                    .arg(page)
                                                                    .arg(picture.width())
                                                                    .arg(picture.height())
                                                              : QStringLiteral("bad picture"));
            break;
        case FrameType::Failed:
            said << (decodePage(f->payload, page) ? QStringLiteral("failed %1").arg(page)
                                                  : QStringLiteral("bad"));
            break;
        case FrameType::Refused:
            said << QStringLiteral("refused");
            break;
        }
    }
    if (reader.failed())
        said << QStringLiteral("garbled");
    return {said.join(QStringLiteral("; ")),
            p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1};
}

} // namespace

class TestPdfPage : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString file(const char *name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", name);
        return path;
    }

private Q_SLOTS:
    void answers_data()
    {
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("requests");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("exitCode");
        const QString mixed =
            file("mixed.pdf", rawPdf({textContent("x")}, {{QSizeF(595, 842), 0, 0},
                                                          {QSizeF(595, 842), 0, 90},
                                                          {QSizeF(14400, 14400), 0, 0},
                                                          {QSizeF(300, 100), 0, -270}}));
        QTest::newRow("sizes as shown, turned pages turned")
            << mixed << QStringList() << QByteArray()
            << "pages 4 [595x842 842x595 14400x14400 100x300]" << 0;
        QTest::newRow("pages drawn to fit the box, in any order")
            << mixed << QStringList{QStringLiteral("--no-sizes")}
            << QByteArray("2 1200 1200\n1 600 600\n3 1200 1200\n")
            << "pages 4 []; found 2; picture 2 1200x848; found 1; picture 1 424x600; found 3; "
               "picture 3 1200x1200"
            << 0;
        QTest::newRow("a page that is not there: failed, and ended")
            << mixed << QStringList{QStringLiteral("--no-sizes")}
            << QByteArray("5 1200 1200\n1 1200 1200\n") << "pages 4 []; failed 5" << 1;
        QTest::newRow("a request it does not understand ends it")
            << mixed << QStringList{QStringLiteral("--no-sizes")}
            << QByteArray("1 1200\n1 1200 1200\n") << "pages 4 []" << 2;
        QTest::newRow("a line without its end")
            << mixed << QStringList{QStringLiteral("--no-sizes")} << QByteArray("1 1200 1200")
            << "pages 4 []" << 2;
        QTest::newRow("retired after its first answer, past its CPU time")
            << mixed
            << QStringList{QStringLiteral("--no-sizes"), QStringLiteral("--retire-after=1e-9")}
            << QByteArray("1 600 600\n2 600 600\n") << "pages 4 []; found 1; picture 1 424x600"
            << 0;
        QTest::newRow("a retirement that is not a time")
            << mixed << QStringList{QStringLiteral("--retire-after=soon")} << QByteArray() << ""
            << 2;
        QTest::newRow("not a PDF")
            << file("text.pdf", "hello") << QStringList() << QByteArray() << "refused" << 1;
        QTest::newRow("no such file") << m_dir.filePath(QStringLiteral("none.pdf")) << QStringList()
                                      << QByteArray() << "refused" << 1;
        QTest::newRow("an option it does not know")
            << mixed << QStringList{QStringLiteral("--sizes")} << QByteArray() << "" << 2;
    }

    void answers()
    {
        QFETCH(QString, pdf);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, requests);
        QFETCH(QString, expected);
        QFETCH(int, exitCode);
        const Transcript t = converse(QStringList{pdf} + options, requests);
        QCOMPARE(t.text, expected);
        QCOMPARE(t.exitCode, exitCode);
    }
};

QTEST_GUILESS_MAIN(TestPdfPage)
#include "test_pdfpage.moc"
