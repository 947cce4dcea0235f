#include "engine/AppPaths.h"
#include "engine/AppTranslations.h"
#include "jobs/QtFileOpenDialog.h"
#include "settings/QtFolderDialog.h"
#include "settings/SettingsFiles.h"
#include "ui/FirstPaint.h"
#include "ui/MessageBoxSink.h"
#include "ui/PathHandOver.h"
#include "ui/SingleInstanceLock.h"
#include "ui/SystemDesktop.h"
#include "ui/WindowLook.h"
#include "ui/WindowOptions.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

#include <cstdio>

namespace {

// Long enough for a running copy that is still starting to begin listening.
constexpr int HandOverTimeoutMs = 10000;

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The program's own texts in the language chosen.
void installTexts(QCoreApplication &app, LanguageChoice::Language language)
{
    if (!AppTranslations::install(app, language, AppTranslations::folder()))
        qWarning("Zenvora: no English texts in %s", qPrintable(AppTranslations::folder()));
}

// --version and --help are answered without a display, so they work where
// there is none.
bool answeredWithoutWindow(int &argc, char *argv[])
{
    const WindowOptions options = WindowOptions::parse(argumentsOf(argc, argv));
    if (!options.versionRequested && !options.helpRequested)
        return false;
    QCoreApplication core(argc, argv);
    installTexts(core, LanguageChoice::current(core.arguments()));
    std::fputs(options.versionRequested ? "zenvora " ZENVORA_VERSION "\n"
                                        : qPrintable(WindowOptions::helpText()),
               stdout);
    return true;
}

// A second start gives its files to the running window and ends; without
// files it ends at once, as before.
int handFilesOver(const QString &lockFolder, const QStringList &paths)
{
    if (paths.isEmpty() || PathHandOver::send(lockFolder, paths, HandOverTimeoutMs))
        return 0;
    std::fprintf(stderr, "zenvora: %s\n",
                 qPrintable(QCoreApplication::translate(
                     "zenvora", "the running copy did not take the files")));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (answeredWithoutWindow(argc, argv))
        return 0;
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Zenvora"));
    const LanguageChoice::Language language = LanguageChoice::current(app.arguments());
    installTexts(app, language);
    const WindowOptions options = WindowOptions::parse(app.arguments());
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "zenvora: %s\n%s\n", qPrintable(options.error),
                     qPrintable(QCoreApplication::translate("zenvora", "Try 'zenvora --help'.")));
        return 2;
    }

    // Only one window may convert at a time: a second start hands its files
    // to the first and ends.
    SingleInstanceLock instanceLock(SingleInstanceLock::standardFolders());
    const SingleInstanceLock::Outcome instance = instanceLock.tryLock();
    if (instance == SingleInstanceLock::Outcome::AnotherRuns)
        return handFilesOver(instanceLock.folder(), options.paths);
    if (instance == SingleInstanceLock::Outcome::Unguarded)
        qWarning("Zenvora: no lock file can be made; starting without the one-window guard");
    PathHandOver handOver;
    if (instance == SingleInstanceLock::Outcome::Locked && !handOver.listen(instanceLock.folder()))
        qWarning("Zenvora: later starts cannot hand files over: %s",
                 qPrintable(handOver.errorString()));

    // A window that speaks Chinese has Qt's own dialogs and buttons speak it
    // too; in English they need nothing, that being Qt's own language.
    QTranslator translator;
    if (language == LanguageChoice::Language::Chinese &&
        translator.load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
    WindowLook::apply(app);

    MessageBoxSink messages(nullptr);
    const SettingsFiles settingsFiles;
    CommandEnvironment environment;
    environment.programFolder = AppPaths::ProgramFolder();
    environment.intermediatePath = AppPaths::TempFolder() + QStringLiteral("/tmp.mp4");
    SystemDesktop desktop(environment.soundFile());

    QtFolderDialog folderDialog(nullptr);
    QtFileOpenDialog fileDialog(nullptr);
    frmMain window({messages, folderDialog, fileDialog, desktop, settingsFiles, environment,
                    QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation),
                    language});
    messages.setOwner(&window);
    // For measuring start-up: one line once the first frame is painted.
    if (qEnvironmentVariableIsSet("ZENVORA_REPORT_FIRST_PAINT"))
        FirstPaint::then(window, [] {
            std::fputs("zenvora: first frame painted\n", stderr);
            std::fflush(stderr);
        });
    window.queuePaths(options.paths);
    QObject::connect(&handOver, &PathHandOver::pathsReceived, &window, &frmMain::queuePaths);
    // Asked over the window, once it is on the screen where it was placed.
    FirstPaint::then(window, [&window] { window.offerRestoredQueue(); });
    window.show();
    return app.exec();
}
