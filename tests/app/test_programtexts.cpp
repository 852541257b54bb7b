// SPDX-License-Identifier: MIT
// The program's own texts in the user's language: the translation file is complete and keeps every
// placeholder of its English text, and the programs as built speak Japanese under a Japanese
// locale and English under any other.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Message {
    QString context, source, translation;
    bool finished = false;
};

QList<Message> readTs(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    QList<Message> messages;
    QString context;
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            Message m;
            m.context = context;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("source")) {
                    m.source = xml.readElementText();
                } else if (xml.name() == QLatin1String("translation")) {
                    const QString type = xml.attributes().value(QLatin1String("type")).toString();
                    m.finished = type.isEmpty();
                    m.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                } else {
                    xml.skipCurrentElement();
                }
            }
            messages << m;
        }
    }
    return messages;
}

// The placeholders %1..%99 a text uses, each once however often it appears.
QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%(\\d{1,2})"));
    QStringList found;
    for (const QRegularExpressionMatch &m : marker.globalMatch(text))
        if (!found.contains(m.captured(0)))
            found << m.captured(0);
    found.sort();
    return found;
}

struct Run {
    int status = -1;
    QString out, err;
};

Run run(const QString &program, const QStringList &arguments, const QString &lang)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("LC_ALL"));
    env.remove(QStringLiteral("LC_MESSAGES"));
    env.remove(QStringLiteral("LANGUAGE"));
    env.insert(QStringLiteral("LANG"), lang);
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestProgramTexts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyTextTranslated()
    {
        const QList<Message> messages =
            readTs(QStringLiteral(PELLIMO_SOURCE_DIR "/translations/pellimo_ja.ts"));
        QVERIFY(messages.size() > 50);
        for (const Message &m : messages) {
            const QByteArray where = (m.context + QStringLiteral(": ") + m.source).toUtf8();
            QVERIFY2(m.finished && !m.translation.isEmpty(), where.constData());
            QVERIFY2(placeholders(m.source) == placeholders(m.translation), where.constData());
        }
    }

    void programsSpeakTheLocale_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("lang");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        const QString pellimo = QStringLiteral(PELLIMO_BINARY_DIR "/src/pellimo");
        QTest::newRow("help, Japanese")
            << pellimo << QStringList{QStringLiteral("--help")} << QStringLiteral("ja_JP.UTF-8")
            << 0 << QStringLiteral(u"丸い日付印");
        QTest::newRow("help, English")
            << pellimo << QStringList{QStringLiteral("--help")} << QStringLiteral("C.UTF-8") << 0
            << QStringLiteral("Draws a round Japanese date stamp");
        QTest::newRow("help, German: English")
            << pellimo << QStringList{QStringLiteral("--help")} << QStringLiteral("de_DE.UTF-8")
            << 0 << QStringLiteral("Draws a round Japanese date stamp");
        QTest::newRow("no display, Japanese")
            << pellimo << QStringList() << QStringLiteral("ja_JP.UTF-8") << 1
            << QStringLiteral(u"表示するディスプレイがありません");
        QTest::newRow("no display, English")
            << pellimo << QStringList() << QStringLiteral("en_US.UTF-8") << 1
            << QStringLiteral("no display to run on");
        const QString stamp = QStringLiteral(PELLIMO_BINARY_DIR "/src/stamptool/pellimo-stamp");
        QTest::newRow("pellimo-stamp help, Japanese")
            << stamp << QStringList{QStringLiteral("--help")} << QStringLiteral("ja_JP.UTF-8") << 0
            << QStringLiteral(u"PDF ファイルのページに押印します");
        QTest::newRow("pellimo-stamp help, English")
            << stamp << QStringList{QStringLiteral("--help")} << QStringLiteral("C.UTF-8") << 0
            << QStringLiteral("onto a page of a PDF file");
        const QStringList badUser{QStringLiteral("--user"), QStringLiteral("9"),
                                  QStringLiteral("--png"), QStringLiteral("-")};
        QTest::newRow("pellimo-stamp refusal, Japanese")
            << stamp << badUser << QStringLiteral("ja_JP.UTF-8") << 1
            << QStringLiteral(u"--user には 1 から 5 を指定してください (9 ではなく)");
        QTest::newRow("pellimo-stamp refusal, English")
            << stamp << badUser << QStringLiteral("C.UTF-8") << 1
            << QStringLiteral("--user takes 1 to 5, not 9");
    }

    void programsSpeakTheLocale()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, lang);
        QFETCH(int, status);
        QFETCH(QString, says);
        const Run ran = run(program, arguments, lang);
        QCOMPARE(ran.status, status);
        QVERIFY2((ran.out + ran.err).contains(says), qPrintable(ran.out + ran.err));
    }
};

QTEST_GUILESS_MAIN(TestProgramTexts)
#include "test_programtexts.moc"
