// SPDX-License-Identifier: MIT
// Damaged data files. Whatever bytes a profile file holds, loadProfile either reads it correctly
// and returns 0 without a word, or shows the reader's warning exactly once and returns 1; either
// way the file stays byte for byte as it was. The settings reader takes any file without failing.
#include "storage/cp932.h"
#include "storage/profilefile.h"
#include "storage/settingsfile.h"
#include "testfiles.h"
#include "warningrecorder.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace pellimo;

namespace {

enum class Outcome { Read, Warned, Either };

} // namespace

Q_DECLARE_METATYPE(Outcome)
Q_DECLARE_METATYPE(pellimo::StampProfile)

namespace {

// The 33 fields of the reference profile in file order.
QStringList referenceFields()
{
    return referenceProfileLines().join(QLatin1Char(',')).split(QLatin1Char(','));
}

// Five lines (five fields, then seven per item), CR LF after each, in CP932.
QByteArray fileOf(const QStringList &fields)
{
    QString text;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        text += fields[i];
        const bool lineEnd = i == 4 || (i > 4 && (i - 5) % 7 == 6);
        text += lineEnd ? QStringLiteral("\r\n") : QStringLiteral(",");
    }
    return cp932(text);
}

QByteArray fileWithField(int index, const QString &value)
{
    QStringList fields = referenceFields();
    fields[index] = value;
    return fileOf(fields);
}

// The numeric fields of the file, by their index among the 33, with their width.
struct NumberField {
    int index;
    const char *name;
    bool wide; // 32-bit colour; all others are 16-bit
    std::function<void(StampProfile &, qint64)> store;
};

std::vector<NumberField> numberFields()
{
    std::vector<NumberField> fields{
        {0, "colour", true, [](StampProfile &p, qint64 v) { p.colour = int32_t(v); }},
        {1, "lineWidth", false, [](StampProfile &p, qint64 v) { p.lineWidth = int16_t(v); }},
        {2, "bottomAreaPercent", false,
         [](StampProfile &p, qint64 v) { p.bottomAreaPercent = int16_t(v); }},
        {3, "topAreaPercent", false,
         [](StampProfile &p, qint64 v) { p.topAreaPercent = int16_t(v); }},
        {4, "radius", false, [](StampProfile &p, qint64 v) { p.radius = int16_t(v); }},
    };
    for (int item = 0; item < kItemCount; ++item) {
        const int base = 5 + 7 * item;
        fields.push_back({base + 3, "fontSize", false, [item](StampProfile &p, qint64 v) {
                              p.items[item].fontSize = int16_t(v);
                          }});
        fields.push_back({base + 5, "offsetX", false, [item](StampProfile &p, qint64 v) {
                              p.items[item].offsetX = int16_t(v);
                          }});
        fields.push_back({base + 6, "offsetY", false, [item](StampProfile &p, qint64 v) {
                              p.items[item].offsetY = int16_t(v);
                          }});
    }
    return fields;
}

// What a start of a valid file gives: the warning, unless the cut falls inside or after the last
// field's number, which is then read as far as it goes.
void addPrefixRows(const char *name, const QByteArray &whole, const StampProfile &profile)
{
    const qsizetype lastField = whole.lastIndexOf(',') + 1;
    for (qsizetype length = 0; length < whole.size(); ++length) {
        const QByteArray prefix = whole.left(length);
        const QByteArray lastDigits = prefix.mid(lastField).replace("\r", "").replace("\n", "");
        bool isNumber = false;
        const int last = length > lastField ? lastDigits.toInt(&isNumber) : 0;
        StampProfile expected = profile;
        expected.items[3].offsetY = int16_t(last);
        QTest::addRow("%s cut at %d", name, int(length))
            << prefix << (isNumber ? Outcome::Read : Outcome::Warned) << expected;
    }
}

} // namespace

class TestDamagedInput : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString path() const { return m_dir.filePath(QStringLiteral("user01.dat")); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void profileIsReadOrWarnedAbout_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<StampProfile>("expected"); // for Outcome::Read

