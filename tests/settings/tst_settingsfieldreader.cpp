#include "settings/SettingsFieldReader.h"
#include "tests/settings/BinaryBytes.h"

#include <QBuffer>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_SettingsFieldReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fields_data();
    void fields();
    void binaryFileIsReadOnlyToTheBound();
};

namespace {

constexpr qsizetype Limit = SettingsFieldReader::MaxLineBytes;

QStringList allFields(const QByteArray &content)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    SettingsFieldReader reader(buffer);
    QStringList fields;
    while (const std::optional<QString> field = reader.ReadSettingsField())
        fields << *field;
    return fields;
}

} // namespace

void tst_SettingsFieldReader::fields_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("quoted") << "\"7\"\r\n"_ba << QStringList{u"7"_s};
    QTest::newRow("quoted keeps commas and spaces")
        << "\"a, b \"\r\n"_ba << QStringList{u"a, b "_s};
    QTest::newRow("spaces before the quote") << "   \"x\"\r\n"_ba << QStringList{u"x"_s};
    QTest::newRow("text after the closing quote") << "\"ab\"cd\r\n"_ba << QStringList{u"ab"_s};
    QTest::newRow("unclosed quote runs to the line end") << "\"abc\r\n"_ba << QStringList{u"abc"_s};
    QTest::newRow("plain stops at a comma") << " 12 , 5\r\n"_ba << QStringList{u"12"_s};
    QTest::newRow("plain without surrounding spaces") << "  abc  \r\n"_ba << QStringList{u"abc"_s};
    QTest::newRow("empty line") << "\r\n"_ba << QStringList{QString()};
    QTest::newRow("empty quoted text") << "\"\"\r\n"_ba << QStringList{QString()};
    QTest::newRow("one field per line")
        << "\"1\"\r\n2\r\n\"3\"\r\n"_ba << QStringList{u"1"_s, u"2"_s, u"3"_s};
    QTest::newRow("line feeds only") << "\"1\"\n\"2\"\n"_ba << QStringList{u"1"_s, u"2"_s};
    QTest::newRow("last line without an end") << "\"1\"\r\n\"2\""_ba << QStringList{u"1"_s, u"2"_s};
    QTest::newRow("UTF-8") << "\"视频, 2024\"\r\n"_ba << QStringList{u"视频, 2024"_s};
    QTest::newRow("empty file") << QByteArray() << QStringList{};

    const QByteArray longest = '"' + QByteArray(Limit - 2, 'x') + '"';
    QTest::newRow("line at the length bound") << longest + "\r\n\"7\"\r\n"
                                              << QStringList{QString(Limit - 2, u'x'), u"7"_s};
    QTest::newRow("line over the bound ends the reading")
        << QByteArray(Limit + 1, 'x') + "\r\n\"7\"\r\n"
        << QStringList{};
    QTest::newRow("one over the bound with a bare line feed")
        << QByteArray(Limit + 1, 'x') + "\n\"7\"\n"
        << QStringList{};
    QTest::newRow("good line, then one over the bound")
        << "\"1\"\r\n" + QByteArray(3 * Limit, 'x') + "\r\n\"7\"\r\n"
        << QStringList{u"1"_s};
    QTest::newRow("binary without line ends") << binaryBytes(1 << 20) << QStringList{};
}

void tst_SettingsFieldReader::fields()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    QCOMPARE(allFields(content), expected);
}

void tst_SettingsFieldReader::binaryFileIsReadOnlyToTheBound()
{
    QBuffer buffer;
    buffer.setData(binaryBytes(64 << 20));
    buffer.open(QIODevice::ReadOnly);
    SettingsFieldReader reader(buffer);
    for (int i = 0; i < 5; ++i)
        QVERIFY(!reader.ReadSettingsField());
    QVERIFY2(buffer.pos() <= Limit + 2, QByteArray::number(buffer.pos()).constData());
}

QTEST_GUILESS_MAIN(tst_SettingsFieldReader)
#include "tst_settingsfieldreader.moc"
