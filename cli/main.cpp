#include "cli/BackgroundOutput.h"
#include "cli/CliOptions.h"
#include "cli/CliSession.h"
#include "cli/StandardOutput.h"
#include "cli/WorkingFolder.h"
#include "desktop/DesktopBuses.h"
#include "desktop/SleepInhibitor.h"
#include "encoders/system/PosixSignals.h"
#include "engine/AppPaths.h"
#include "engine/AppTranslations.h"
#include "engine/BatchDriver.h"
#include "engine/StderrMessageSink.h"
#include "jobs/JobList.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Zenvora"));
    const LanguageChoice::Language language = LanguageChoice::current(app.arguments());
    if (!AppTranslations::install(app, language, AppTranslations::folder()))
        std::fprintf(stderr, "zenvora-cli: no English texts in %s\n",
                     qPrintable(AppTranslations::folder()));

    const CliOptions options = CliOptions::parse(app.arguments(), AppPaths::DefaultOutputFolder());
    if (options.helpRequested) {
        std::fputs(qPrintable(CliOptions::helpText()), stdout);
        return 0;
    }
    if (options.versionRequested) {
        std::fputs("zenvora-cli " ZENVORA_VERSION "\n", stdout);
        return 0;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(
            stderr, "zenvora-cli: %s\n%s\n", qPrintable(options.error),
            qPrintable(QCoreApplication::translate("zenvora-cli", "Try 'zenvora-cli --help'.")));
        return 2;
    }
    for (const QString &warning : options.warnings)
        std::fprintf(
            stderr, "zenvora-cli: %s\n",
            qPrintable(QCoreApplication::translate("zenvora-cli", "warning: %1").arg(warning)));

    // Only jobs converted in two stages need the working folder; without
    // one they fail with a reason and the others are converted all the same.
    const WorkingFolder workingFolder;
    if (!workingFolder.isValid())
        std::fprintf(stderr, "zenvora-cli: %s\n",
                     qPrintable(QCoreApplication::translate("zenvora-cli",
                                                            "cannot create a working folder: %1")
                                    .arg(workingFolder.errorString())));
    CommandEnvironment environment;
    environment.programFolder = AppPaths::ProgramFolder();
    environment.intermediatePath = workingFolder.intermediatePath();

    JobList queue;
    queue.addJobs(options.files);
    StderrMessageSink messages;
    BatchDriver driver(queue, environment);
    driver.setParallelJobs(options.settings.choices.filesAtOnce);
    driver.setStallTimeout(options.stallTimeoutSeconds * 1000);
    driver.setStartDelay(0);
    BackgroundOutput output(StandardOutput::descriptor());
    CliSession session(driver, messages, output, queue.jobCount(),
                       options.settings.choices.filesAtOnce, StandardOutput::isTerminal());
    QObject::connect(&session, &CliSession::finished, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // SIGINT, SIGTERM and SIGHUP stop the batch like the Stop command
    // instead of ending the program with its encoder and files left behind.
    PosixSignals stopSignals;
    int stoppedBy = 0;
    QObject::connect(&stopSignals, &PosixSignals::terminationRequested, &driver,
                     [&driver, &stoppedBy](int signalNumber) {
                         if (stoppedBy == 0)
                             stoppedBy = signalNumber;
                         driver.stop();
                     });
    // From the start to the end of the batch the machine stays awake.
    SleepInhibitor inhibitor(QDBusConnection::systemBus(), DesktopBuses::session(),
                             QStringLiteral("zenvora-cli is converting"));
    QObject::connect(&inhibitor, &SleepInhibitor::unavailable, [] {
        std::fprintf(stderr, "zenvora-cli: nothing keeps the machine awake; it may sleep during "
                             "the batch (--no-inhibit turns this attempt off)\n");
    });
    if (options.inhibitSleep)
        inhibitor.hold();
    // Never empty: the options hold at least one file, and every file is queued.
    if (!driver.requestStart(options.settings, false))
        return 2;
    app.exec();
    inhibitor.release();
    // What is still on its way to a reader that has stopped reading is given
    // up a second after a termination signal.
    QElapsedTimer sinceStop;
    while (!output.drain(std::chrono::milliseconds(100))) {
        QCoreApplication::processEvents();
        if (stoppedBy != 0 && !sinceStop.isValid())
            sinceStop.start();
        if (sinceStop.isValid() && sinceStop.hasExpired(1000))
            break;
    }
    // The shell's convention for a run ended by a signal.
    return stoppedBy != 0 ? 128 + stoppedBy : session.exitCode();
}
