#include "encoders/plan/Container.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Which container an output gets: the one asked for when it agrees with the
// file's extension and holds the codecs, otherwise the extension's.
class TestContainerChoice final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choice_data();
    void choice();
};

void TestContainerChoice::choice_data()
{
    QTest::addColumn<QString>("requested");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("video");
    QTest::addColumn<QString>("audio");
    QTest::addColumn<QString>("expected"); // muxer, or "error: ..."

    QTest::newRow("yuv4mpeg to .mpg: extension decides")
        << u"yuv4mpeg"_s << u"/o/a.mpg"_s << u"mpeg2video"_s << u"mp2"_s << u"vob"_s;
    QTest::newRow("yuv4mpeg to .avi: extension decides")
        << u"yuv4mpeg"_s << u"/o/a.avi"_s << u"mpeg2video"_s << u"mp2"_s << u"avi"_s;
    QTest::newRow("avi to final .mp4: extension decides")
        << u"avi"_s << u"/o/a.mp4"_s << u"mpeg4"_s << u"mp3"_s << u"mp4"_s;
    QTest::newRow("avi to tmp.mp4: extension decides")
        << u"avi"_s << u"/cache/tmp.mp4"_s << u"mpeg4"_s << u"mp3"_s << u"mp4"_s;
    QTest::newRow("rm to .rmvb agrees")
        << u"rm"_s << u"/o/a.rmvb"_s << u"rv10"_s << QString() << u"rm"_s;
    QTest::newRow("amr_nb in .mp4 is 3GP")
        << QString() << u"/o/a.mp4"_s << u"mpeg4"_s << u"amr_nb"_s << u"3gp"_s;
    QTest::newRow(".3gp") << QString() << u"/o/a.3gp"_s << u"mpeg4"_s << u"amr_nb"_s << u"3gp"_s;
    QTest::newRow(".mov by extension")
        << QString() << u"/o/a.mov"_s << QString() << QString() << u"mov"_s;
    QTest::newRow(".mp3 by extension")
        << QString() << u"/o/a.MP3"_s << QString() << QString() << u"mp3"_s;
    QTest::newRow("-of mpeg to .mpg")
        << u"mpeg"_s << u"/o/a.mpg"_s << u"mpeg2video"_s << u"mp2"_s << u"vob"_s;
    QTest::newRow("avi asked, no extension")
        << u"avi"_s << u"/o/a"_s << u"mpeg4"_s << u"mp3"_s << u"avi"_s;
    QTest::newRow("unknown extension keeps the format asked")
        << u"rm"_s << u"/o/a.bin"_s << u"rv10"_s << u"ac3"_s << u"rm"_s;
    QTest::newRow("nothing to go by") << u"yuv4mpeg"_s << u"/o/a"_s << u"mpeg4"_s << u"mp3"_s
                                      << u"error: cannot tell which format to write \"/o/a\" in: "
                                         "give it a known extension"_s;
    QTest::newRow("rv10 cannot go into .mp4")
        << u"rm"_s << u"/o/a.mp4"_s << u"rv10"_s << QString()
        << u"error: rv10 video cannot be stored in a .mp4 file"_s;
    QTest::newRow("mp3 audio cannot go into RealMedia")
        << u"rm"_s << u"/o/a.bin"_s << u"rv10"_s << u"mp3"_s
        << u"error: rv10 video with mp3 audio cannot be stored in the rm format"_s;
}

void TestContainerChoice::choice()
{
    QFETCH(QString, requested);
    QFETCH(QString, output);
    QFETCH(QString, video);
    QFETCH(QString, audio);
    QFETCH(QString, expected);
    const Container::Choice choice = Container::choose(requested, output, video, audio);
    QCOMPARE(choice.container ? choice.container->muxer() : u"error: "_s + choice.error, expected);
}

QTEST_GUILESS_MAIN(TestContainerChoice)
#include "tst_containerchoice.moc"
