#include "app/OutcomeText.h"

#include "app/FailureWords.h"

namespace {

QString withEncoderLines(QString text, const Outcome::EncoderRun &run)
{
    if (!run.lastLines.isEmpty())
        text += u'\n' + run.lastLines;
    return text;
}

// What the encoder said of its failure reads first: it names the file and
// what it found there.
QString withFailureLine(QString text, const Outcome::EncoderRun &run)
{
    if (!run.failureLine.isEmpty())
        text.prepend(run.failureLine + u'\n');
    return withEncoderLines(text, run);
}

} // namespace

namespace OutcomeText {

QString details(const RunOutcome &outcome)
{
    const QString words = FailureWords::shortWords(outcome);
    if (const auto *failed = std::get_if<Outcome::Failed>(&outcome))
        return withFailureLine(words, failed->run);
    // A hung encoder's failure line is only how it took being stopped.
    if (const auto *hung = std::get_if<Outcome::Hung>(&outcome))
        return withEncoderLines(words, hung->run);
    return words;
}

} // namespace OutcomeText
