#include "engine/CommandEnvironment.h"

using namespace Qt::StringLiterals;

QString CommandEnvironment::programPath(Encoder encoder) const
{
    const QChar separator = pathStyle.separator;
    return programFolder + separator + u"data"_s + separator + executableName(encoder);
}

QString CommandEnvironment::soundFile() const
{
    return programFolder + pathStyle.separator + u"sound.wav"_s;
}
