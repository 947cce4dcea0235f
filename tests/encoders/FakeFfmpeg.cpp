#include "tests/encoders/FakeFfmpeg.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

namespace FakeFfmpeg {

QString write(const QString &folder, const QString &realFfmpeg, const QString &command)
{
    QDir().mkpath(folder);
    QFile script(folder + u"/ffmpeg"_s);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write(
        (u"#!/bin/sh\n"_s + QString(command).replace(u"{ffmpeg}"_s, realFfmpeg) + u'\n').toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return script.fileName();
}

} // namespace FakeFfmpeg
