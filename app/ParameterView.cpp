#include "app/ParameterView.h"

#include "app/ComboTexts.h"
#include "engine/ConversionCombos.h"
#include "engine/ParameterRules.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

QString parameterName(Parameter parameter)
{
    static constexpr std::array<const char *, AllParameters.size()> Names{
        QT_TRANSLATE_NOOP("ParameterView", "视频尺寸"),
        QT_TRANSLATE_NOOP("ParameterView", "视频比特率"),
        QT_TRANSLATE_NOOP("ParameterView", "帧率"),
        QT_TRANSLATE_NOOP("ParameterView", "声音频率"),
        QT_TRANSLATE_NOOP("ParameterView", "声音比特率"),
        QT_TRANSLATE_NOOP("ParameterView", "声道"),
    };
    return QCoreApplication::translate("ParameterView", Names.at(parameterIndex(parameter)));
}

} // namespace

ParameterView::State ParameterView::of(const ConversionForm &form, Parameter parameter)
{
    const ConversionSettings &settings = form.settings();
    const ConversionCombo combo = ConversionCombos::of(parameter);
    State state{true, form.value(parameter), ComboTexts::hoverText(combo), {}};
    if (const std::optional<UnusedParameter> unused = unusedParameter(settings, parameter))
        state = {false, unused->shown, unused->tip, {}};
    const QStringList entries = ConversionCombos::entries(combo);
    for (const QString &entry : entries) {
        if (offersEntry(settings, parameter, entry, entries))
            state.offeredEntries.append(entry);
    }
    return state;
}

std::optional<ParameterView::UnusedParameter>
ParameterView::unusedParameter(const ConversionSettings &settings, Parameter parameter)
{
    const std::optional<ParameterRules::Unused> unused =
        ParameterRules::unused(settings, parameter);
    if (!unused)
        return std::nullopt;
    const QString name = parameterName(parameter);
    UnusedParameter view{DependsOnFile.toString(), {}};
    using Kind = ParameterRules::Unused::Kind;
    switch (unused->kind) {
    case Kind::Fixed:
        view.shown = parameter == Parameter::Channels
                         ? ComboTexts::shownEntries(ConversionCombo::Channel)
                               .value(unused->value.toInt() - 1, unused->value)
                         : unused->value;
        // A number stands a space apart from the Chinese before it.
        view.tip = tr("此格式的%1固定为%2%3")
                       .arg(name, view.shown.front().isDigit() ? u" "_s : QString(), view.shown);
        break;
    case Kind::Source:
        view.tip = tr("此格式的%1跟随源文件").arg(name);
        break;
    case Kind::EncoderChoice:
        view.tip = tr("此格式的%1由编码器按画质决定").arg(name);
        break;
    case Kind::NoPicture:
        view.tip = tr("此格式只有声音，不用%1").arg(name);
        break;
    }
    if (unused->usedAtOtherSizes)
        view.tip += tr("；选择其他视频尺寸后可以设置");
    return view;
}

bool ParameterView::offersEntry(const ConversionSettings &settings, Parameter parameter,
                                const QString &entry, const QStringList &entries)
{
    ConversionSettings asked = settings;
    asked.setText(parameter, entry);
    const std::optional<ParameterRules::Move> moved = ParameterRules::move(asked, parameter);
    return !ParameterRules::refusal(settings.format, parameter, entry) &&
           !(moved && entries.contains(moved->taken));
}
