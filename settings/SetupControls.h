#pragma once

#include "engine/ConversionCombos.h"

#include <QString>

// The main window's combos and output folder as setup.ini sees them; it
// keeps cmbBR, cmbR, cmbChannel, cmbOF and txtPath. The window's form
// implements it, and tests use a plain fake.
class SetupControls
{
public:
    virtual ~SetupControls() = default;

    virtual int count(ConversionCombo combo) const = 0;
    // The selected entry's 0-based position, -1 when none is selected.
    virtual int position(ConversionCombo combo) const = 0;
    // Selecting a format other than the current one must fill the other
    // combos with that format's defaults, exactly as choosing it by hand
    // does: a restored format that differs replaces the restored audio
    // choices.
    virtual void setPosition(ConversionCombo combo, int position) = 0;

    virtual QString outputFolder() const = 0;
    virtual void setOutputFolder(const QString &folder) = 0;
};
