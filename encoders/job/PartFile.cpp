#include "encoders/job/PartFile.h"

#include "encoders/job/FileCalls.h"
#include "encoders/job/NumberedName.h"
#include "encoders/protocol/EncoderProtocol.h"
#include "encoders/protocol/PartFileLock.h"
#include "encoders/system/DiskFlush.h"

#include <QDir>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace {

constexpr int MaxAttempts = 16;
// Far more than any folder holds of one name; only guards against a loop
// without end should every name be refused as taken.
constexpr int MaxNumberedNames = 9999;

QString randomTag()
{
    static const QString alphabet =
        u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"_s;
    QString tag;
    for (qsizetype index = 0; index < EncoderProtocol::PartTagLength; ++index)
        tag += alphabet.at(QRandomGenerator::global()->bounded(static_cast<int>(alphabet.size())));
    return tag;
}

// What a name becomes on a drive that refuses some of its characters
// (FAT, exFAT and NTFS refuse these): first their full-width look-alikes,
// then, for a drive that takes no such letters either, underscores.
QStringList refusedCharacterReplacements(const QString &fileName)
{
    static const QString refused = u":?*\"<>|\\"_s;
    static const QString fullWidth = u"：？＊＂＜＞｜＼"_s;
    QString lookAlike = fileName;
    QString plain = fileName;
    for (qsizetype index = 0; index < refused.size(); ++index) {
        lookAlike.replace(refused.at(index), fullWidth.at(index));
        plain.replace(refused.at(index), u'_');
    }
    return lookAlike == fileName ? QStringList() : QStringList{lookAlike, plain};
}

} // namespace

std::unique_ptr<PartFile> PartFile::create(const QString &targetPath, QString &error)
{
    const QFileInfo target(targetPath);
    if (std::unique_ptr<PartFile> part = createBeside(target, error))
        return part;
    for (const QString &name : refusedCharacterReplacements(target.fileName())) {
        QString replacedError; // the first error says more should these fail too
        if (std::unique_ptr<PartFile> part =
                createBeside(QFileInfo(target.dir(), name), replacedError))
            return part;
    }
    return nullptr;
}

std::unique_ptr<PartFile> PartFile::createBeside(const QFileInfo &target, QString &error)
{
    const QString folder = target.absolutePath() + u'/';
    // Created here rather than by QTemporaryFile, whose files are private to
    // their owner: the finished output gets the permissions any new file gets.
    const QFile::Permissions everyone = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                        QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    std::unique_ptr<PartFile> part(new PartFile(target.absoluteFilePath()));
    QFile &file = part->m_file;
    for (int attempt = 0; attempt < MaxAttempts; ++attempt) {
        file.setFileName(folder + EncoderProtocol::partFileName(target.fileName(), randomTag()));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, everyone)) {
            if (PartFileLock::hold(file))
                return part;
            // Taken away by a clean-up before it was locked: another name.
            file.close();
            continue;
        }
        if (!file.exists())
            break;
    }
    part->m_committed = true; // nothing of ours is left to remove
    error = u"cannot write the output file \"%1\": %2"_s.arg(target.filePath(), file.errorString());
    return nullptr;
}

PartFile::PartFile(QString targetPath) : m_targetPath(std::move(targetPath)) {}

PartFile::~PartFile()
{
    if (!m_committed)
        QFile::remove(path());
}

bool PartFile::commit(QString &error)
{
    // The content first, then the name: a file that has its name after a
    // power cut has all of its content too.
    if (!DiskFlush::file(path())) {
        error = u"cannot write the output file \"%1\" to the disk"_s.arg(path());
        return false;
    }
    for (int number = 1; number <= MaxNumberedNames; ++number) {
        const QString name = NumberedName::of(m_targetPath, number);
        QString renameError;
        switch (FileCalls::renameWithoutReplacing(path(), name, renameError)) {
        case FileCalls::RenameResult::Renamed:
            m_savedPath = name;
            m_committed = true;
            DiskFlush::folderOf(name);
            return true;
        case FileCalls::RenameResult::NameTaken:
            break;
        case FileCalls::RenameResult::Failed:
            error = u"cannot put the output file in place as \"%1\": %2"_s.arg(name, renameError);
            return false;
        }
    }
    error =
        u"cannot put the output file in place: \"%1\" and its numbered names are all taken"_s.arg(
            m_targetPath);
    return false;
}
