#include "app/FailureWords.h"
#include "tests/helpers/Words.h"

#include <QScopeGuard>
#include <QTest>
#include <QTranslator>

using namespace Qt::StringLiterals;

class TestFailureWords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wordsOfEachFailure_data();
    void wordsOfEachFailure();
    void wordedInEnglish_data() { wordsOfEachFailure_data(); }
    void wordedInEnglish();
};

// Every cause with both its words: the short ones name what happened, the
// long ones what to do.
void TestFailureWords::wordsOfEachFailure_data()
{
    using Cause = Outcome::Failed::Cause;
    using Reason = Outcome::CouldNotStart::Reason;
    QTest::addColumn<RunOutcome>("outcome");
    QTest::addColumn<QString>("shortWords");
    QTest::addColumn<QString>("longWords");
    const Outcome::EncoderRun run{Stage::One, u"conv.exe"_s};
    const auto failed = [&run](Cause cause, const QString &path = {}) {
        return RunOutcome(Outcome::Failed{cause, 3, path, run});
    };
    QTest::newRow("output folder")
        << failed(Cause::OutputFolder, u"/o"_s) << u"无法创建输出文件夹：/o"_s
        << u"无法创建输出文件夹，请选择一个可以写入的文件夹"_s;
    QTest::newRow("temporary folder")
        << failed(Cause::TempFolder, u"/t"_s) << u"无法创建临时文件夹：/t"_s
        << u"无法创建临时文件夹，请检查磁盘空间和权限"_s;
    QTest::newRow("unopenable name")
        << failed(Cause::UnopenableName, u"/v/a.avi"_s) << u"无法打开这个文件名：/v/a.avi"_s
        << u"无法打开这个文件名"_s;
    QTest::newRow("encoder error") << failed(Cause::EncoderError) << u"conv.exe 失败（退出码 3）"_s
                                   << u"无法转换这个文件：它可能已损坏，或含有不能转换的内容"_s;
    QTest::newRow("disk full") << failed(Cause::DiskFull) << u"磁盘已满"_s
                               << u"磁盘已满，请腾出空间后再试"_s;
    QTest::newRow("no permission") << failed(Cause::NoPermission) << u"没有权限写入输出文件夹"_s
                                   << u"没有权限写入输出文件夹，请选择一个可以写入的文件夹"_s;
    QTest::newRow("input missing") << failed(Cause::InputMissing) << u"文件不存在"_s
                                   << u"这个文件不存在，它可能已被移动或删除"_s;
    QTest::newRow("unreadable input") << failed(Cause::UnreadableInput) << u"文件无法读取"_s
                                      << u"无法读取这个文件，请检查它的权限"_s;
    QTest::newRow("not media") << failed(Cause::NotMedia) << u"不是音视频文件，或文件已损坏"_s
                               << u"这不是音视频文件，或文件已损坏"_s;
    QTest::newRow("no video") << failed(Cause::NoVideoStream) << u"文件中没有视频"_s
                              << u"这个文件只有声音，没有视频，请选择 MP3 格式"_s;
    QTest::newRow("no audio") << failed(Cause::NoAudioStream) << u"文件中没有声音"_s
                              << u"这个文件没有声音，不能转换为 MP3"_s;
    QTest::newRow("cut past the end")
        << failed(Cause::CutPastTheEnd) << u"剪辑的开始时间超过了文件的长度"_s
        << u"Music Cutter 的开始时间超过了这个文件的长度"_s;
    QTest::newRow("subtitles unusable")
        << failed(Cause::SubtitlesUnusable) << u"字幕文件无法读取，或其中没有字幕"_s
        << u"字幕文件无法读取，或其中没有字幕"_s;
    QTest::newRow("ffmpeg missing") << failed(Cause::FfmpegMissing) << u"找不到 ffmpeg"_s
                                    << u"找不到 ffmpeg，请安装 ffmpeg 后再试"_s;
    QTest::newRow("no output") << failed(Cause::NoOutput) << u"conv.exe 没有生成输出文件"_s
                               << u"转换结束，但没有得到输出文件"_s;
    QTest::newRow("crashed") << failed(Cause::Crashed) << u"conv.exe 异常终止（信号 3）"_s
                             << u"转换程序意外中止"_s;
    QTest::newRow("hung") << RunOutcome(Outcome::Hung{300, run})
                          << u"conv.exe 已停止：300 秒没有任何输出"_s
                          << u"300 秒没有任何输出，转换已被停止"_s;
    const QString reinstall = u"转换程序无法启动，请重新安装本程序"_s;
    QTest::newRow("no command") << RunOutcome(Outcome::CouldNotStart{Reason::NoCommand})
                                << u"Command Line empty"_s << reinstall;
    QTest::newRow("encoder not found") << RunOutcome(Outcome::CouldNotStart{Reason::NotFound})
                                       << u"File or command not found"_s << reinstall;
    QTest::newRow("encoder busy") << RunOutcome(Outcome::CouldNotStart{Reason::Busy})
                                  << u"An encoder is still running"_s << reinstall;
    QTest::newRow("converted") << RunOutcome(Outcome::Converted{}) << QString() << QString();
    QTest::newRow("stopped") << RunOutcome(Outcome::Stopped{}) << QString() << QString();
}

void TestFailureWords::wordsOfEachFailure()
{
    QFETCH(RunOutcome, outcome);
    QFETCH(QString, shortWords);
    QFETCH(QString, longWords);
    QCOMPARE(FailureWords::shortWords(outcome), shortWords);
    QCOMPARE(FailureWords::longWords(outcome), longWords);
    QCOMPARE(FailureWords::mark(), u"失败"_s);
}

// Each text has its English, as the build compiles them.
void TestFailureWords::wordedInEnglish()
{
    QFETCH(RunOutcome, outcome);
    QFETCH(QString, shortWords);
    QFETCH(QString, longWords);
    QTranslator english;
    QVERIFY(english.load(u"zenvora_en"_s,
                         qEnvironmentVariable("ZENVORA_PROGRAM_DIR") + u"/translations"_s));
    QVERIFY(QCoreApplication::installTranslator(&english));
    const auto chineseAgain =
        qScopeGuard([&english] { QCoreApplication::removeTranslator(&english); });
    for (const auto &[shown, chinese] : {std::pair{FailureWords::shortWords(outcome), shortWords},
                                         std::pair{FailureWords::longWords(outcome), longWords}}) {
        QVERIFY2(!hasChinese(shown), qPrintable(shown));
        QCOMPARE(shown.isEmpty(), chinese.isEmpty());
    }
    QCOMPARE(FailureWords::mark(), u"Failed"_s);
}

QTEST_GUILESS_MAIN(TestFailureWords)
#include "tst_failurewords.moc"
