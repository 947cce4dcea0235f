#include "ui/WaveSound.h"

#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

class TestWaveSound : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsTheProgramsChime();
    void refusesWhatIsNoPcm_data();
    void refusesWhatIsNoPcm();
};

void TestWaveSound::readsTheProgramsChime()
{
    QFile file(qEnvironmentVariable("ZENVORA_PROGRAM_DIR") + u"/sound.wav"_s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const std::optional<WaveSound> sound = WaveSound::read(file.readAll());
    QVERIFY(sound);
    QCOMPARE(sound->sampleRate, 44100);
    QCOMPARE(sound->channels, 1);
    QCOMPARE(sound->bitsPerSample, 16);
    QCOMPARE(sound->samples.size(), 44100 * 68 / 100 * 2);
    QCOMPARE(sound->silence(500), QByteArray(44100, '\0'));
}

void TestWaveSound::refusesWhatIsNoPcm_data()
{
    QTest::addColumn<QByteArray>("file");
    // RIFF, WAVE, then a fmt chunk: PCM, mono, 8000 Hz, 8 bits; then data.
    const QByteArray format = QByteArray::fromHex("666d742010000000"
                                                  "01000100401f0000401f000001000800");
    const QByteArray data = QByteArray::fromHex("646174610200000080ff");
    const auto riff = [](const QByteArray &chunks) { return "RIFF\0\0\0\0WAVE"_ba + chunks; };
    QVERIFY(WaveSound::read(riff(format + data)));
    QCOMPARE(WaveSound::read(riff(format + data))->silence(1), QByteArray(8, '\x80'));

    QTest::newRow("no RIFF") << ("RIFX"_ba + riff(format + data).mid(4));
    QTest::newRow("data before its format") << riff(data + format);
    QTest::newRow("compressed") << riff(QByteArray(format).replace(8, 1, "\x02") + data);
    QTest::newRow("24 bits") << riff(QByteArray(format).replace(22, 1, "\x18") + data);
    QTest::newRow("no samples") << riff(format);
    QTest::newRow("cut short") << riff(format.first(12));
}

void TestWaveSound::refusesWhatIsNoPcm()
{
    QFETCH(QByteArray, file);
    QVERIFY(!WaveSound::read(file));
}

QTEST_GUILESS_MAIN(TestWaveSound)
#include "tst_wavesound.moc"
