#pragma once

#include "settings/SetupControls.h"

#include <QList>

#include <algorithm>

// The five controls as plain values. Like the window, selecting a different
// format fills the audio lists with that format's defaults.
class FakeSetupControls final : public SetupControls
{
public:
    // Audio bitrate, audio rate, channel, format: entry counts and the
    // defaults a newly selected format puts into the audio lists.
    static inline const QList<int> Counts{10, 6, 2, 9};
    static inline const QList<int> FormatDefaults{9, 5, 0};

    FakeSetupControls(QList<int> positions, QString folder)
        : m_positions(std::move(positions)), m_folder(std::move(folder))
    {
    }

    QList<int> positions() const { return m_positions; }

    int count(List list) const override { return Counts[index(list)]; }
    int position(List list) const override { return m_positions[index(list)]; }
    void setPosition(List list, int position) override
    {
        if (list == List::Format && position != m_positions[index(list)])
            std::copy(FormatDefaults.begin(), FormatDefaults.end(), m_positions.begin());
        m_positions[index(list)] = position;
    }
    QString outputFolder() const override { return m_folder; }
    void setOutputFolder(const QString &folder) override { m_folder = folder; }

private:
    static qsizetype index(List list) { return static_cast<qsizetype>(list); }

    QList<int> m_positions;
    QString m_folder;
};
