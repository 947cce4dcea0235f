#include "engine/OutputFormats.h"
#include "settings/AppOptions.h"
#include "settings/frmOptions.h"
#include "tests/helpers/ControllerFixture.h"
#include "tests/helpers/Words.h"
#include "ui/HelpWindow.h"
#include "ui/WindowLook.h"
#include "ui/feedback/frmSuggest.h"
#include "ui/frmMain.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTranslator>

#include <algorithm>
#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// One text a control shows, and the width it has for it.
struct ShownText
{
    QString text;
    int width;
    int room;
};

int buttonRoom(QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    const int contents =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    // The icon stands before the text, a few pixels apart.
    return contents - (button->icon().isNull() ? 0 : button->iconSize().width() + 4);
}

int checkBoxRoom(QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    return box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
}

// A tool button draws its text inside its frame, below the icon.
int toolButtonRoom(QToolButton *button)
{
    return button->width() -
           2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
}

// A line edit's text lies inside its frame, padding and text margins, and
// two pixels more each side.
int lineEditRoom(QLineEdit *edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->hasFrame()
                           ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                           : 0;
    const QMargins margins = edit->textMargins();
    return edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width() -
           margins.left() - margins.right() - 4;
}

// A box that takes typing shows its text in its line edit; the others in
// the field left of the arrow.
int comboRoom(QComboBox *box)
{
    if (box->lineEdit())
        return lineEditRoom(box->lineEdit());
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.frame = box->hasFrame();
    return box->style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box)
        .width();
}

QList<ShownText> shownTexts(QWidget *widget)
{
    const QFontMetrics metrics = widget->fontMetrics();
    const auto one = [&metrics](const QString &text, int room) {
        return QList<ShownText>{{text, metrics.horizontalAdvance(text), room}};
    };
    if (auto *label = qobject_cast<QLabel *>(widget))
        return one(label->text(), label->contentsRect().width() - 2 * label->margin());
    if (auto *box = qobject_cast<QCheckBox *>(widget))
        return one(box->text(), checkBoxRoom(box));
    if (auto *button = qobject_cast<QPushButton *>(widget))
        return one(button->text(), buttonRoom(button));
    if (auto *button = qobject_cast<QToolButton *>(widget))
        return one(button->text(), toolButtonRoom(button));
    QList<ShownText> entries;
    if (auto *box = qobject_cast<QComboBox *>(widget)) {
        for (int entry = 0; entry < box->count(); ++entry)
            entries += one(box->itemText(entry), comboRoom(box));
    }
    return entries;
}

QString textOf(QWidget *control)
{
    if (auto *label = qobject_cast<QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        return button->text();
    if (auto *box = qobject_cast<QComboBox *>(control))
        return box->currentText();
    return {};
}

// Every text of the menus, submenus included.
QStringList menuTexts(const QMenu *menu)
{
    QStringList texts{menu->title()};
    for (const QAction *action : menu->actions())
        texts += action->menu() ? menuTexts(action->menu()) : QStringList{action->text()};
    return texts;
}

} // namespace

class TestWindowLanguages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void textsFitTheirControls_data();
    void textsFitTheirControls();
    void controlsSpeakTheLanguage_data();
    void controlsSpeakTheLanguage();
    void settingsKeepTheWordsOfTheSource_data();
    void settingsKeepTheWordsOfTheSource();
    void helpOpensInTheWindowsLanguage_data();
    void helpOpensInTheWindowsLanguage();

private:
    void useLanguage(const QString &language);
    void openWindows(const QString &language);
    void checkTexts(QWidget *window, const QString &language);
    void checkFeedbackStatus(const QString &language);

    ControllerFixture m_fixture;
    AppOptions m_options;
    std::unique_ptr<QTranslator> m_translator;
    std::unique_ptr<frmMain> m_window;
    std::unique_ptr<frmOptions> m_optionsDialog;
    std::unique_ptr<frmSuggest> m_feedback;
};

void TestWindowLanguages::initTestCase()
{
    WindowLook::apply(*qApp);
}

void TestWindowLanguages::cleanup()
{
    m_feedback.reset();
    m_optionsDialog.reset();
    m_window.reset();
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    m_translator.reset();
}

// The program's own translations, as the build puts them beside it.
void TestWindowLanguages::useLanguage(const QString &language)
{
    if (language != u"en")
        return;
    m_translator = std::make_unique<QTranslator>();
    QVERIFY(m_translator->load(u"zenvora_en"_s,
                               qEnvironmentVariable("ZENVORA_PROGRAM_DIR") + u"/translations"_s));
    QVERIFY(QCoreApplication::installTranslator(m_translator.get()));
}

