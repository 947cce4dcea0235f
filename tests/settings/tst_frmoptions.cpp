#include "settings/SettingsFiles.h"
#include "settings/frmOptions.h"
#include "tests/helpers/RecordingMessageSink.h"
#include "tests/settings/OptionsValues.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QStringList TimeFieldNames{u"txtFromH"_s, u"txtFromM"_s, u"txtFromS"_s,
                                 u"txtToH"_s,   u"txtToM"_s,   u"txtToS"_s};

using Edits = QMap<QString, QString>;

} // namespace

class tst_frmOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void controlsAsShown();
    void concurrentJobs_data();
    void concurrentJobs();
    void twoChoiceCombos_data();
    void twoChoiceCombos();
    void formLoad_data();
    void formLoad();
    void chkMCSwitchesTheTimeFields();
    void confirm_data();
    void confirm();
    void rangeCheckStopsConfirm_data();
    void rangeCheckStopsConfirm();
    void rangeCheckWithDisabledFields();
    void leaveWithoutSaving_data();
    void leaveWithoutSaving();

private:
    std::unique_ptr<frmOptions> openDialog(const QList<int> &options);
    QLineEdit *field(const QString &name) const;
    QStringList timeTexts() const;
    void edit(const Edits &edits) const;
    void clickButton(const QString &name) const;
    bool optionsFileExists() const { return QFile::exists(m_files->optionsPath()); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsFiles> m_files;
    RecordingMessageSink m_sink;
    AppOptions m_options;
    std::unique_ptr<frmOptions> m_dialog;
};

void tst_frmOptions::init()
{
    m_dialog.reset();
    m_sink.messages.clear();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_files = std::make_unique<SettingsFiles>(m_dir->path(), u"/default/Zenvora"_s);
}

std::unique_ptr<frmOptions> tst_frmOptions::openDialog(const QList<int> &options)
{
    m_options = optionsOf(options);
    auto dialog = std::make_unique<frmOptions>(m_options, *m_files, m_sink);
    dialog->show();
    return dialog;
}

QLineEdit *tst_frmOptions::field(const QString &name) const
{
    return m_dialog->findChild<QLineEdit *>(name);
}

QStringList tst_frmOptions::timeTexts() const
{
    QStringList texts;
    for (const QString &name : TimeFieldNames)
        texts << field(name)->text();
    return texts;
}

void tst_frmOptions::edit(const Edits &edits) const
{
    for (auto it = edits.begin(); it != edits.end(); ++it)
        field(it.key())->setText(it.value());
}

void tst_frmOptions::clickButton(const QString &name) const
{
    QTest::mouseClick(m_dialog->findChild<QPushButton *>(name), Qt::LeftButton);
}

void tst_frmOptions::controlsAsShown()
{
    m_dialog = openDialog({0, 1, 3723, 3753});
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));

    QCOMPARE(m_dialog->windowTitle(), u"选项设置"_s);
    QVERIFY(m_dialog->isModal());
    QVERIFY(m_dialog->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(m_dialog->size(), QSize(305, 284));
    const auto *label = m_dialog->findChild<QLabel *>();
    QCOMPARE(label->text(), u"转换完毕声音提示"_s);
    const auto *cmbSR = m_dialog->findChild<QComboBox *>(u"cmbSR"_s);
    QVERIFY(cmbSR->isVisible());
    QCOMPARE(cmbSR->count(), 2);
    QCOMPARE(cmbSR->itemText(0), u"ON"_s);
    QCOMPARE(cmbSR->itemText(1), u"OFF"_s);
    QVERIFY(!cmbSR->isEditable());
    const auto *command1 = m_dialog->findChild<QPushButton *>(u"Command1"_s);
    const auto *command2 = m_dialog->findChild<QPushButton *>(u"Command2"_s);
    QCOMPARE(command1->text(), u"确定"_s);
    QCOMPARE(command2->text(), u"返回"_s);
    QVERIFY(command1->isVisible() && command2->isVisible());
    const auto *jobs = m_dialog->findChild<QSpinBox *>(u"spnJobs"_s);
    QVERIFY(jobs->isVisible());
    QCOMPARE(jobs->minimum(), 1);
    QCOMPARE(jobs->maximum(), std::max(1, QThread::idealThreadCount()));
    const auto *subtitles = m_dialog->findChild<QComboBox *>(u"cmbSubtitles"_s);
    QVERIFY(subtitles->isVisible());
    QCOMPARE(subtitles->count(), 2);
    QCOMPARE(subtitles->itemText(0), u"自动"_s);
    QCOMPARE(subtitles->itemText(1), u"关闭"_s);
    QVERIFY(!subtitles->isEditable());
    QVERIFY(m_dialog->findChild<QCheckBox *>(u"chkMC"_s)->isVisible());
    for (const QString &name : TimeFieldNames)
        QVERIFY2(field(name)->isVisible(), qPrintable(name));
    // Every control lies inside the dialog, none over another.
    const QList<QWidget *> controls = m_dialog->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (const QWidget *control : controls) {
        QVERIFY2(m_dialog->rect().contains(control->geometry()), qPrintable(control->objectName()));
        for (const QWidget *other : controls)
            QVERIFY(control == other || !control->geometry().intersects(other->geometry()));
    }
}

