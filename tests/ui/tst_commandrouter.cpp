#include "CommandRouter.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCommandRouter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toolbarButtonsLeadToCommands_data();
    void toolbarButtonsLeadToCommands();
};

void TestCommandRouter::toolbarButtonsLeadToCommands_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("command");
    QTest::newRow("add file") << 0 << 0;
    QTest::newRow("add folder leads to 6, not 1") << 1 << 6;
    QTest::newRow("remove opens the pop-up") << 2 << 1;
    QTest::newRow("there is no button 3") << 3 << -1;
    QTest::newRow("options") << 4 << 2;
    QTest::newRow("exit") << 5 << 4;
    QTest::newRow("no button 6") << 6 << -1;
}

void TestCommandRouter::toolbarButtonsLeadToCommands()
{
    QFETCH(int, button);
    QFETCH(int, command);
    QCOMPARE(CommandRouter::CmdToolsBarCommand(button).value_or(-1), command);
    if (command >= 0)
        QCOMPARE(static_cast<int>(*CommandRouter::toolbarCommand(command)), command);
    QVERIFY(!CommandRouter::toolbarCommand(5));
    QVERIFY(!CommandRouter::toolbarCommand(-1));
}

QTEST_GUILESS_MAIN(TestCommandRouter)
#include "tst_commandrouter.moc"
