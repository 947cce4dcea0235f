#include "app/JobListModel.h"
#include "jobs/DropHint.h"
#include "jobs/DropIntake.h"
#include "jobs/DropTarget.h"
#include "jobs/JobList.h"

#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QTest>
#include <QTreeView>
#include <QUrl>

using namespace Qt::StringLiterals;

class TestDropTarget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dragAndDrop_data();
    void dragAndDrop();
};

namespace {

QMimeData *mimeData(bool files)
{
    auto *data = new QMimeData;
    if (files)
        data->setUrls({QUrl::fromLocalFile(u"/v/a.avi"_s), QUrl::fromLocalFile(u"/v/b.rmvb"_s)});
    else
        data->setText(u"not a file"_s);
    return data;
}

} // namespace

void TestDropTarget::dragAndDrop_data()
{
    QTest::addColumn<bool>("onList");
    QTest::addColumn<bool>("files");
    QTest::addColumn<Qt::DropActions>("offered");
    QTest::newRow("files on the list") << true << true << Qt::DropActions(Qt::CopyAction);
    QTest::newRow("files offered for moving, copied")
        << true << true << Qt::DropActions(Qt::CopyAction | Qt::MoveAction);
    QTest::newRow("files on the drop zone") << false << true << Qt::DropActions(Qt::CopyAction);
    QTest::newRow("text on the list") << true << false << Qt::DropActions(Qt::CopyAction);
    QTest::newRow("text on the drop zone") << false << false << Qt::DropActions(Qt::CopyAction);
}

void TestDropTarget::dragAndDrop()
{
    QFETCH(bool, onList);
    QFETCH(bool, files);
    QFETCH(Qt::DropActions, offered);
    JobList jobs;
    DropHint hint(jobs);
    DropIntake intake(jobs, hint);
    JobListModel model(jobs);
    QTreeView list;
    list.setModel(&model);
    QLabel dropZone;
    DropTarget target(intake);
    target.attach(&list);
    target.attach(&dropZone);
    QWidget *receiver = onList ? list.viewport() : static_cast<QWidget *>(&dropZone);
    QVERIFY(receiver->acceptDrops());
    const std::unique_ptr<QMimeData> data(mimeData(files));

    QDragEnterEvent enter({5, 5}, offered, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(receiver, &enter);
    QCOMPARE(enter.isAccepted(), files);
    QDragMoveEvent move({6, 6}, offered, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(receiver, &move);
    QCOMPARE(move.isAccepted(), files);
    if (files)
        QCOMPARE(move.dropAction(), Qt::CopyAction);

    QDropEvent drop(QPointF(6, 6), offered, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(receiver, &drop);
    QCOMPARE(drop.dropAction(), Qt::CopyAction);
    const QStringList dropped{u"/v/a.avi"_s, u"/v/b.rmvb"_s};
    QCOMPARE(jobs.paths(), files ? dropped : QStringList());
    QCOMPARE(hint.isVisible(), !files);
}

QTEST_MAIN(TestDropTarget)
#include "tst_droptarget.moc"
