#pragma once

#include <QObject>
#include <QProcess>
#include <QTimer>

// Runs ffmpeg once: its standard output is handed on as it
// arrives, its error output is passed through to the encoder's own and its
// first line kept as the reason of a failure, and it can be stopped
// (terminate, then kill after a short grace period). The tool runs in a
// process group of its own, which is what is stopped, and killed once the
// tool has ended; the group dies with the encoder even when the encoder is
// killed.
class ToolProcess final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ToolProcess)

public:
    explicit ToolProcess(QObject *parent = nullptr);

    void start(const QString &program, const QStringList &arguments);
    void stop();

    // Shorter than the grace the program gives the encoder itself, so the
    // encoder still has time to clean up after a tool that will not stop.
    static constexpr int StopGraceMilliseconds = 1500;

Q_SIGNALS:
    void outputArrived(const QByteArray &output);
    // Empty when the tool exited with status 0, otherwise what went wrong.
    void ended(const QString &problem);

private:
    void kill();
    void forwardOutput();
    void passErrorsOn();
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void onError(QProcess::ProcessError error);

    QProcess m_process;
    QTimer m_killTimer;
    qint64 m_group = 0;     // known once the tool has started
    QByteArray m_errorText; // up to the first complete line
    QString m_firstError;
};
