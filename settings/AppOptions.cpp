#include "settings/AppOptions.h"

#include <QThread>

#include <algorithm>

JobChoices AppOptions::jobChoices() const
{
    JobChoices choices;
    if (MusicCutterOn == 1)
        choices.setCut(CutterFromSeconds, CutterToSeconds);
    // The window has no sound track choice: the track the source flags as
    // default is converted.
    choices.subtitles.kind = subtitles == SubtitlesOff ? JobChoices::Subtitles::Kind::Off
                                                       : JobChoices::Subtitles::Kind::Auto;
    // A count saved on a machine with more processors is cut to this one's.
    choices.filesAtOnce =
        std::clamp<int>(concurrentJobs, 1, std::max(1, QThread::idealThreadCount()));
    return choices;
}
