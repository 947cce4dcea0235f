#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <optional>

// The probe server of a batch: it reads the files' facts for every encoder
// of the batch, with libavformat loaded once instead of once per encoder.
// It lives from the batch's start to its end; an encoder that cannot reach
// it reads the file itself, so a server that is missing, slow to start or
// gone changes nothing but the time taken.
class ProbeService final
{
public:
    // programFolder: where the data folder with the server lies.
    explicit ProbeService(const QString &programFolder);
    ~ProbeService();

    // Starts the server on a socket in a new folder private to this user
    // and returns the socket's name for the encoders' environment; empty
    // when there is no such folder.
    QString start();
    // Ends the server and removes its folder: between batches nothing is
    // left that a program killed while idle would leave behind.
    void stop();

private:
    QString m_program;
    std::optional<QTemporaryDir> m_folder;
    QProcess m_process;
};
