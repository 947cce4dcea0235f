#include "engine/TextNumber.h"

#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<double>)

class TestTextNumber : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void read_data();
    void read();
    void parse_data();
    void parse();
    void write_data();
    void write();
    void roundHalfEven_data();
    void roundHalfEven();
};

void TestTextNumber::read_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("blank, digit, percent sign") << u" 5%"_s << 5.0;
    QTest::newRow("trailing zeros") << u"12.00"_s << 12.0;
    QTest::newRow("second point stops") << u"9.8810.12"_s << 9.881;
    QTest::newRow("letters") << u"abc"_s << 0.0;
    QTest::newRow("empty") << QString() << 0.0;
    QTest::newRow("minus sign") << u"-3.5x"_s << -3.5;
    QTest::newRow("plus sign") << u"+4"_s << 4.0;
    QTest::newRow("leading point") << u".5"_s << 0.5;
    QTest::newRow("trailing point") << u"7."_s << 7.0;
    QTest::newRow("point alone") << u"."_s << 0.0;
    QTest::newRow("sign alone") << u"-"_s << 0.0;
    QTest::newRow("tabs and blanks skipped") << u"\t  8"_s << 8.0;
    QTest::newRow("blank inside stops") << u"1 2"_s << 1.0;
    QTest::newRow("no exponent") << u"1e3"_s << 1.0;
    QTest::newRow("full-width digit is no digit") << u"５"_s << 0.0;
}

void TestTextNumber::read()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(TextNumber::read(text), expected);
}

void TestTextNumber::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("expected");

    QTest::newRow("leading zero") << u"05.50"_s << std::optional(5.5);
    QTest::newRow("blanks around") << u" 12 "_s << std::optional(12.0);
    QTest::newRow("negative") << u"-2"_s << std::optional(-2.0);
    QTest::newRow("not available") << u"N/A"_s << std::optional<double>();
    QTest::newRow("empty") << QString() << std::optional<double>();
    QTest::newRow("trailing letter") << u"5x"_s << std::optional<double>();
    QTest::newRow("two points") << u"1.2.3"_s << std::optional<double>();
}

void TestTextNumber::parse()
{
    QFETCH(QString, text);
    QFETCH(std::optional<double>, expected);
    QCOMPARE(TextNumber::parse(text), expected);
}

void TestTextNumber::write_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("hundredths") << 0.07 << u"0.07"_s;
    QTest::newRow("just below a whole number") << 28.999999999999996 << u"29"_s;
    QTest::newRow("whole number") << 1.0 << u"1"_s;
    QTest::newRow("zero") << 0.0 << u"0"_s;
    QTest::newRow("negative zero") << -0.0 << u"0"_s;
    QTest::newRow("hundred") << 100.0 << u"100"_s;
    QTest::newRow("fifteen digits after leading zeros") << 12.0 / 126 << u"0.0952380952380952"_s;
    QTest::newRow("percentage of it") << 9.52380952380952 << u"9.52380952380952"_s;
    QTest::newRow("sum error hidden") << 0.1 + 0.2 << u"0.3"_s;
    QTest::newRow("seven hundredths times hundred") << 0.07 * 100 << u"7"_s;
    QTest::newRow("small, plain notation") << 0.00001 << u"0.00001"_s;
    QTest::newRow("large, plain notation") << 1e15 << u"1000000000000000"_s;
    QTest::newRow("large, cut to fifteen digits")
        << 123456789012345678.0 << u"123456789012346000"_s;
    QTest::newRow("negative") << -2.5 << u"-2.5"_s;
}

void TestTextNumber::write()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(TextNumber::write(value), expected);
}

void TestTextNumber::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");

    QTest::newRow("half to even below") << 12.5 << 12.0;
    QTest::newRow("half to even above") << 125.5 << 126.0;
    QTest::newRow("half of one") << 0.5 << 0.0;
    QTest::newRow("one and a half") << 1.5 << 2.0;
    QTest::newRow("below half") << 2.4999 << 2.0;
    QTest::newRow("above half") << 2.51 << 3.0;
    QTest::newRow("negative half") << -1.5 << -2.0;
    QTest::newRow("negative below half") << -1.4 << -1.0;
    QTest::newRow("whole") << 126.0 << 126.0;
}

void TestTextNumber::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(TextNumber::roundHalfEven(value), expected);
}

QTEST_GUILESS_MAIN(TestTextNumber)
#include "tst_textnumber.moc"
