// Add Folder on a 100 000-file tree against `find DIR -type f` on the same
// tree, and how responsive the window's thread stays meanwhile: the longest
// gap between ticks of a 10 ms timer on it while the scan runs (ideal: 10).
// The scan is timed to completion, with every file queued in the job list,
// once on the bare list and once with the list shown in a tree view.
// Then the cost of filling the list with 50 000 jobs one by one and in one
// call, and of emptying it.

#include "app/JobListModel.h"
#include "engine/ports/FolderDialog.h"
#include "jobs/DropHint.h"
#include "jobs/FolderIntake.h"
#include "jobs/JobList.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int Rounds = 5;
constexpr int FanOut = 10;         // folders per folder, three levels deep
constexpr int FilesPerFolder = 90; // in every folder, not only the innermost
constexpr int ListJobs = 50000;

class FixedFolderDialog final : public FolderDialog
{
public:
    explicit FixedFolderDialog(QString folder) : m_folder(std::move(folder)) {}
    QString chooseFolder(const QString &, const QString &) override { return m_folder; }

private:
    QString m_folder;
};

int fillFolder(const QString &folder, int depth)
{
    QDir().mkpath(folder);
    int files = 0;
    for (int i = 0; i < FilesPerFolder; ++i, ++files)
        QFile(folder + u"/clip%1.avi"_s.arg(i)).open(QIODevice::WriteOnly);
    if (depth == 0)
        return files;
    for (int i = 0; i < FanOut; ++i)
        files += fillFolder(folder + u"/d%1"_s.arg(i), depth - 1);
    return files;
}

double msSince(const QElapsedTimer &clock)
{
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

double best(const std::vector<double> &values)
{
    return *std::min_element(values.begin(), values.end());
}

struct Run
{
    double ms = 0.0;
    double longestGapMs = 0.0;
    qsizetype files = 0;
};

Run timedFind(const QString &root)
{
    QProcess find;
    QElapsedTimer clock;
    clock.start();
    find.start(u"find"_s, {root, u"-type"_s, u"f"_s}, QIODevice::ReadOnly);
    QByteArray output;
    while (find.state() != QProcess::NotRunning) {
        find.waitForReadyRead(1000);
        output += find.readAllStandardOutput();
    }
    output += find.readAllStandardOutput();
    return {msSince(clock), 0.0, output.count('\n')};
}

Run timedScan(const QString &root, QTreeView *view)
{
    JobList jobs;
    JobListModel model(jobs);
    DropHint hint(jobs);
    if (view)
        view->setModel(&model);
    FixedFolderDialog dialog(root);
    FolderIntake intake(jobs, hint, dialog);
    QEventLoop loop;
    QObject::connect(&intake, &FolderIntake::searchingChanged, &loop, [&loop](bool searching) {
        if (!searching)
            loop.quit();
    });

    Run run;
    QElapsedTimer sinceTick;
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        run.longestGapMs = std::max(run.longestGapMs, msSince(sinceTick));
        sinceTick.restart();
    });
    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    tick.start();
    intake.addFolderToJobs();
    loop.exec();
    run.ms = msSince(clock);
    run.longestGapMs = std::max(run.longestGapMs, msSince(sinceTick));
    run.files = jobs.jobCount();
    if (view)
        view->setModel(nullptr);
    return run;
}

void compareScans(const QString &root, QTreeView *view, const char *label)
{
    std::vector<double> findMs, scanMs, gapMs;
    qsizetype found = 0, queued = 0;
    for (int round = 0; round < Rounds; ++round) {
        const Run find = timedFind(root);
        const Run scan = timedScan(root, view);
        findMs.push_back(find.ms);
        scanMs.push_back(scan.ms);
        gapMs.push_back(scan.longestGapMs);
        found = find.files;
        queued = scan.files;
    }
    std::printf("%s (median, best of %d rounds)\n", label, Rounds);
    std::printf("  find -type f   %7.1f ms %7.1f ms  (%lld files)\n", median(findMs), best(findMs),
                static_cast<long long>(found));
    std::printf("  Add Folder     %7.1f ms %7.1f ms  (%lld jobs queued)\n", median(scanMs),
                best(scanMs), static_cast<long long>(queued));
    std::printf("  ratio          %7.2f x  %7.2f x   (target <= 2)\n",
                median(scanMs) / median(findMs), best(scanMs) / best(findMs));
    std::printf("  longest gap between 10 ms ticks: median %.1f ms, worst %.1f ms\n", median(gapMs),
                *std::max_element(gapMs.begin(), gapMs.end()));
}

double timed(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return msSince(clock);
}

void timeListFilling(QTreeView *view, const char *label)
{
    QStringList paths;
    for (int i = 0; i < ListJobs; ++i)
        paths.append(u"/media/videos/folder%1/clip%2.avi"_s.arg(i / 100).arg(i));
    JobList jobs;
    JobListModel model(jobs);
    if (view)
        view->setModel(&model);
    const double oneByOne = timed([&] {
        for (const QString &path : std::as_const(paths))
            jobs.addJob(path);
    });
    const double removeAfterOneByOne = timed([&] { jobs.removeAllJobs(); });
    const double inOneCall = timed([&] { jobs.addJobs(paths); });
    const double removeAfterOneCall = timed([&] { jobs.removeAllJobs(); });
    if (view)
        view->setModel(nullptr);
    std::printf("%s, %d jobs\n", label, ListJobs);
    std::printf("  addJob one by one %8.1f ms, then removeAllJobs %6.1f ms\n", oneByOne,
                removeAfterOneByOne);
    std::printf("  addJobs in one call %6.1f ms, then removeAllJobs %6.1f ms\n", inOneCall,
                removeAfterOneCall);
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir tree;
    if (!tree.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    QElapsedTimer clock;
    clock.start();
    const int files = fillFolder(tree.path(), 3);
    std::printf("tree: %d files in %d folders, built in %.0f ms\n", files,
                1 + FanOut + FanOut * FanOut + FanOut * FanOut * FanOut, msSince(clock));
    timedFind(tree.path()); // both sides then read a warm cache

    QTreeView view;
    view.setUniformRowHeights(true);
    view.resize(640, 300);
    view.show();

    compareScans(tree.path(), nullptr, "job list alone");
    compareScans(tree.path(), &view, "job list shown in a tree view");
    timeListFilling(nullptr, "job list alone");
    timeListFilling(&view, "job list shown in a tree view");
    return 0;
}