void TestWindowLanguages::openWindows(const QString &language)
{
    m_window = std::make_unique<frmMain>(frmMainServices{
        m_fixture.services(),
        language == u"en" ? LanguageChoice::Language::English : LanguageChoice::Language::Chinese});
    m_optionsDialog = std::make_unique<frmOptions>(m_options, m_fixture.settings,
                                                   m_fixture.messages, m_window.get());
    m_feedback = std::make_unique<frmSuggest>(m_fixture.messages, m_window.get());
    for (QWidget *window : std::initializer_list<QWidget *>{m_window.get(), m_optionsDialog.get(),
                                                            m_feedback.get()}) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
    }
}

// Each text whole in its control, each control inside its window, no
// label running into another control, and in English no Chinese left.
void TestWindowLanguages::checkTexts(QWidget *window, const QString &language)
{
    const QList<QWidget *> controls = window->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        if (!control->isVisibleTo(window))
            continue;
        const QString where =
            window->objectName() + u'/' +
            (control->objectName().isEmpty() ? textOf(control) : control->objectName());
        for (const ShownText &shown : shownTexts(control)) {
            QVERIFY2(shown.width <= shown.room,
                     qPrintable(u"%1 \"%2\" needs %3 px, has %4"_s.arg(where, shown.text)
                                    .arg(shown.width)
                                    .arg(shown.room)));
            QVERIFY2(language != u"en" || !hasChinese(shown.text),
                     qPrintable(where + u": "_s + shown.text));
        }
        QVERIFY2(language != u"en" || !hasChinese(control->toolTip()),
                 qPrintable(where + u": "_s + control->toolTip()));
        if (control->parentWidget() != window)
            continue;
        QVERIFY2(window->rect().contains(control->geometry()), qPrintable(where));
        if (!qobject_cast<QLabel *>(control))
            continue;
        for (QWidget *other : controls) {
            const bool kept =
                other != control && other->parentWidget() == window && other->isVisibleTo(window) &&
                (qobject_cast<QLabel *>(other) || qobject_cast<QAbstractButton *>(other) ||
                 qobject_cast<QComboBox *>(other) || qobject_cast<QLineEdit *>(other) ||
                 qobject_cast<QAbstractSpinBox *>(other));
            QVERIFY2(!kept || !control->geometry().intersects(other->geometry()),
                     qPrintable(where + u" runs into "_s + other->objectName()));
        }
    }
}

// The form's line under its boxes says what is missing, then how the
// sending went; each of its texts fits.
void TestWindowLanguages::checkFeedbackStatus(const QString &language)
{
    auto *status = m_feedback->findChild<QLabel *>(u"lblSending"_s);
    auto *send = m_feedback->findChild<QPushButton *>(u"Command3"_s);
    const QStringList boxes{u"txtName"_s, u"txtEMail"_s, u"txtComment"_s, QString()};
    for (const QString &box : boxes) {
        send->click();
        QTRY_VERIFY(!status->text().isEmpty());
        checkTexts(m_feedback.get(), language);
        if (!box.isEmpty())
            m_feedback->findChild<QLineEdit *>(box)->setText(u"x"_s);
    }
    QTRY_COMPARE(m_fixture.messages.messages.size(), 1);
    checkTexts(m_feedback.get(), language);
}

void TestWindowLanguages::textsFitTheirControls_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("Chinese") << u"zh"_s;
    QTest::newRow("English") << u"en"_s;
}

void TestWindowLanguages::textsFitTheirControls()
{
    QFETCH(QString, language);
    m_fixture.messages = {};
    useLanguage(language);
    openWindows(language);
    for (QWidget *window :
         std::initializer_list<QWidget *>{m_window.get(), m_optionsDialog.get(), m_feedback.get()})
        checkTexts(window, language);
    for (const QString &text : menuTexts(m_window->findChild<QMenu *>(u"menuList"_s)))
        QVERIFY2(language != u"en" || !hasChinese(text), qPrintable(text));
    checkFeedbackStatus(language);
}

