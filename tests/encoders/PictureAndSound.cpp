#include "tests/encoders/PictureAndSound.h"

#include <QProcess>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace PictureAndSound {

namespace {

constexpr int Width = 320;
constexpr int Height = 240;
constexpr int BrightLevel = 170;
constexpr int SampleRate = 16000;

QByteArray decoded(const QString &ffmpeg, const QStringList &arguments)
{
    QProcess process;
    process.start(ffmpeg, QStringList{u"-nostdin"_s, u"-v"_s, u"error"_s} + arguments,
                  QIODevice::ReadOnly);
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

} // namespace

Text textAt(const QString &ffmpeg, const QString &path, double seconds)
{
    const QByteArray pixels =
        decoded(ffmpeg, {u"-ss"_s, QString::number(seconds), u"-i"_s, path, u"-frames:v"_s, u"1"_s,
                         u"-vf"_s, u"scale=%1:%2,format=gray"_s.arg(Width).arg(Height), u"-f"_s,
                         u"rawvideo"_s, u"pipe:1"_s});
    Text text;
    for (qsizetype i = 0; i < pixels.size(); ++i) {
        if (static_cast<unsigned char>(pixels.at(i)) < BrightLevel)
            continue;
        ++text.brightPixels;
        if (i / Width < Height * 2 / 3)
            text.onlyInLowerThird = false;
    }
    return text;
}

int pitch(const QString &ffmpeg, const QString &path)
{
    const QByteArray samples =
        decoded(ffmpeg, {u"-i"_s, path, u"-map"_s, u"0:a"_s, u"-ac"_s, u"1"_s, u"-ar"_s,
                         QString::number(SampleRate), u"-f"_s, u"s16le"_s, u"pipe:1"_s});
    const auto *values = reinterpret_cast<const qint16 *>(samples.constData());
    const qsizetype count = samples.size() / 2;
    qsizetype crossings = 0;
    for (qsizetype i = 1; i < count; ++i)
        crossings += (values[i - 1] < 0) != (values[i] < 0);
    return count == 0 ? 0 : static_cast<int>(crossings * SampleRate / 2 / count);
}

} // namespace PictureAndSound
