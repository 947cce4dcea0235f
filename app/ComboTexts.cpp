#include "app/ComboTexts.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace {

struct ComboLook
{
    const char *objectName;
    const char *hoverText;
};

constexpr std::array<ComboLook, ConversionCombos::Count> Looks{{
    {"cmbOF", QT_TRANSLATE_NOOP("ConversionCombos", "Output Format")},
    {"cmbS", QT_TRANSLATE_NOOP("ConversionCombos", "Size")},
    {"cmbVB", QT_TRANSLATE_NOOP("ConversionCombos", "Video Bitrate")},
    {"cmbF", QT_TRANSLATE_NOOP("ConversionCombos", "Frame Rate")},
    {"cmbR", QT_TRANSLATE_NOOP("ConversionCombos", "Audio Rate")},
    {"cmbBR", QT_TRANSLATE_NOOP("ConversionCombos", "Audio Bitrate")},
    {"cmbChannel", QT_TRANSLATE_NOOP("ConversionCombos", "Channel(Stereo or Mono)")},
}};

// The entries that are words rather than numbers. Settings files, command
// lines and the encoders take them as written here (ConversionSettings
// names the first three); people read them translated, as the format
// names, which are marked with them.
constexpr std::array Words{
    QT_TRANSLATE_NOOP("ConversionCombos", "原始大小"),
    QT_TRANSLATE_NOOP("ConversionCombos", "自动(按质量)"),
    QT_TRANSLATE_NOOP("ConversionCombos", "原始帧率"),
    QT_TRANSLATE_NOOP("ConversionCombos", "单声道"),
    QT_TRANSLATE_NOOP("ConversionCombos", "双声道"),
};

} // namespace

QString ComboTexts::objectName(ConversionCombo combo)
{
    return QString::fromLatin1(Looks.at(static_cast<std::size_t>(combo)).objectName);
}

QStringList ComboTexts::shownEntries(ConversionCombo combo)
{
    QStringList shown = ConversionCombos::entries(combo);
    std::transform(shown.begin(), shown.end(), shown.begin(), &shownText);
    return shown;
}

QString ComboTexts::shownText(const QString &value)
{
    return QCoreApplication::translate("ConversionCombos", value.toUtf8().constData());
}

QString ComboTexts::valueOf(const QString &shown)
{
    const auto word = std::ranges::find_if(Words, [&shown](const char *entry) {
        return shown == QCoreApplication::translate("ConversionCombos", entry);
    });
    return word == Words.end() ? shown : QString::fromUtf8(*word);
}

QString ComboTexts::hoverText(ConversionCombo combo)
{
    return QCoreApplication::translate("ConversionCombos",
                                       Looks.at(static_cast<std::size_t>(combo)).hoverText);
}
