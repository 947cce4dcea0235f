#pragma once

#include "MessageSink.h"

class StderrMessageSink final : public MessageSink
{
public:
    void showMessage(const QString &text, const QString &caption, Icon icon) override;
};
