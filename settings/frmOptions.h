#pragma once

#include "settings/BackgroundMove.h"

#include <QDialog>

#include <array>

struct AppOptions;
class MessageSink;
class SettingsFiles;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

// "选项设置": switches the completion sound on or off, sets how many files
// are converted at once, whether subtitles are burned in (自动, the default,
// or 关闭), and switches the music cutter chkMC with its start
// and end times, which every job of a batch then keeps to. The times go
// back as 0 when the cutter is off. Built anew for every opening;
// confirming stores into AppOptions and writes options.ini, leaving changes
// nothing.
class frmOptions final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmOptions)

public:
    frmOptions(AppOptions &options, const SettingsFiles &files, MessageSink &messages,
               QWidget *parent = nullptr);

public Q_SLOTS:
    // Confirm: a time field out of range is reported and keeps the dialog
    // open with nothing stored; otherwise store, save and close.
    void imgOK_Click();
    void imgBack_Click();
    void imgExit_Click();

private:
    using TimeFields = std::array<QLineEdit *, 3>; // hours, minutes, seconds

    void createSoundControls();
    void createJobsControls();
    void createCutterControls();
    void createButtons();
    QComboBox *addChoice(const QString &name, const QString &caption, const QStringList &entries,
                         const QString &toolTip, int top);
    TimeFields createTimeFields(const QString &prefix, const QString &caption, int top);
    void addLabel(const QString &text, const QRect &place);
    void Form_Load();
    void chkMC_Click();
    bool timesInRange();
    bool allTimesZero() const;

    AppOptions &m_options;
    const SettingsFiles &m_files;
    MessageSink &m_messages;
    QComboBox *m_cmbSR = nullptr;
    QSpinBox *m_spnJobs = nullptr;
    QComboBox *m_cmbSubtitles = nullptr;
    QComboBox *m_cmbNotify = nullptr;
    QCheckBox *m_chkMC = nullptr;
    TimeFields m_from{};
    TimeFields m_to{};
    BackgroundMove m_backgroundMove{*this};
};
