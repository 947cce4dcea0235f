#pragma once

#include <QString>

// What the user typed into the feedback form, exactly as typed.
struct FeedbackMessage
{
    QString name;
    QString email;
    QString comment;
};
