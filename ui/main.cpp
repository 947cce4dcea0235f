#include "AppPaths.h"
#include "FirstPaintReport.h"
#include "MessageBoxSink.h"
#include "QtFileOpenDialog.h"
#include "QtFolderDialog.h"
#include "SettingsFiles.h"
#include "SingleInstanceLock.h"
#include "SystemDesktop.h"
#include "frmMain.h"

#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// The window speaks Chinese, so Qt's own dialogs and buttons do too.
void installChineseQtTexts(QApplication &app, QTranslator &translator)
{
    if (translator.load(QStringLiteral("qtbase_zh_CN"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
}

void applySkin(QApplication &app)
{
    QFile skin(QStringLiteral(":/skin/skin.qss"));
    if (skin.open(QIODevice::ReadOnly))
        app.setStyleSheet(QString::fromUtf8(skin.readAll()));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Zenvora"));

    // Only one window may convert at a time: a second start ends at once.
    SingleInstanceLock instanceLock(SingleInstanceLock::standardFolders());
    const SingleInstanceLock::Outcome instance = instanceLock.tryLock();
    if (instance == SingleInstanceLock::Outcome::AnotherRuns)
        return 0;
    if (instance == SingleInstanceLock::Outcome::Unguarded)
        qWarning("Zenvora: no lock file can be made; starting without the one-window guard");

    QTranslator translator;
    installChineseQtTexts(app, translator);
    applySkin(app);
    QFont font(QStringLiteral("Tahoma"), 9);
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("WenQuanYi Micro Hei")});
    app.setFont(font);

    MessageBoxSink messages(nullptr);
    SystemDesktop desktop;
    const SettingsFiles settingsFiles;
    CommandEnvironment environment;
    environment.programFolder = AppPaths::ProgramFolder();
    environment.intermediatePath = AppPaths::TempFolder() + QStringLiteral("/tmp.mp4");

    QtFolderDialog folderDialog(nullptr);
    QtFileOpenDialog fileDialog(nullptr);
    frmMain window({messages, folderDialog, fileDialog, desktop, settingsFiles, environment});
    messages.setOwner(&window);
    FirstPaintReport::installIfAsked(window);
    window.show();
    return app.exec();
}
