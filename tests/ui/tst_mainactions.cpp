#include "ui/MainActions.h"

#include <QAction>
#include <QTest>
#include <QWidget>

using namespace Qt::StringLiterals;

class TestMainActions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toolbarButtonsLeadToCommands_data();
    void toolbarButtonsLeadToCommands();
};

void TestMainActions::toolbarButtonsLeadToCommands_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("action"); // the menu item sharing the command
    QTest::newRow("add file") << 0 << 0 << u"menuAddaFile"_s;
    QTest::newRow("add folder leads to 6, not 1") << 1 << 6 << u"menuAddaFolder"_s;
    QTest::newRow("remove opens the pop-up") << 2 << 1 << u"removeFiles"_s;
    QTest::newRow("there is no button 3") << 3 << -1 << QString();
    QTest::newRow("options") << 4 << 2 << u"menuOption"_s;
    QTest::newRow("exit") << 5 << 4 << u"menuExit"_s;
    QTest::newRow("no button 6") << 6 << -1 << QString();
}

void TestMainActions::toolbarButtonsLeadToCommands()
{
    QFETCH(int, button);
    QFETCH(int, command);
    QFETCH(QString, action);
    QWidget window;
    const MainActions actions(&window);
    QCOMPARE(MainActions::commandOfButton(button).value_or(-1), command);
    if (command >= 0)
        QCOMPARE(actions.forCommand(command)->objectName(), action);
    // Help has a command but no button; 5 and negative indexes do nothing.
    QCOMPARE(actions.forCommand(3), actions.help);
    QVERIFY(!actions.forCommand(5));
    QVERIFY(!actions.forCommand(-1));
}

QTEST_MAIN(TestMainActions)
#include "tst_mainactions.moc"
