#include "jobs/FileIntake.h"

#include "jobs/DropHint.h"
#include "jobs/FileChooser.h"
#include "jobs/JobList.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

FileIntake::FileIntake(JobList &jobs, DropHint &hint, FileChooser &dialogs)
    : m_jobs(jobs), m_hint(hint), m_dialogs(dialogs)
{
}

QString FileIntake::title()
{
    return QCoreApplication::translate("FileIntake", "Open Files");
}

// The media files the encoders read come first; anything else ffmpeg may
// still read stays one choice away. Only the descriptions are words.
QString FileIntake::filter()
{
    return QCoreApplication::translate("FileIntake", "音视频文件") +
           u"|*.avi;*.mp4;*.m4v;*.mkv;*.mov;*.wmv;*.asf;*.flv;*.f4v;*.rm;*.rmvb;"
           u"*.mpg;*.mpeg;*.vob;*.dat;*.ts;*.m2ts;*.mts;*.3gp;*.3g2;*.webm;*.ogv;*.mp3;*.wav;"
           u"*.wma;*.aac;*.m4a;*.flac;*.ogg;*.ape;*.amr;*.ac3;*.mka|"_s +
           QCoreApplication::translate("FileIntake", "所有文件(*.*)") + u"|*.*"_s;
}

bool FileIntake::addFileToJobs()
{
    m_dialogs.setTitle(title());
    m_dialogs.setFilter(filter());
    m_dialogs.setMultiSelect(true);
    if (!m_dialogs.showOpen())
        return false;
    m_jobs.addJobs(m_dialogs.fileNames());
    m_hint.update();
    return true;
}
