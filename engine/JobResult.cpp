#include "engine/JobResult.h"

#include <algorithm>

QString JobResult::outputPath() const
{
    const auto *converted = std::get_if<Outcome::Converted>(&outcome);
    return converted ? converted->outputPath : QString();
}

QList<JobResult> BatchReport::failures() const
{
    QList<JobResult> failed;
    std::copy_if(results.begin(), results.end(), std::back_inserter(failed),
                 [](const JobResult &result) { return result.failed(); });
    return failed;
}

QStringList BatchReport::outputPaths() const
{
    QStringList paths;
    for (const JobResult &result : results) {
        if (result.converted())
            paths.append(result.outputPath());
    }
    return paths;
}

qsizetype BatchReport::convertedCount() const
{
    return std::count_if(results.begin(), results.end(),
                         [](const JobResult &result) { return result.converted(); });
}

std::optional<Outcome::CouldNotStart> BatchReport::couldNotStart() const
{
    for (const JobResult &result : results) {
        if (const auto *failure = std::get_if<Outcome::CouldNotStart>(&result.outcome))
            return *failure;
    }
    return std::nullopt;
}
