#include "jobs/QtFileOpenDialog.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

class TestQtFileOpenDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void showsTheRequestAndReturnsTheChoice_data();
    void showsTheRequestAndReturnsTheChoice();
    void cancelReturnsNothing();

private:
    QTemporaryDir m_folder;
};

namespace {

// Acts on the file dialog as soon as it is open and modal.
void whenDialogOpens(const std::function<void(QFileDialog &)> &act)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->deleteLater();
        poll->stop();
        act(*dialog);
    });
    poll->start();
}

} // namespace

void TestQtFileOpenDialog::initTestCase()
{
    for (const QString &name : {u"a.avi"_s, u"clip without extension"_s})
        QVERIFY(QFile(m_folder.filePath(name)).open(QIODevice::WriteOnly));
}

void TestQtFileOpenDialog::showsTheRequestAndReturnsTheChoice_data()
{
    QTest::addColumn<bool>("multipleFiles");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<QString>("picked"); // empty: the offered a.avi is confirmed
    QTest::newRow("one file, another picked")
        << false << int(QFileDialog::ExistingFile) << u"clip without extension"_s;
    QTest::newRow("several files, the offered one confirmed")
        << true << int(QFileDialog::ExistingFiles) << QString();
}

void TestQtFileOpenDialog::showsTheRequestAndReturnsTheChoice()
{
    QFETCH(bool, multipleFiles);
    QFETCH(int, fileMode);
    QFETCH(QString, picked);
    QWidget owner;
    QtFileOpenDialog picker(&owner);
    FileOpenRequest request;
    request.title = u"Open Files"_s;
    request.startFolder = m_folder.path();
    request.nameFilters = {u"所有格式文件(*.*) (*)"_s};
    request.fileName = m_folder.filePath(u"a.avi"_s);
    request.multipleFiles = multipleFiles;

    struct Seen
    {
        QString title;
        QString folder;
        QStringList preselected;
        QStringList filters;
        int fileMode = -1;
        bool ownedByTheWindow = false;
    } seen;
    whenDialogOpens([&](QFileDialog &dialog) {
        seen = {dialog.windowTitle(),   dialog.directory().absolutePath(),
                dialog.selectedFiles(), dialog.nameFilters(),
                int(dialog.fileMode()), dialog.parentWidget() == &owner};
        if (!picked.isEmpty())
            dialog.selectFile(m_folder.filePath(picked));
        static_cast<QDialog &>(dialog).accept(); // public as a QDialog
    });

    QCOMPARE(picker.chooseFiles(request),
             QStringList{m_folder.filePath(picked.isEmpty() ? u"a.avi"_s : picked)});
    QCOMPARE(seen.title, u"Open Files"_s);
    QCOMPARE(seen.folder, m_folder.path());
    QCOMPARE(seen.preselected, QStringList{m_folder.filePath(u"a.avi"_s)});
    QCOMPARE(seen.filters, request.nameFilters);
    QCOMPARE(seen.fileMode, fileMode);
    QVERIFY(seen.ownedByTheWindow);
}

void TestQtFileOpenDialog::cancelReturnsNothing()
{
    QtFileOpenDialog picker(nullptr);
    FileOpenRequest request;
    request.startFolder = m_folder.path();
    whenDialogOpens([](QFileDialog &dialog) { dialog.reject(); });
    QCOMPARE(picker.chooseFiles(request), QStringList());
}

QTEST_MAIN(TestQtFileOpenDialog)
#include "tst_qtfileopendialog.moc"
