#pragma once

#include "engine/RunOutcome.h"

#include <QCoreApplication>
#include <QString>

// Why a job failed, in the words both programs show a person, each said
// once here. The short words name what happened, with the folder, file name
// or encoder concerned: the first line of the details and of zenvora-cli's
// report. The long words say it for someone who did not watch, with what to
// do about it: the list's tip and the message at the end of a batch. Both
// are empty for a job that was converted or stopped.
class FailureWords final
{
    Q_DECLARE_TR_FUNCTIONS(FailureWords)

public:
    // What the list shows in place of a failed job's format.
    static QString mark();
    static QString shortWords(const RunOutcome &outcome);
    static QString longWords(const RunOutcome &outcome);

private:
    struct Words
    {
        QString shortWords;
        QString longWords;
    };

    static Words wordsOf(const RunOutcome &outcome);
    static Words failedWords(const Outcome::Failed &failed);
    static Words hungWords(const Outcome::Hung &hung);
    static Words notStartedWords(Outcome::CouldNotStart::Reason reason);
};
