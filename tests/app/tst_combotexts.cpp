#include "app/ComboTexts.h"
#include "engine/AppTranslations.h"
#include "engine/ConversionSettings.h"
#include "engine/LanguageChoice.h"

#include <QCoreApplication>
#include <QTest>

using namespace Qt::StringLiterals;

class TestComboTexts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void looks_data();
    void looks();
    void comboWordsKeepTheirValuesInEnglish();
};

// The texts are checked in English, as the build compiles them.
void TestComboTexts::initTestCase()
{
    QVERIFY(
        AppTranslations::install(*QCoreApplication::instance(), LanguageChoice::Language::English,
                                 qEnvironmentVariable("ZENVORA_PROGRAM_DIR") + u"/translations"_s));
}

void TestComboTexts::looks_data()
{
    QTest::addColumn<ConversionCombo>("combo");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("hoverText");

    QTest::newRow("format") << ConversionCombo::Format << u"cmbOF"_s << u"Output Format"_s;
    QTest::newRow("size") << ConversionCombo::Size << u"cmbS"_s << u"Size"_s;
    QTest::newRow("video bitrate")
        << ConversionCombo::VideoBitrate << u"cmbVB"_s << u"Video Bitrate"_s;
    QTest::newRow("frame rate") << ConversionCombo::FrameRate << u"cmbF"_s << u"Frame Rate"_s;
    QTest::newRow("audio rate") << ConversionCombo::AudioRate << u"cmbR"_s << u"Audio Rate"_s;
    QTest::newRow("audio bitrate")
        << ConversionCombo::AudioBitrate << u"cmbBR"_s << u"Audio Bitrate"_s;
    QTest::newRow("channel") << ConversionCombo::Channel << u"cmbChannel"_s
                             << u"Channel(Stereo or Mono)"_s;
}

void TestComboTexts::looks()
{
    QFETCH(ConversionCombo, combo);
    QFETCH(QString, objectName);
    QFETCH(QString, hoverText);
    QCOMPARE(ComboTexts::objectName(combo), objectName);
    QCOMPARE(ComboTexts::hoverText(combo), hoverText);
    QCOMPARE(ComboTexts::shownEntries(combo).size(), ConversionCombos::entries(combo).size());
}

// Settings and command lines take the words of the source; the boxes show
// them in English and give the words back.
void TestComboTexts::comboWordsKeepTheirValuesInEnglish()
{
    const QStringList words{ConversionSettings::SourceSize.toString(),
                            ConversionSettings::QualityBitrate.toString(),
                            ConversionSettings::SourceFrameRate.toString()};
    for (const QString &word : words + ConversionCombos::entries(ConversionCombo::Channel)) {
        const QString shown = ComboTexts::shownText(word);
        QVERIFY2(shown != word, qPrintable(word));
        QCOMPARE(ComboTexts::valueOf(shown), word);
    }
    QCOMPARE(ComboTexts::shownEntries(ConversionCombo::Channel),
             (QStringList{u"Mono"_s, u"Stereo"_s}));
    QCOMPARE(ComboTexts::shownText(u"320x240"_s), u"320x240"_s);
    QCOMPARE(ComboTexts::valueOf(u"320x240"_s), u"320x240"_s);
}

QTEST_GUILESS_MAIN(TestComboTexts)
#include "tst_combotexts.moc"