void TestWindowLanguages::controlsSpeakTheLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("control"); // window/name; a window alone: one of its labels
    QTest::addColumn<QString>("text");

    const std::array<std::array<const char16_t *, 3>, 13> rows{{
        {u"frmMain/Command3", u"立刻开始转换！", u"Start Converting!"},
        {u"frmMain/CmdToolsBar_0", u"添加文件", u"Add File"},
        {u"frmMain/CmdToolsBar_1", u"添加文件夹", u"Add Folder"},
        {u"frmMain/CmdToolsBar_5", u"退出程序", u"Exit"},
        {u"frmMain/cmdBrowse", u"浏览", u"Browse"},
        {u"frmMain/lblFeed", u"意见反馈", u"Feedback"},
        {u"frmMain/lblText", u"拖拽文件到这里开始转换", u"Drop files here to convert"},
        {u"frmMain", u"输出格式：", u"Output format:"},
        {u"frmMain", u"声音比特率：", u"Audio bitrate:"},
        {u"frmMain/cmbS", u"原始大小", u"Source size"},
        {u"frmMain/cmbChannel", u"双声道", u"Stereo"},
        {u"frmOptions/Command2", u"返回", u"Cancel"},
        {u"frmSuggest/Command3", u"发送", u"Send"},
    }};
    for (const auto &[control, chinese, english] : rows) {
        const QString name = QString::fromUtf16(control);
        const QString tag = name + u" ("_s + QString::fromUtf16(english) + u')';
        QTest::addRow("%s, Chinese", qPrintable(tag))
            << u"zh"_s << name << QString::fromUtf16(chinese);
        QTest::addRow("%s, English", qPrintable(tag))
            << u"en"_s << name << QString::fromUtf16(english);
    }
}

void TestWindowLanguages::controlsSpeakTheLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, control);
    QFETCH(QString, text);
    useLanguage(language);
    openWindows(language);
    const QString windowName = control.section(u'/', 0, 0);
    QWidget *window = nullptr;
    for (QWidget *candidate : std::initializer_list<QWidget *>{
             m_window.get(), m_optionsDialog.get(), m_feedback.get()}) {
        if (candidate->objectName() == windowName)
            window = candidate;
    }
    QVERIFY(window);
    const QString name = control.section(u'/', 1);
    if (!name.isEmpty()) {
        auto *found = window->findChild<QWidget *>(name);
        QVERIFY(found);
        QCOMPARE(textOf(found), text);
        return;
    }
    QStringList labels;
    for (const QLabel *label : window->findChildren<QLabel *>())
        labels.append(label->text());
    QVERIFY2(labels.contains(text), qPrintable(labels.join(u", "_s)));
}

void TestWindowLanguages::settingsKeepTheWordsOfTheSource_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("shownBitrate");
    QTest::addColumn<QString>("shownMono");
    QTest::newRow("Chinese") << u"zh"_s << u"自动(按质量)"_s << u"单声道"_s;
    QTest::newRow("English") << u"en"_s << u"By quality"_s << u"Mono"_s;
}

void TestWindowLanguages::helpOpensInTheWindowsLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("page");
    QTest::newRow("Chinese") << u"zh"_s << u"index.html"_s;
    QTest::newRow("English") << u"en"_s << u"index_en.html"_s;
}

void TestWindowLanguages::helpOpensInTheWindowsLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, page);
    for (const QString &name : {u"index.html"_s, u"index_en.html"_s})
        m_fixture.write(u"app/help/"_s + name, "<html><body>" + name.toUtf8() + "</body></html>");
    useLanguage(language);
    openWindows(language);
    m_window->imgHelp_Click();
    auto *help = m_window->findChild<HelpWindow *>();
    QVERIFY(help);
    QCOMPARE(help->browser()->toPlainText(), page);
}

// The boxes show the entries in the window's language; the settings a batch
// starts with hold them as command lines and settings files take them.
void TestWindowLanguages::settingsKeepTheWordsOfTheSource()
{
    QFETCH(QString, language);
    QFETCH(QString, shownBitrate);
    QFETCH(QString, shownMono);
    useLanguage(language);
    openWindows(language);
    m_window->findChild<QComboBox *>(u"cmbOF"_s)
        ->setCurrentIndex(OutputFormats::indexOf(OutputFormat::H264Mp4));
    m_window->findChild<QComboBox *>(u"cmbChannel"_s)->setCurrentIndex(0);
    const ConversionSettings settings = m_window->currentSettings();
    QCOMPARE((QStringList{settings.size, settings.videoBitrate, settings.frameRate}),
             (QStringList{ConversionSettings::SourceSize.toString(),
                          ConversionSettings::QualityBitrate.toString(),
                          ConversionSettings::SourceFrameRate.toString()}));
    QCOMPARE(settings.channelIndex, 0);
    QCOMPARE(m_window->findChild<QComboBox *>(u"cmbVB"_s)->currentText(), shownBitrate);
    QCOMPARE(m_window->findChild<QComboBox *>(u"cmbChannel"_s)->currentText(), shownMono);
}

QTEST_MAIN(TestWindowLanguages)
#include "tst_windowlanguages.moc"