void tst_frmOptions::concurrentJobs_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("kept");

    const int most = std::max(1, QThread::idealThreadCount());
    QTest::newRow("default 1") << 1 << 1 << true << 1;
    QTest::newRow("the most stored shows and stays") << most << most << true << most;
    QTest::newRow("more than the processors shows the most") << 99 << most << true << most;
    QTest::newRow("0 shows 1") << 0 << 1 << true << 1;
    QTest::newRow("leaving keeps the stored value") << 99 << most << false << 99;
}

void tst_frmOptions::concurrentJobs()
{
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(bool, confirm);
    QFETCH(int, kept);
    m_dialog = openDialog({0, 0, 0, 0, stored});
    QCOMPARE(m_dialog->findChild<QSpinBox *>(u"spnJobs"_s)->value(), shown);

    clickButton(confirm ? u"Command1"_s : u"Command2"_s);

    QCOMPARE(m_options.concurrentJobs, kept);
    QCOMPARE(optionsFileExists(), confirm);
    if (confirm) {
        QFile saved(m_files->optionsPath());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(),
                 "0\r\n0\r\n0\r\n0\r\n" + QByteArray::number(kept) + "\r\n0\r\n0\r\n");
    }
}

void tst_frmOptions::twoChoiceCombos_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<int>("field"); // its line in options.ini, from 0
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("chosen"); // -1: left as shown
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<int>("kept");

    for (const auto &[combo, field] : {std::pair{u"cmbSubtitles"_s, 5}, {u"cmbNotify"_s, 6}}) {
        const auto row = [&combo](const char *name) -> QTestData & {
            return QTest::addRow("%s: %s", qPrintable(combo), name);
        };
        row("default on") << combo << field << 0 << 0 << -1 << true << 0;
        row("off shows and stays") << combo << field << 1 << 1 << -1 << true << 1;
        row("choosing off") << combo << field << 0 << 0 << 1 << true << 1;
        row("choosing on") << combo << field << 1 << 1 << 0 << true << 0;
        row("a value outside the list shows on") << combo << field << 7 << 0 << -1 << true << 0;
        row("leaving keeps the stored value") << combo << field << 0 << 0 << 1 << false << 0;
    }
}

void tst_frmOptions::twoChoiceCombos()
{
    QFETCH(QString, combo);
    QFETCH(int, field);
    QFETCH(int, stored);
    QFETCH(int, shown);
    QFETCH(int, chosen);
    QFETCH(bool, confirm);
    QFETCH(int, kept);
    QList<int> options{0, 0, 0, 0, 1, 0, 0};
    options[field] = stored;
    m_dialog = openDialog(options);
    auto *box = m_dialog->findChild<QComboBox *>(combo);
    QCOMPARE(box->currentIndex(), shown);
    if (chosen >= 0)
        box->setCurrentIndex(chosen);

    clickButton(confirm ? u"Command1"_s : u"Command2"_s);

    QCOMPARE(valuesOf(m_options).at(field), confirm ? kept : stored);
    QCOMPARE(optionsFileExists(), confirm);
    if (confirm) {
        QList<QByteArray> lines{"0", "0", "0", "0", "1", "0", "0"};
        lines[field] = QByteArray::number(kept);
        QFile saved(m_files->optionsPath());
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), lines.join("\r\n") + "\r\n");
    }
}

