#include "CommandRouter.h"

#include <QTest>

using namespace Qt::StringLiterals;
using CommandRouter::Action;

class TestCommandRouter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toolbarButtonsLeadToCommands_data();
    void toolbarButtonsLeadToCommands();
    void actionNamesAreExact_data();
    void actionNamesAreExact();
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

void TestCommandRouter::actionNamesAreExact_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("action");
    QTest::newRow("RemoveSelected") << u"RemoveSelected"_s << int(Action::RemoveSelected);
    QTest::newRow("A") << u"A"_s << int(Action::About);
    QTest::newRow("AddaFile") << u"AddaFile"_s << int(Action::AddaFile);
    QTest::newRow("menuAddaFolder") << u"menuAddaFolder"_s << int(Action::AddaFolder);
    QTest::newRow("menuExit") << u"menuExit"_s << int(Action::Exit);
    QTest::newRow("menuHelp") << u"menuHelp"_s << int(Action::Help);
    QTest::newRow("menuOption") << u"menuOption"_s << int(Action::Options);
    QTest::newRow("letter case differs") << u"removeselected"_s << -1;
    QTest::newRow("lower-case a") << u"a"_s << -1;
    QTest::newRow("trailing blank") << u"menuExit "_s << -1;
    QTest::newRow("item name, not action") << u"menuAddaFile"_s << -1;
    QTest::newRow("empty") << QString() << -1;
}

void TestCommandRouter::actionNamesAreExact()
{
    QFETCH(QString, name);
    QFETCH(int, action);
    const std::optional<Action> found = CommandRouter::actionNamed(name);
    QCOMPARE(found ? static_cast<int>(*found) : -1, action);
}

QTEST_GUILESS_MAIN(TestCommandRouter)
#include "tst_commandrouter.moc"
