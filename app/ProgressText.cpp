#include "app/ProgressText.h"

#include <QCoreApplication>

#include <array>

namespace {

// The indicator turns once a chunk: "-", "\", "|", "/", then "-" again.
constexpr std::array<char16_t, 4> IndicatorCycle{u'-', u'\\', u'|', u'/'};

// What the encoder is doing, or once it is done, the whole caption.
QString state(const Progress &progress)
{
    const bool conv = progress.style == EncoderStyle::Conv;
    if (progress.finished)
        return conv ? QCoreApplication::translate("ProgressText", "结束 100%")
                    : QCoreApplication::translate("ProgressText", "完成 100%");
    return conv ? QCoreApplication::translate("ProgressText", "转换中")
                : QCoreApplication::translate("ProgressText", "创建中");
}

// Without a length, the time converted so far shows that the encoder works.
QString elapsed(const Progress &progress)
{
    const int seconds = static_cast<int>(progress.elapsedSeconds);
    return QCoreApplication::translate("ProgressText", " 已转换 %1:%2")
        .arg(seconds / 60)
        .arg(seconds % 60, 2, 10, QChar(u'0'));
}

} // namespace

QString ProgressText::caption(const Progress &progress)
{
    if (progress.finished)
        return state(progress);
    const QString head =
        state(progress) + QChar(IndicatorCycle.at(progress.activity % IndicatorCycle.size()));
    if (!progress.percent)
        return head + elapsed(progress);
    return head + u' ' + progress.percentDigits() + u'%';
}

QString ProgressText::clock(qint64 seconds)
{
    const QString minutesAndSeconds =
        QStringLiteral("%1:%2").arg(seconds / 60 % 60).arg(seconds % 60, 2, 10, QChar(u'0'));
    if (seconds < 3600)
        return minutesAndSeconds;
    return QString::number(seconds / 3600) + u':' + minutesAndSeconds.rightJustified(5, u'0');
}

QString ProgressText::line(const Progress &progress)
{
    if (progress.finished)
        return state(progress);
    return state(progress) + u' ' +
           (progress.percent ? QString::number(progress.shownPercent()) + u'%'
                             : elapsed(progress).trimmed());
}
