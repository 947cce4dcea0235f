#include "engine/JobFiles.h"

#include "encoders/protocol/EncoderProtocol.h"
#include "engine/AppPaths.h"
#include "engine/LegacyNames.h"
#include "engine/OutputFormats.h"
#include "engine/PathHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

JobFiles::JobFiles(const CommandEnvironment &environment, QSet<QString> &reservedOutputs)
    : m_intermediatePath(environment.intermediatePath), m_pathStyle(environment.pathStyle),
      m_reservedOutputs(reservedOutputs)
{
}

JobFiles::~JobFiles()
{
    QFile::remove(m_intermediatePath);
    m_reservedOutputs.remove(m_reservedOutput);
    if (!m_sourceLink.isEmpty()) {
        QFile::remove(m_sourceLink);
        QDir().rmdir(ParsePath(m_sourceLink, m_pathStyle));
    }
}

std::optional<Outcome::Failed> JobFiles::prepare(const QString &inputPath,
                                                 const ConversionSettings &settings)
{
    using Cause = Outcome::Failed::Cause;
    if (!QDir().mkpath(settings.outputFolder))
        return Outcome::Failed{Cause::OutputFolder, 0, settings.outputFolder};
    if (OutputFormats::of(settings.format).hasStageTwo()) {
        const QString tempFolder = ParsePath(m_intermediatePath, m_pathStyle);
        if (!AppPaths::createPrivateFolder(tempFolder))
            return Outcome::Failed{Cause::TempFolder, 0, tempFolder};
        // A stage two must never convert the intermediate file of an earlier job.
        QFile::remove(m_intermediatePath);
    }
    const std::optional<QString> input = encoderInputFor(inputPath);
    if (!input)
        return Outcome::Failed{Cause::UnopenableName, 0, inputPath};
    m_encoderInput = *input;
    return std::nullopt;
}

// A file shown by the GB18030 reading of its name's bytes reaches the
// encoders through a link under that name in the private working folder:
// the encoders get a name they can open, and the output is named as shown.
std::optional<QString> JobFiles::encoderInputFor(const QString &path)
{
    if (QFileInfo::exists(path))
        return path;
    const std::optional<QByteArray> bytes = LegacyNames::bytesOf(path);
    if (!bytes)
        return path.contains(QChar::ReplacementCharacter) ? std::nullopt : std::optional(path);
    const QString linkFolder = m_intermediatePath + QStringLiteral("-source");
    if (!AppPaths::createPrivateFolder(ParsePath(linkFolder, m_pathStyle)) ||
        !QDir().mkpath(linkFolder))
        return std::nullopt;
    const QString link = linkFolder + m_pathStyle.separator + FileNameFromPath(path, m_pathStyle);
    if (!LegacyNames::link(*bytes, link))
        return std::nullopt;
    m_sourceLink = link;
    return link;
}

void JobFiles::reserveOutput(const QString &outputPath)
{
    m_reservedOutput = outputPath;
    m_reservedOutputs.insert(outputPath);
    EncoderProtocol::removeAbandonedPartFilesOf(outputPath);
}

void JobFiles::removeUnfinished(const QString &partFile, const QString &outputPath) const
{
    if (!partFile.isEmpty())
        QFile::remove(partFile);
    EncoderProtocol::removeAbandonedPartFilesOf(outputPath);
}

CommandEnvironment JobFiles::seeingReservations(CommandEnvironment environment,
                                                const QSet<QString> &reservedOutputs)
{
    environment.pathExists = [exists = environment.pathExists,
                              &reservedOutputs](const QString &path) {
        return reservedOutputs.contains(path) || exists(path);
    };
    return environment;
}
