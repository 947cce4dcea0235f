#pragma once

#include "app/MainController.h"
#include "settings/SettingsFiles.h"
#include "tests/helpers/FakeFileOpenDialog.h"
#include "tests/helpers/RecordingDesktop.h"
#include "tests/helpers/RecordingFolderDialog.h"
#include "tests/helpers/RecordingMessageSink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// What the main window and its controller are given in a test: recorders
// for what they show and ask, and a folder of their own for the settings,
// the program and the files to convert. The program folder holds no
// encoder until a test installs one, so a job ends at once, unable to start.
struct ControllerFixture
{
    ControllerFixture()
    {
        environment.programFolder = dir.filePath(QStringLiteral("app"));
        environment.intermediatePath = dir.filePath(QStringLiteral("tmp/tmp.mp4"));
    }

    ControllerServices services()
    {
        return {messages, folders, files, desktop, settings, environment, stateFolder};
    }

    // A file, written with its folders; a relative name is in the fixture's folder.
    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = QDir(dir.path()).filePath(name);
        QFile file(path);
        if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly) ||
            file.write(bytes) != bytes.size())
            QTest::qFail(qPrintable(QStringLiteral("cannot write ") + path), __FILE__, __LINE__);
        return path;
    }

    // A shell script in the place of the first stage's encoder.
    void installEncoder(const QByteArray &script)
    {
        const QString encoder = write(QStringLiteral("app/data/conv.exe"), "#!/bin/sh\n" + script);
        QVERIFY(QFile::setPermissions(encoder, QFile::ReadOwner | QFile::ExeOwner));
    }

    QTemporaryDir dir;
    RecordingMessageSink messages;
    RecordingFolderDialog folders;
    FakeFileOpenDialog files;
    RecordingDesktop desktop;
    SettingsFiles settings{dir.path(), QStringLiteral("/videos/Zenvora")};
    CommandEnvironment environment;
    // Where the queue is kept between runs; none unless a test names one.
    QString stateFolder;
};
