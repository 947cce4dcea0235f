#pragma once

#include "engine/ports/MessageSink.h"

class StderrMessageSink final : public MessageSink
{
public:
    void showMessage(const QString &text, const QString &caption, Icon icon) override;
    // Nobody is there to answer: the headless program never asks twice.
    bool confirm(const QString &, const QString &, OnEnter) override { return true; }
};
