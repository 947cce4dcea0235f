#include "CommandTable.h"

using namespace Qt::StringLiterals;

namespace CommandTable {

const QString SourceSize = u"原始大小"_s;

namespace {

QStringList words(const QString &text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

} // namespace

Settings defaults(Format format)
{
    switch (format) {
    case Format::Rmvb:
    case Format::Rm:
        return {SourceSize, u"1200"_s, u"29"_s, u"44100"_s, u"320"_s, 2};
    case Format::Mpg:
    case Format::Avi:
        return {SourceSize, u"600"_s, u"24"_s, u"28000"_s, u"64"_s, 2};
    case Format::Mp4HighQuality:
        return {SourceSize, u"1200"_s, u"29"_s, u"48000"_s, u"320"_s, 2};
    case Format::Mov:
        return {SourceSize, u"256"_s, u"29"_s, u"48000"_s, u"64"_s, 2};
    case Format::Mp4Mobile:
    case Format::ThreeGpMobile:
        return {u"320x240"_s, u"128"_s, u"29"_s, u"8000"_s, u"12.2"_s, 1};
    case Format::Mp3Audio:
        return {SourceSize, u"1200"_s, u"29"_s, u"48000"_s, u"320"_s, 2};
    }
    return {};
}

QString extension(Format format)
{
    static const QStringList extensions{u".rmvb"_s, u".rm"_s,  u".mpg"_s, u".avi"_s, u".mp4"_s,
                                        u".mov"_s,  u".mp4"_s, u".3gp"_s, u".mp3"_s};
    return extensions.at(static_cast<int>(format));
}

bool hasStageTwo(Format format)
{
    return format == Format::Rmvb || format == Format::Rm || format == Format::Mov ||
           format == Format::Mp4Mobile || format == Format::ThreeGpMobile;
}

Command stageOne(Format format, const QString &input, const QString &output,
                 const Settings &settings)
{
    switch (format) {
    case Format::Mpg:
    case Format::Avi:
        return {u"conv.exe"_s,
                QStringList{input} +
                    words(u" -oac lavc -lavcopts acodec=mp2:abitrate="_s + settings.audioBitrate +
                          u" -ovc lavc -lavcopts vcodec=mpeg2video:vbitrate="_s +
                          settings.videoBitrate + u":vpass=1 -ofps "_s + settings.frameRate +
                          u" -of lavf -lavfopts format=yuv4mpeg -o "_s) +
                    QStringList{output}};
    case Format::Mp4HighQuality:
        return {u"conv.exe"_s,
                QStringList{input} +
                    words(u" -oac mp3lame -lameopts preset="_s + settings.audioBitrate +
                          u" -ovc lavc -lavcopts vcodec=mpeg4:vbitrate="_s + settings.videoBitrate +
                          u" -of avi -o "_s) +
                    QStringList{output}};
    case Format::Mp3Audio:
        return {u"coder.exe"_s, QStringList{u"-i"_s, input} +
                                    words(u" -y -vn -ar "_s + settings.audioRate + u" -ab "_s +
                                          settings.audioBitrate + u"k -ac "_s +
                                          QString::number(settings.channels) + u" "_s) +
                                    QStringList{output}};
    default:
        return {u"conv.exe"_s, QStringList{input} +
                                   words(u" -oac mp3lame -lameopts preset=320 -ovc lavc -lavcopts "
                                         "vcodec=mpeg4:vbitrate=1200 -of avi -o"_s) +
                                   QStringList{output}};
    }
}

Command stageTwo(Format format, const QString &intermediate, const QString &output,
                 const Settings &settings)
{
    const bool sourceSize = settings.size == SourceSize;
    const QString channels = QString::number(settings.channels);
    QString encoder = u"coder.exe"_s;
    QString text;
    switch (format) {
    case Format::Rmvb:
    case Format::Rm:
        text = sourceSize
                   ? u"-y -vcodec rv10 -b 1200k -f rm  -ab 128k -ac 2 "_s
                   : u"-y -s "_s + settings.size + u" -vcodec rv10 -b "_s + settings.videoBitrate +
                         u"k -f rm -ar "_s + settings.audioRate + u" -ab "_s +
                         settings.audioBitrate + u"k -ac "_s + channels + u" "_s;
        break;
    case Format::Mov:
        text = sourceSize ? u"-y -ac 2 -ar 48000 -ab 128k "_s
                          : u"-y -s "_s + settings.size + u" -ac 2 -ar 48000 -ab 128k "_s;
        break;
    default:
        encoder = u"coder2.exe"_s;
        text = u"-y -s "_s + (sourceSize ? u"320x240"_s : settings.size) +
               u" -vcodec mpeg4 -acodec amr_nb -ac 1 -ar 8000 -ab 12.2k "_s;
        break;
    }
    return {encoder, QStringList{u"-i"_s, intermediate} + words(text) + QStringList{output}};
}

} // namespace CommandTable
