#include "settings/SettingsFiles.h"

#include "encoders/system/DiskFlush.h"
#include "engine/TextNumber.h"
#include "settings/RoundedInteger.h"
#include "settings/SettingsFieldReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

constexpr ConversionCombo AudioCombos[] = {ConversionCombo::AudioBitrate,
                                           ConversionCombo::AudioRate, ConversionCombo::Channel};

void restorePosition(SetupControls &controls, ConversionCombo combo, const QString &field)
{
    const std::optional<double> value = TextNumber::parse(field);
    if (!value)
        return;
    const std::optional<qint16> position = roundedInteger<qint16>(*value);
    if (position && *position >= -1 && *position < controls.count(combo))
        controls.setPosition(combo, *position);
}

// A folder line is kept only when it can name a folder wherever the
// program was started: an absolute path. NUL cannot be part of a path, and
// U+FFFD stands for bytes that were not UTF-8, which no save writes.
bool isAbsoluteFolder(const QString &field)
{
    return QDir::isAbsolutePath(field) && !field.contains(QChar::Null) &&
           !field.contains(QChar::ReplacementCharacter);
}

// Each field is applied as soon as it is read. Once the file has ended the
// reader yields nothing more, so the controls it does not reach keep their
// current values. A damaged folder line counts as an empty one.
void restoreSetup(SettingsFieldReader &reader, SetupControls &controls)
{
    for (const ConversionCombo combo : AudioCombos) {
        if (const std::optional<QString> field = reader.ReadSettingsField())
            restorePosition(controls, combo, *field);
    }
    if (const std::optional<QString> folder = reader.ReadSettingsField())
        controls.setOutputFolder(isAbsoluteFolder(*folder) ? *folder : QString());
    if (const std::optional<QString> format = reader.ReadSettingsField())
        restorePosition(controls, ConversionCombo::Format, *format);
}

template <typename T> void restoreNumber(SettingsFieldReader &reader, T &target)
{
    const std::optional<QString> field = reader.ReadSettingsField();
    if (!field)
        return;
    const double value = TextNumber::read(*field);
    if (const std::optional<T> fitting = roundedInteger<T>(value))
        target = *fitting;
}

// Quoted texts are written without escaping: the format has none.
QByteArray quotedLine(const QString &text)
{
    return '"' + text.toUtf8() + "\"\r\n";
}

QByteArray numberLine(qint32 value)
{
    return QByteArray::number(value) + "\r\n";
}

// Only a regular file is settings: opening a pipe or a device would wait
// for a writer that never comes, and the window would hang at start.
bool openRegularFile(QFile &file)
{
    return QFileInfo(file.fileName()).isFile() && file.open(QIODevice::ReadOnly);
}

} // namespace

SettingsFiles::SettingsFiles(QString folder, QString defaultOutputFolder)
    : m_folder(std::move(folder)), m_defaultOutputFolder(std::move(defaultOutputFolder))
{
}

QString SettingsFiles::standardFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString SettingsFiles::setupPath() const
{
    return m_folder + u"/setup.ini"_s;
}

QString SettingsFiles::optionsPath() const
{
    return m_folder + u"/options.ini"_s;
}

QString SettingsFiles::lastFolderPath() const
{
    return m_folder + u"/lastfolder.ini"_s;
}

void SettingsFiles::LoadSetup(SetupControls &controls) const
{
    QFile file(setupPath());
    if (openRegularFile(file)) {
        SettingsFieldReader reader(file);
        restoreSetup(reader, controls);
    }
    if (controls.outputFolder().isEmpty())
        controls.setOutputFolder(m_defaultOutputFolder);
}

bool SettingsFiles::SaveSetup(const SetupControls &controls) const
{
    QByteArray content;
    for (const ConversionCombo combo : AudioCombos)
        content += quotedLine(QString::number(controls.position(combo)));
    content += quotedLine(controls.outputFolder());
    content += quotedLine(QString::number(controls.position(ConversionCombo::Format)));
    return replaceFile(setupPath(), content);
}

void SettingsFiles::LoadOptions(AppOptions &options) const
{
    QFile file(optionsPath());
    if (!QFileInfo(file.fileName()).isFile()) {
        options.SoundPrompt = AppOptions::SoundOn;
        options.MusicCutterOn = 0;
        options.subtitles = AppOptions::SubtitlesAuto;
        options.notify = AppOptions::NotifyOn;
        return;
    }
    if (!openRegularFile(file))
        return;
    SettingsFieldReader reader(file);
    restoreNumber(reader, options.SoundPrompt);
    restoreNumber(reader, options.MusicCutterOn);
    restoreNumber(reader, options.CutterFromSeconds);
    restoreNumber(reader, options.CutterToSeconds);
    restoreNumber(reader, options.concurrentJobs);
    qint16 subtitles = AppOptions::SubtitlesAuto;
    restoreNumber(reader, subtitles);
    options.subtitles = AppOptions::choiceAt(subtitles, AppOptions::SubtitlesChoices);
    qint16 notify = AppOptions::NotifyOn;
    restoreNumber(reader, notify);
    options.notify = AppOptions::choiceAt(notify, AppOptions::NotifyChoices);
}

bool SettingsFiles::SaveOptions(const AppOptions &options) const
{
    return replaceFile(optionsPath(),
                       numberLine(options.SoundPrompt) + numberLine(options.MusicCutterOn) +
                           numberLine(options.CutterFromSeconds) +
                           numberLine(options.CutterToSeconds) +
                           numberLine(options.concurrentJobs) + numberLine(options.subtitles) +
                           numberLine(options.notify));
}

QString SettingsFiles::loadLastFolder() const
{
    QFile file(lastFolderPath());
    if (!openRegularFile(file))
        return {};
    SettingsFieldReader reader(file);
    const QString folder = reader.ReadSettingsField().value_or(QString());
    return isAbsoluteFolder(folder) ? folder : QString();
}

bool SettingsFiles::saveLastFolder(const QString &folder) const
{
    return replaceFile(lastFolderPath(), quotedLine(folder));
}

bool SettingsFiles::replaceFile(const QString &path, const QByteArray &content) const
{
    // Whatever else has the name (a pipe, a device, a folder) stays as it is.
    const QFileInfo existing(path);
    if (!QDir().mkpath(m_folder) || (existing.exists() && !existing.isFile()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The content sits in a buffer until the flush, and on a full disk only
    // the flush fails; commit() alone would then put an empty file in place.
    if (file.write(content) != content.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    // commit() puts the file's content on the disk before the rename; the
    // folder's new entry needs a flush of its own.
    if (!file.commit())
        return false;
    DiskFlush::folderOf(path);
    return true;
}
