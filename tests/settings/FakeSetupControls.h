#pragma once

#include "settings/SetupControls.h"

#include <QList>

#include <algorithm>
#include <array>

// The five controls as plain values. Like the window, selecting a different
// format fills the audio lists with that format's defaults.
class FakeSetupControls final : public SetupControls
{
public:
    // Audio bitrate, audio rate, channel, format: entry counts and the
    // defaults a newly selected format puts into the audio lists.
    static inline const QList<int> Counts{10, 6, 2, 9};
    static inline const QList<int> FormatDefaults{9, 5, 0};
    static constexpr std::array Combos{ConversionCombo::AudioBitrate, ConversionCombo::AudioRate,
                                       ConversionCombo::Channel, ConversionCombo::Format};

    FakeSetupControls(QList<int> positions, QString folder)
        : m_positions(std::move(positions)), m_folder(std::move(folder))
    {
    }

    QList<int> positions() const { return m_positions; }

    int count(ConversionCombo combo) const override { return Counts[index(combo)]; }
    int position(ConversionCombo combo) const override { return m_positions[index(combo)]; }
    void setPosition(ConversionCombo combo, int position) override
    {
        if (combo == ConversionCombo::Format && position != m_positions[index(combo)])
            std::copy(FormatDefaults.begin(), FormatDefaults.end(), m_positions.begin());
        m_positions[index(combo)] = position;
    }
    QString outputFolder() const override { return m_folder; }
    void setOutputFolder(const QString &folder) override { m_folder = folder; }

private:
    static qsizetype index(ConversionCombo combo)
    {
        return std::ranges::find(Combos, combo) - Combos.begin();
    }

    QList<int> m_positions;
    QString m_folder;
};