void tst_frmOptions::formLoad_data()
{
    QTest::addColumn<QList<int>>("options");
    QTest::addColumn<int>("soundIndex");
    QTest::addColumn<bool>("cutterOn");
    QTest::addColumn<QStringList>("times");

    const QStringList zeros{u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s};
    QTest::newRow("sound on") << QList<int>{0, 0, 0, 0, 1} << 0 << false << zeros;
    QTest::newRow("sound off shows OFF, cutter off ignores times")
        << QList<int>{1, 0, 3723, 3753, 1} << 1 << false << zeros;
    QTest::newRow("3723 s reads 1, 2, 3")
        << QList<int>{0, 1, 3723, 3753, 1} << 0 << true
        << QStringList{u"1"_s, u"2"_s, u"3"_s, u"1"_s, u"2"_s, u"33"_s};
    QTest::newRow("whole hours and minutes")
        << QList<int>{0, 1, 7200, 59, 1} << 0 << true
        << QStringList{u"2"_s, u"0"_s, u"0"_s, u"0"_s, u"0"_s, u"59"_s};
    QTest::newRow("negative seconds floor")
        << QList<int>{0, 1, -1, -3600, 1} << 0 << true
        << QStringList{u"-1"_s, u"59"_s, u"59"_s, u"-1"_s, u"0"_s, u"0"_s};
    QTest::newRow("largest time") << QList<int>{0, 1, std::numeric_limits<int>::max(),
                                                std::numeric_limits<int>::min(), 1}
                                  << 0 << true << QStringList{u"596523"_s,  u"14"_s, u"7"_s,
                                                              u"-596524"_s, u"45"_s, u"52"_s};
    QTest::newRow("sound value outside the list selects nothing")
        << QList<int>{7, 0, 0, 0, 1} << -1 << false << zeros;
    QTest::newRow("cutter value other than 1 is off")
        << QList<int>{0, 2, 60, 120, 1} << 0 << false << zeros;
}

void tst_frmOptions::formLoad()
{
    QFETCH(QList<int>, options);
    QFETCH(int, soundIndex);
    QFETCH(bool, cutterOn);
    QFETCH(QStringList, times);

    m_dialog = openDialog(options);

    QCOMPARE(m_dialog->findChild<QComboBox *>(u"cmbSR"_s)->currentIndex(), soundIndex);
    QCOMPARE(m_dialog->findChild<QCheckBox *>(u"chkMC"_s)->isChecked(), cutterOn);
    QCOMPARE(timeTexts(), times);
    for (const QString &name : TimeFieldNames)
        QCOMPARE(field(name)->isEnabled(), cutterOn);
}

void tst_frmOptions::chkMCSwitchesTheTimeFields()
{
    m_dialog = openDialog({0, 0, 0, 0});
    auto *chkMC = m_dialog->findChild<QCheckBox *>(u"chkMC"_s);

    chkMC->setChecked(true);
    for (const QString &name : TimeFieldNames)
        QVERIFY2(field(name)->isEnabled(), qPrintable(name));
    chkMC->setChecked(false);
    for (const QString &name : TimeFieldNames)
        QVERIFY2(!field(name)->isEnabled(), qPrintable(name));
}