        // Every start of two valid files: the golden file and one with texts, a multi-digit
        // last field and non-default values everywhere.
        StampProfile bold;
        loadDefaultProfile(bold);
        bold.items[0].bold = true;
        bold.items[0].offsetX = -3;
        bold.items[1].text = QStringLiteral("08.12.06");
        addPrefixRows("golden",
                      readAll(QStringLiteral(PELLIMO_TEST_DATA "/bold-organisation-profile.dat")),
                      bold);
        addPrefixRows("reference", fileOf(referenceFields()), referenceProfile());

        // Numbers at and just past each field's limits.
        for (const NumberField &field : numberFields()) {
            const qint64 min = field.wide ? INT32_MIN : INT16_MIN;
            const qint64 max = field.wide ? INT32_MAX : INT16_MAX;
            for (qint64 value : {min, max}) {
                StampProfile expected = referenceProfile();
                field.store(expected, value);
                QTest::addRow("%s %d = %lld", field.name, field.index, value)
                    << fileWithField(field.index, QString::number(value)) << Outcome::Read
                    << expected;
            }
            for (qint64 value : {min - 1, max + 1, qint64(100000000000)}) {
                QTest::addRow("%s %d = %lld", field.name, field.index, value)
                    << fileWithField(field.index, QString::number(value)) << Outcome::Warned
                    << StampProfile();
            }
        }
        for (const char *bad : {"-", "+5", "5-", "1e3", "0x10", "1.5", "\"35\"", "#TRUE#", "３５"})
            QTest::addRow("radius written as %s", bad)
                << fileWithField(4, QString::fromUtf8(bad)) << Outcome::Warned << StampProfile();

        // Bytes that are not CP932 in a text become U+FFFD; elsewhere they are damage.
        const struct {
            const char *name;
            QByteArray bytes;
            QString text;
        } badTexts[] = {
            {"lone lead byte", QByteArray("\x81"), QStringLiteral(u"\uFFFD")},
            {"lead byte before the quote", QByteArray("a\x81"), QStringLiteral(u"a\uFFFD")},
            {"lead byte with a blank as trail", QByteArray("\x81 x"), QStringLiteral(u"\uFFFD x")},
            {"unused single bytes", QByteArray("\x80\xA0\xFD\xFE\xFF"), QString(5, QChar(0xFFFD))},
            {"unassigned pair", QByteArray("\x85\x40"), QStringLiteral(u"\uFFFD")},
        };
        for (const auto &bad : badTexts) {
            QByteArray content = fileWithField(9, QStringLiteral("\"@@\""));
            content.replace("@@", bad.bytes);
            StampProfile expected = referenceProfile();
            expected.items[0].text = bad.text;
            QTest::addRow("text with %s", bad.name) << content << Outcome::Read << expected;
        }
        QTest::newRow("font name with a lead byte at the end of the file")
            << cp932(QStringLiteral("255,1,35,35,35\r\n#FALSE#,")) + QByteArray("\x81")
            << Outcome::Warned << StampProfile();
        QTest::newRow("full-width digits as a number")
            << fileWithField(3, QStringLiteral(u"３０")) << Outcome::Warned << StampProfile();
        QTest::newRow("bad byte in a Boolean")
            << fileWithField(5, QStringLiteral("#TR\x7FUE#")) << Outcome::Warned << StampProfile();

        // Large files: the reader takes what it needs and ignores or refuses the rest.
        const qsizetype tenMb = 10 * 1024 * 1024;
        QTest::newRow("10 MB after a valid profile")
            << fileOf(referenceFields()) + QByteArray(tenMb, 'x') << Outcome::Read
            << referenceProfile();
        QTest::newRow("10 MB of one byte")
            << QByteArray(tenMb, 'x') << Outcome::Warned << StampProfile();
        QTest::newRow("10 MB of line ends")
            << QByteArray(tenMb, '\n') << Outcome::Warned << StampProfile();
        QTest::newRow("10 MB quote never closed")
            << cp932(QStringLiteral("255,1,35,35,35\r\n#FALSE#,\"")) + QByteArray(tenMb, 'a')
            << Outcome::Warned << StampProfile();
        StampProfile longText = referenceProfile();
        longText.items[3].text = QString(tenMb, QLatin1Char('a'));
        QTest::newRow("10 MB text")
            << fileWithField(30, u'"' + longText.items[3].text + u'"') << Outcome::Read << longText;

