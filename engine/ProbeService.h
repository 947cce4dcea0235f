#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

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

    void start();
    void stop();

    // The local socket the server listens on, for the encoders'
    // environment: the same for every batch.
    QString serverName() const { return m_serverName; }

private:
    QString m_program;
    QTemporaryDir m_folder; // private to this user, for the socket
    QString m_serverName;
    QProcess m_process;
};