void tst_frmOptions::confirm_data()
{
    QTest::addColumn<QList<int>>("options");
    QTest::addColumn<int>("soundIndex");
    QTest::addColumn<Edits>("edits");
    QTest::addColumn<QList<int>>("stored");

    const QList<int> cutter{0, 1, 3723, 3753, 1, 0, 0};
    QTest::newRow("unchanged, cutter off: times become 0")
        << QList<int>{1, 0, 90, 180, 1} << 1 << Edits{} << QList<int>{1, 0, 0, 0, 1, 0, 0};
    QTest::newRow("cutter on stores its times again") << cutter << 0 << Edits{} << cutter;
    QTest::newRow("choosing OFF") << QList<int>{0, 0, 0, 0, 1} << 1 << Edits{}
                                  << QList<int>{1, 0, 0, 0, 1, 0, 0};
    QTest::newRow("cutter on with zero times switches off")
        << QList<int>{1, 1, 0, 0, 1} << 1 << Edits{} << QList<int>{1, 0, 0, 0, 1, 0, 0};
    QTest::newRow("all six fields 0 switch the cutter off")
        << cutter << 0
        << Edits{{u"txtFromH"_s, u"0"_s}, {u"txtFromM"_s, u"0"_s}, {u"txtFromS"_s, u"0"_s},
                 {u"txtToH"_s, u"0"_s},   {u"txtToM"_s, u"0"_s},   {u"txtToS"_s, u"0.0"_s}}
        << QList<int>{0, 0, 0, 0, 1, 0, 0};
    QTest::newRow("zero start with an end keeps the cutter on")
        << cutter << 0
        << Edits{{u"txtFromH"_s, u"0"_s}, {u"txtFromM"_s, u"0"_s}, {u"txtFromS"_s, u"0"_s}}
        << QList<int>{0, 1, 0, 3753, 1, 0, 0};
    QTest::newRow("zero end with a start keeps the cutter on")
        << cutter << 0 << Edits{{u"txtToH"_s, u"0"_s}, {u"txtToM"_s, u"0"_s}, {u"txtToS"_s, u"0"_s}}
        << QList<int>{0, 1, 3723, 0, 1, 0, 0};
    QTest::newRow("59 minutes pass")
        << cutter << 0 << Edits{{u"txtFromM"_s, u"59"_s}} << QList<int>{0, 1, 7143, 3753, 1, 0, 0};
    QTest::newRow("59 end seconds pass")
        << cutter << 0 << Edits{{u"txtToS"_s, u"59"_s}} << QList<int>{0, 1, 3723, 3779, 1, 0, 0};
    QTest::newRow("hours are not limited") << cutter << 0 << Edits{{u"txtFromH"_s, u"100"_s}}
                                           << QList<int>{0, 1, 360123, 3753, 1, 0, 0};
    QTest::newRow("negative minutes pass")
        << cutter << 0 << Edits{{u"txtFromM"_s, u"-5"_s}} << QList<int>{0, 1, 3303, 3753, 1, 0, 0};
    QTest::newRow("fractions count, halves round to even")
        << cutter << 0
        << Edits{{u"txtFromH"_s, u"0"_s}, {u"txtFromM"_s, u"1.5"_s}, {u"txtFromS"_s, u"0.5"_s},
                 {u"txtToH"_s, u"0"_s},   {u"txtToM"_s, u"0"_s},     {u"txtToS"_s, u"3.5"_s}}
        << QList<int>{0, 1, 90, 4, 1, 0, 0};
    QTest::newRow("leading number of a text")
        << cutter << 0 << Edits{{u"txtFromS"_s, u"7秒"_s}} << QList<int>{0, 1, 3727, 3753, 1, 0, 0};
    QTest::newRow("start too large for 32 bits keeps the stored start")
        << cutter << 0 << Edits{{u"txtFromH"_s, u"600000"_s}} << cutter;
    QTest::newRow("sound value outside the list goes back as -1")
        << QList<int>{7, 0, 0, 0, 1} << -1 << Edits{} << QList<int>{-1, 0, 0, 0, 1, 0, 0};
}

void tst_frmOptions::confirm()
{
    QFETCH(QList<int>, options);
    QFETCH(int, soundIndex);
    QFETCH(Edits, edits);
    QFETCH(QList<int>, stored);
    m_dialog = openDialog(options);
    m_dialog->findChild<QComboBox *>(u"cmbSR"_s)->setCurrentIndex(soundIndex);
    edit(edits);

    clickButton(u"Command1"_s);

    QVERIFY(m_sink.messages.isEmpty());
    QCOMPARE(m_dialog->result(), static_cast<int>(QDialog::Accepted));
    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(valuesOf(m_options), stored);
    // options.ini holds them a line each.
    QByteArray file;
    for (const int value : std::as_const(stored))
        file += QByteArray::number(value) + "\r\n";
    QFile saved(m_files->optionsPath());
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), file);
}