        // Random bytes (a fixed seed), and valid files with a few bytes overwritten at random.
        QRandomGenerator random(20261207);
        for (int round = 0; round < 60; ++round) {
            QByteArray bytes(random.bounded(1, 3000), Qt::Uninitialized);
            for (char &c : bytes)
                c = char(random.bounded(256));
            QTest::addRow("random bytes %d", round) << bytes << Outcome::Warned << StampProfile();
        }
        const QByteArray valid = fileOf(referenceFields());
        for (int round = 0; round < 60; ++round) {
            QByteArray bytes = valid;
            for (int n = random.bounded(1, 4); n > 0; --n)
                bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            QTest::addRow("overwritten bytes %d", round)
                << bytes << Outcome::Either << StampProfile();
        }
    }

    void profileIsReadOrWarnedAbout()
    {
        QFETCH(QByteArray, content);
        QFETCH(Outcome, outcome);
        QFETCH(StampProfile, expected);
        QVERIFY(writeAll(path(), content));

        WarningRecorder warnings;
        StampProfile profile = sentinelProfile();
        const bool read = loadProfile(profile, path());

        if (outcome != Outcome::Either)
            QCOMPARE(read, outcome == Outcome::Read);
        if (!read) {
            QCOMPARE(warnings.texts(), QStringList{profileReadWarningText()});
        } else {
            QVERIFY2(warnings.texts().isEmpty(), qPrintable(warnings.texts().join(u'\n')));
            if (outcome == Outcome::Read)
                QVERIFY2(profile == expected,
                         qPrintable(describe(profile) + u'\n' + describe(expected)));
        }
        QVERIFY2(readAll(path()) == content, "the reader changed the file");
    }

    // The settings reader has no failure: any file gives a start-up user in 1..5 and values cut
    // to 255 bytes, and it never changes the file.
    // Saving over an odd settings file rewrites only the eight entries in place (a new entry goes
    // after the last non-blank line of its section, a missing section at the end) and keeps every
    // other byte.
    void savingSettingsKeepsOtherLines_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray names("User1=A\r\nUser2=B\r\nUser3=C\r\nUser4=D\r\nUser5=E\r\n");
        const QByteArray setting("[Setting]\r\nDateFormat=ggge.m.d\r\nAutoClose=1\r\n");

        // Found by the settings fuzzer: a CR at the start of a key line (after an LF-only line
        // end) is a blank around the key, so that line is the Default entry.
        const QByteArray junkKey =
            "U" + QByteArray(50, '\xFF') + "\x06" + QByteArray(5, '\xFF') + "mat=";
        QTest::newRow("CR before a key, junk key, AutoClose in the wrong section")
            << "[User]\n\rDefault=\r\n" + junkKey + "\r\nAutoClose=\r\n"
            << "[User]\nDefault=3\r\n" + junkKey + "\r\nAutoClose=\r\n" + names + setting;
        QTest::newRow("comment, unknown key, blank line")
            << QByteArray("; note\r\n[User]\r\nDefault=1\r\nColour=blue\r\n\r\n[Setting]\r\n"
                          "DateFormat=ee.mm.dd\r\nAutoClose=0\r\n")
            << "; note\r\n[User]\r\nDefault=3\r\nColour=blue\r\n" + names +
                   "\r\n[Setting]\r\nDateFormat=ggge.m.d\r\nAutoClose=1\r\n";
        QTest::newRow("no final line end")
            << QByteArray("[User]\r\nDefault=2") << "[User]\r\nDefault=3\r\n" + names + setting;
        QTest::newRow("LF line ends, other case, blanks around")
            << QByteArray("[user]\n default = 1 \nUSER1=x\n")
            << "[user]\nDefault=3\nUser1=A\n" + names.mid(9) + setting;
        QTest::newRow("duplicate section: the first one counts")
            << QByteArray("[Setting]\r\nAutoClose=0\r\n[Setting]\r\nAutoClose=0\r\n")
            << "[Setting]\r\nAutoClose=1\r\nDateFormat=ggge.m.d\r\n[Setting]\r\nAutoClose=0\r\n"
               "[User]\r\nDefault=3\r\n" +
                   names;
        QTest::newRow("binary junk without line ends")
            << QByteArray("\x00\x81\xFF[", 4)
            << QByteArray("\x00\x81\xFF[\r\n[User]\r\nDefault=3\r\n", 25) + names + setting;
    }

    void savingSettingsKeepsOtherLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, expected);
        const QString settingsPath = m_dir.filePath(QStringLiteral("pellimo.ini"));
        QVERIFY(writeAll(settingsPath, content));

        AppSettings settings;
        settings.defaultUser = 3;
        settings.userNames = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                              QStringLiteral("D"), QStringLiteral("E")};
        settings.dateFormat = QStringLiteral("ggge.m.d");
        settings.autoClose = true;
        const SaveStatus status = saveSettings(settings, settingsPath);
        QVERIFY2(status.ok, qPrintable(status.error));
        QCOMPARE(readAll(settingsPath), expected);

        AppSettings back;
        loadSettings(back, settingsPath);
        QCOMPARE(back, settings);
    }

    void settingsAreAlwaysRead_data()
    {
        QTest::addColumn<QByteArray>("content");
        QRandomGenerator random(20261208);
        for (int round = 0; round < 40; ++round) {
            QByteArray bytes(random.bounded(1, 3000), Qt::Uninitialized);
            for (char &c : bytes)
                c = char(random.bounded(256));
            QTest::addRow("random bytes %d", round) << bytes;
        }
        const QByteArray valid = readAll(QStringLiteral(PELLIMO_TEST_DATA "/default-settings.ini"));
        for (int round = 0; round < 40; ++round) {
            QByteArray bytes = valid;
            for (int n = random.bounded(1, 4); n > 0; --n)
                bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            QTest::addRow("overwritten bytes %d", round) << bytes;
        }
        QTest::newRow("10 MB value")
            << QByteArray("[User]\r\nUser1=") + QByteArray(10 * 1024 * 1024, '\x82');
        QTest::newRow("10 MB of brackets") << QByteArray(10 * 1024 * 1024, '[');
        QTest::newRow("lead byte at the end of a value") << QByteArray("[User]\r\nUser2=ab\x81");
    }

    void settingsAreAlwaysRead()
    {
        QFETCH(QByteArray, content);
        const QString settingsPath = m_dir.filePath(QStringLiteral("pellimo.ini"));
        QVERIFY(writeAll(settingsPath, content));

        WarningRecorder warnings;
        AppSettings settings;
        settings.defaultUser = 0;
        loadSettings(settings, settingsPath);

        QVERIFY2(settings.defaultUser >= 1 && settings.defaultUser <= 5,
                 qPrintable(QString::number(settings.defaultUser)));
        QStringList values(settings.userNames.begin(), settings.userNames.end());
        values << settings.dateFormat;
        for (const QString &value : values) {
            // Every byte gives at most one character; a value that can be stored again is no
            // longer than 255 bytes.
            QVERIFY(value.size() <= 255);
            if (const auto bytes = encodeCp932(value))
                QVERIFY(bytes->size() <= 255);
            QVERIFY(!value.contains(QChar(0)));
        }
        QVERIFY(warnings.texts().isEmpty());
        QVERIFY2(readAll(settingsPath) == content, "the reader changed the file");
    }
};

QTEST_GUILESS_MAIN(TestDamagedInput)
#include "test_damagedinput.moc"
