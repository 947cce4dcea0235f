#pragma once

#include <QString>

// The five main-window values that setup.ini keeps: those of cmbBR, cmbR,
// cmbChannel, cmbOF and txtPath. The window's form implements it, and tests
// use a plain fake.
class SetupControls
{
public:
    enum class List
    {
        AudioBitrate,
        AudioRate,
        Channel,
        Format
    };

    virtual ~SetupControls() = default;

    virtual int count(List list) const = 0;
    // The selected entry's 0-based position, -1 when none is selected.
    virtual int position(List list) const = 0;
    // Selecting a format other than the current one must fill the other
    // lists with that format's defaults, exactly as choosing it by hand does:
    // a restored format that differs replaces the restored audio choices.
    virtual void setPosition(List list, int position) = 0;

    virtual QString outputFolder() const = 0;
    virtual void setOutputFolder(const QString &folder) = 0;
};
