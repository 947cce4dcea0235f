#include "engine/TimeLeft.h"

#include <QTest>

#include <optional>

namespace {

// One thing the batch driver tells, at a time on the test's clock.
struct Step
{
    enum class Kind
    {
        Start,
        Progress,
        Converted,
        Failed
    };
    Kind kind = Kind::Start;
    JobQueue::JobId job = 0;
    qint64 at = 0; // milliseconds
    Progress display{};
};

Step start(JobQueue::JobId job, qint64 at)
{
    return {Step::Kind::Start, job, at};
}

// A display of a job's last stage with the source's length told.
Step progress(JobQueue::JobId job, double duration, double percent)
{
    Progress display;
    display.percent = percent;
    display.durationSeconds = duration;
    return {Step::Kind::Progress, job, -1, display};
}

// A display with no length told, the bar showing activity only.
Step busy(JobQueue::JobId job)
{
    Progress display;
    return {Step::Kind::Progress, job, -1, display};
}

Step firstOfTwoStages(JobQueue::JobId job, double percent)
{
    Progress display;
    display.percent = percent;
    display.stages = 2;
    return {Step::Kind::Progress, job, -1, display};
}

Step converted(JobQueue::JobId job, qint64 at)
{
    return {Step::Kind::Converted, job, at};
}

Step failed(JobQueue::JobId job, qint64 at)
{
    return {Step::Kind::Failed, job, at};
}

} // namespace

Q_DECLARE_METATYPE(QList<Step>)
Q_DECLARE_METATYPE(std::optional<qint64>)

class TestTimeLeft : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondsLeft_data();
    void secondsLeft();
    void newBatchForgetsTheLast();
};

void TestTimeLeft::secondsLeft_data()
{
    QTest::addColumn<int>("parallelJobs");
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<int>("filesLeft");
    QTest::addColumn<std::optional<qint64>>("expected");

    const std::optional<qint64> none;
    QTest::newRow("nothing converted yet")
        << 1 << QList<Step>{start(1, 0), progress(1, 60, 50)} << 4 << none;
    QTest::newRow("nothing converted yet, one failed")
        << 1 << QList<Step>{start(1, 0), failed(1, 1000), start(2, 1000)} << 3 << none;
    // 60 s of media in 30 s: twice as fast as it plays. Job 3 has just
    // started and five files wait: 6 x 60 s of media at that pace.
    QTest::newRow("quick failure first, then a conversion")
        << 1 << QList<Step>{start(1, 0),         failed(1, 1000),     start(2, 1000),
                            progress(2, 60, 50), converted(2, 31000), start(3, 31000)}
        << 6 << std::optional<qint64>(180);
    QTest::newRow("hung failure first, then a conversion")
        << 1 << QList<Step>{start(1, 0),          failed(1, 300'000),    start(2, 300'000),
                            progress(2, 60, 100), converted(2, 330'000), start(3, 330'000)}
        << 6 << std::optional<qint64>(180);
    QTest::newRow("failure between conversions")
        << 1 << QList<Step>{start(1, 0),      progress(1, 60, 100), converted(1, 30'000),
                            start(2, 30'000), failed(2, 31'000),    start(3, 31'000)}
        << 2 << std::optional<qint64>(60);
    // Job 2 is half done: 30 + 60 + 2 x 60 s of media, at 2 media seconds
    // a second, on two places at once: 52.5 s.
    QTest::newRow("two jobs at once")
        << 2 << QList<Step>{start(1, 0),         start(2, 0),          progress(1, 60, 100),
                            progress(2, 60, 50), converted(1, 30'000), start(3, 30'000)}
        << 4 << std::optional<qint64>(53);
    QTest::newRow("more places than files left")
        << 4
        << QList<Step>{start(1, 0), progress(1, 60, 100), converted(1, 30'000), start(2, 30'000),
                       progress(2, 120, 25)}
        << 1 << std::optional<qint64>(45);
    // The pace comes from job 1 alone (100 s in 50 s); job 2 told no length,
    // and the files of unknown length count as long as job 1.
    QTest::newRow("unknown durations")
        << 1
        << QList<Step>{start(1, 0), progress(1, 100, 100), converted(1, 50'000), start(2, 50'000),
                       busy(2),     converted(2, 51'000),  start(3, 51'000),     busy(3)}
        << 3 << std::optional<qint64>(150);
    // No length told at all: each file takes the converted ones' average.
    QTest::newRow("no duration ever told")
        << 1 << QList<Step>{start(1, 0),      busy(1), converted(1, 20'000),
                            start(2, 20'000), busy(2), converted(2, 60'000),
                            start(3, 60'000)}
        << 3 << std::optional<qint64>(90);
    QTest::newRow("first of two stages done")
        << 1
        << QList<Step>{start(1, 0), progress(1, 60, 100), converted(1, 30'000), start(2, 30'000),
                       firstOfTwoStages(2, 100)}
        << 1 << std::optional<qint64>(30);
    QTest::newRow("all done") << 2 << QList<Step>{start(1, 0),          start(2, 0),
                                                  progress(1, 60, 100), progress(2, 60, 100),
                                                  converted(1, 30'000), converted(2, 31'000)}
                              << 0 << none;
}

void TestTimeLeft::secondsLeft()
{
    QFETCH(int, parallelJobs);
    QFETCH(QList<Step>, steps);
    QFETCH(int, filesLeft);
    QFETCH(std::optional<qint64>, expected);
    qint64 now = 7000;
    TimeLeft estimate([&now] { return now; });
    estimate.batchStarted(parallelJobs);
    for (const Step &step : steps) {
        if (step.at >= 0)
            now = 7000 + step.at;
        switch (step.kind) {
        case Step::Kind::Start:
            estimate.jobStarted(step.job);
            break;
        case Step::Kind::Progress:
            estimate.progressChanged(step.display, step.job);
            break;
        case Step::Kind::Converted:
        case Step::Kind::Failed:
            estimate.jobFinished(step.job, step.kind == Step::Kind::Converted);
            break;
        }
    }
    QCOMPARE(estimate.secondsLeft(filesLeft), expected);
}

void TestTimeLeft::newBatchForgetsTheLast()
{
    qint64 now = 0;
    TimeLeft estimate([&now] { return now; });
    estimate.batchStarted(1);
    estimate.jobStarted(1);
    estimate.progressChanged(progress(1, 60, 100).display, 1);
    now = 30'000;
    estimate.jobFinished(1, true);
    estimate.jobStarted(2);
    QCOMPARE(estimate.secondsLeft(2), std::optional<qint64>(60));
    estimate.batchStarted(1);
    QCOMPARE(estimate.secondsLeft(2), std::optional<qint64>());
    estimate.jobStarted(3);
    estimate.progressChanged(progress(3, 10, 100).display, 3);
    now = 40'000;
    estimate.jobFinished(3, true);
    // 10 s of media in 10 s, the first batch's pace gone.
    QCOMPARE(estimate.secondsLeft(1), std::optional<qint64>(10));
}

QTEST_GUILESS_MAIN(TestTimeLeft)
#include "tst_timeleft.moc"
