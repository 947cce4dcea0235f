#include "settings/RoundedInteger.h"

#include <QTest>

#include <limits>

class tst_RoundedInteger : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void int16Field_data();
    void int16Field();
    void int32Field_data();
    void int32Field();
};

namespace {

void addColumns()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<std::optional<int>>("expected");
}

} // namespace

void tst_RoundedInteger::int16Field_data()
{
    addColumns();
    const std::optional<int> none;
    QTest::newRow("largest") << 32767.0 << std::optional(32767);
    QTest::newRow("smallest") << -32768.0 << std::optional(-32768);
    QTest::newRow("one above") << 32768.0 << none;
    QTest::newRow("one below") << -32769.0 << none;
    QTest::newRow("half above largest rounds out") << 32767.5 << none;
    QTest::newRow("half below largest rounds in") << 32766.5 << std::optional(32766);
    QTest::newRow("half below smallest rounds in") << -32768.5 << std::optional(-32768);
    QTest::newRow("would wrap to 7") << 65543.0 << none;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << none;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << none;
}

void tst_RoundedInteger::int16Field()
{
    QFETCH(double, value);
    QFETCH(std::optional<int>, expected);
    const std::optional<qint16> result = roundedInteger<qint16>(value);
    QCOMPARE(result.has_value(), expected.has_value());
    if (expected)
        QCOMPARE(static_cast<int>(*result), *expected);
}

void tst_RoundedInteger::int32Field_data()
{
    addColumns();
    const std::optional<int> none;
    QTest::newRow("largest") << 2147483647.0 << std::optional(2147483647);
    QTest::newRow("smallest") << -2147483648.0 << std::optional(std::numeric_limits<int>::min());
    QTest::newRow("one above") << 2147483648.0 << none;
    QTest::newRow("one below") << -2147483649.0 << none;
    QTest::newRow("half above largest rounds out") << 2147483647.5 << none;
    QTest::newRow("half rounds to even") << 3722.5 << std::optional(3722);
    QTest::newRow("huge") << 1e300 << none;
}

void tst_RoundedInteger::int32Field()
{
    QFETCH(double, value);
    QFETCH(std::optional<int>, expected);
    QCOMPARE(roundedInteger<qint32>(value), expected);
}

QTEST_GUILESS_MAIN(tst_RoundedInteger)
#include "tst_roundedinteger.moc"
