#pragma once

#include "engine/Parameter.h"
#include "settings/ConversionForm.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

// How the window shows one encoding parameter for the form as it stands:
// whether the format uses it, the value its box shows, the tip, and which
// of its entries can be chosen. The rule is the one zenvora-cli warns by.
class ParameterView final
{
    Q_DECLARE_TR_FUNCTIONS(ParameterView)

public:
    struct State
    {
        bool enabled = true;
        QString shownValue; // the user's value, or what the output will have instead
        QString tip;
        QStringList offeredEntries;
    };
    static State of(const ConversionForm &form, Parameter parameter);

    // A parameter the settings' format takes nothing from: what its box
    // shows instead of the user's value, and the tip that says why.
    struct UnusedParameter
    {
        QString shown; // the value the output will have, or "—" when the file decides
        QString tip;
    };
    static constexpr QStringView DependsOnFile = u"—";
    // Nothing when the format uses the parameter.
    static std::optional<UnusedParameter> unusedParameter(const ConversionSettings &settings,
                                                          Parameter parameter);
    // Whether a combo entry can be chosen with the settings: one zenvora-cli
    // would take for the format (an entry that leaves the value to the
    // source, "自动(按质量)" or "原始帧率", only where the format leaves that
    // option out of its command), and that the codec does not move to
    // another of the combo's entries.
    static bool offersEntry(const ConversionSettings &settings, Parameter parameter,
                            const QString &entry, const QStringList &entries);
};
