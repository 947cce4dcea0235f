#pragma once

#include "engine/AppPaths.h"
#include "settings/AppOptions.h"
#include "settings/SetupControls.h"

#include <QString>

// setup.ini and options.ini: fixed sequences of CR LF lines whose meaning is
// their position. They live in the user's config folder because an installed
// program's folder is not writable; they are UTF-8 and replaced atomically,
// so a crash or a full disk never leaves half a file. Nothing here shows a
// message: a file that cannot be read is skipped, and a save that cannot be
// written completely keeps the old file and returns false. options.ini
// has a fifth line, how many files are converted at once, which a file of
// four lines leaves as it was, and a sixth, the subtitles: 1 for 关闭, and
// 自动 for 0 and for anything else, a shorter file included, so that only
// the user's own choice ever leaves subtitles out.
class SettingsFiles final
{
public:
    explicit SettingsFiles(QString folder = standardFolder(),
                           QString defaultOutputFolder = AppPaths::DefaultOutputFolder());

    static QString standardFolder();

    QString setupPath() const;
    QString optionsPath() const;
    QString lastFolderPath() const;

    // Restores the controls in file order, so the format comes last and its
    // defaults win when it differs. A field that is missing, not a number
    // or out of its list leaves its control as it was. An empty output
    // folder becomes the default one, also when there is no file, and so
    // does a folder line that is not an absolute path: the outputs would
    // otherwise land in whatever the working folder is. An absolute folder
    // that does not exist yet is kept; the batch creates it.
    void LoadSetup(SetupControls &controls) const;
    bool SaveSetup(const SetupControls &controls) const;

    // Without a file the sound is on, the cutter off and the subtitles
    // 自动; the cutter times stay. A value that does not fit its field
    // leaves that field as it was.
    void LoadOptions(AppOptions &options) const;
    bool SaveOptions(const AppOptions &options) const;

    // The folder of the file last added through the open-file dialog, kept
    // for the next run; empty when there is none or the line is no
    // absolute path.
    QString loadLastFolder() const;
    bool saveLastFolder(const QString &folder) const;

private:
    bool replaceFile(const QString &path, const QByteArray &content) const;

    QString m_folder;
    QString m_defaultOutputFolder;
};