void tst_frmOptions::rangeCheckStopsConfirm_data()
{
    QTest::addColumn<Edits>("edits");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("focus");

    const QString minutes = u"分钟必须小于60"_s;
    const QString seconds = u"秒必须小于60"_s;
    QTest::newRow("start minutes 60")
        << Edits{{u"txtFromM"_s, u"60"_s}} << minutes << u"分钟"_s << u"txtFromM"_s;
    QTest::newRow("end minutes 60")
        << Edits{{u"txtToM"_s, u"60"_s}} << minutes << u"分钟"_s << u"txtToM"_s;
    QTest::newRow("start seconds 60")
        << Edits{{u"txtFromS"_s, u"60"_s}} << seconds << u"秒"_s << u"txtFromS"_s;
    QTest::newRow("end seconds 60")
        << Edits{{u"txtToS"_s, u"60"_s}} << seconds << u"秒"_s << u"txtToS"_s;
    QTest::newRow("59.5 minutes fail")
        << Edits{{u"txtFromM"_s, u"59.5"_s}} << minutes << u"分钟"_s << u"txtFromM"_s;
    QTest::newRow("leading number counts")
        << Edits{{u"txtToS"_s, u"61s"_s}} << seconds << u"秒"_s << u"txtToS"_s;
    QTest::newRow("minutes 75 and seconds 90 tell only the minutes")
        << Edits{{u"txtFromM"_s, u"75"_s}, {u"txtFromS"_s, u"90"_s}} << minutes << u"分钟"_s
        << u"txtFromM"_s;
    QTest::newRow("start minutes before end minutes")
        << Edits{{u"txtFromM"_s, u"60"_s}, {u"txtToM"_s, u"60"_s}} << minutes << u"分钟"_s
        << u"txtFromM"_s;
    QTest::newRow("end minutes before start seconds")
        << Edits{{u"txtToM"_s, u"60"_s}, {u"txtFromS"_s, u"60"_s}} << minutes << u"分钟"_s
        << u"txtToM"_s;
    QTest::newRow("start seconds before end seconds")
        << Edits{{u"txtFromS"_s, u"61"_s}, {u"txtToS"_s, u"61"_s}} << seconds << u"秒"_s
        << u"txtFromS"_s;
}

void tst_frmOptions::rangeCheckStopsConfirm()
{
    QFETCH(Edits, edits);
    QFETCH(QString, message);
    QFETCH(QString, caption);
    QFETCH(QString, focus);
    const QList<int> before{1, 1, 3723, 3753, 1, 1, 1};
    m_dialog = openDialog(before);
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    m_dialog->findChild<QComboBox *>(u"cmbSR"_s)->setCurrentIndex(0);
    edit(edits);

    clickButton(u"Command1"_s);

    QCOMPARE(m_sink.messages.size(), 1);
    QCOMPARE(m_sink.messages[0].text, message);
    QCOMPARE(m_sink.messages[0].caption, caption);
    QCOMPARE(m_sink.messages[0].icon, MessageSink::Icon::Exclamation);
    QCOMPARE(QApplication::focusWidget(), field(focus));
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), static_cast<int>(QDialog::Rejected));
    QCOMPARE(valuesOf(m_options), before);
    QVERIFY(!optionsFileExists());
}

// The checks hold for fields the switch has disabled, which cannot take
// the focus.
void tst_frmOptions::rangeCheckWithDisabledFields()
{
    m_dialog = openDialog({0, 1, 3723, 3753});
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    field(u"txtFromM"_s)->setText(u"60"_s);
    m_dialog->findChild<QCheckBox *>(u"chkMC"_s)->setChecked(false);

    clickButton(u"Command1"_s);

    QCOMPARE(m_sink.messages.size(), 1);
    QVERIFY(QApplication::focusWidget() != field(u"txtFromM"_s));
    QVERIFY(m_dialog->isVisible());
    QVERIFY(!optionsFileExists());
}

void tst_frmOptions::leaveWithoutSaving_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("返回 button") << u"Command2"_s;
    QTest::newRow("back entry point") << u"imgBack_Click"_s;
    QTest::newRow("exit entry point") << u"imgExit_Click"_s;
}

void tst_frmOptions::leaveWithoutSaving()
{
    QFETCH(QString, way);
    const QList<int> before{1, 1, 3723, 3753, 1, 1, 1};
    m_dialog = openDialog(before);
    m_dialog->findChild<QComboBox *>(u"cmbSR"_s)->setCurrentIndex(0);
    edit({{u"txtFromM"_s, u"59"_s}, {u"txtToS"_s, u"0"_s}});

    if (way.startsWith(u"img"))
        QVERIFY(QMetaObject::invokeMethod(m_dialog.get(), way.toLatin1().constData()));
    else
        clickButton(way);

    QVERIFY(!m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), static_cast<int>(QDialog::Rejected));
    QCOMPARE(valuesOf(m_options), before);
    QVERIFY(!optionsFileExists());
    QVERIFY(m_sink.messages.isEmpty());
}

QTEST_MAIN(tst_frmOptions)
#include "tst_frmoptions.moc"
