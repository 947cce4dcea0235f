#include "engine/AppTranslations.h"
#include "engine/LanguageChoice.h"

#include <QCoreApplication>
#include <QHash>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;
using Language = LanguageChoice::Language;

class TestLanguageChoice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choose_data();
    void choose();
    void environmentLocale_data();
    void environmentLocale();
    void cleanup();
    void chineseNeedsNoTranslations();
    void englishComesFromTheTranslationsFolder();

private:
    // The variables as they were before a test changed them.
    QHash<QByteArray, std::optional<QByteArray>> m_saved;
};

void TestLanguageChoice::choose_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("locale"); // LANG, or what overrides it
    QTest::addColumn<Language>("language");

    QTest::newRow("en_US") << QStringList{} << u"en_US.UTF-8"_s << Language::English;
    QTest::newRow("zh_CN") << QStringList{} << u"zh_CN.UTF-8"_s << Language::Chinese;
    QTest::newRow("zh_TW") << QStringList{} << u"zh_TW.UTF-8"_s << Language::Chinese;
    QTest::newRow("zh_HK in Big5") << QStringList{} << u"zh_HK.BIG5-HKSCS"_s << Language::Chinese;
    QTest::newRow("zh alone") << QStringList{} << u"zh"_s << Language::Chinese;
    QTest::newRow("C.UTF-8") << QStringList{} << u"C.UTF-8"_s << Language::Chinese;
    QTest::newRow("C") << QStringList{} << u"C"_s << Language::Chinese;
    QTest::newRow("POSIX") << QStringList{} << u"POSIX"_s << Language::Chinese;
    QTest::newRow("de_DE") << QStringList{} << u"de_DE.UTF-8"_s << Language::English;
    QTest::newRow("de_DE with a modifier") << QStringList{} << u"de_DE@euro"_s << Language::English;
    QTest::newRow("fr alone") << QStringList{} << u"fr"_s << Language::English;
    QTest::newRow("unset") << QStringList{} << QString() << Language::Chinese;
    QTest::newRow("--lang en over zh_CN")
        << QStringList{u"--lang"_s, u"en"_s} << u"zh_CN.UTF-8"_s << Language::English;
    QTest::newRow("--lang=zh over en_US")
        << QStringList{u"--lang=zh"_s} << u"en_US.UTF-8"_s << Language::Chinese;
    QTest::newRow("--lang en with nothing set")
        << QStringList{u"-f"_s, u"mp3"_s, u"--lang"_s, u"en"_s, u"a.avi"_s} << QString()
        << Language::English;
    QTest::newRow("the last --lang") << QStringList{u"--lang=en"_s, u"--lang"_s, u"zh"_s}
                                     << u"en_US.UTF-8"_s << Language::Chinese;
    QTest::newRow("an unknown --lang leaves the locale")
        << QStringList{u"--lang"_s, u"fr"_s} << u"en_US.UTF-8"_s << Language::English;
    QTest::newRow("--lang without a value")
        << QStringList{u"--lang"_s} << u"zh_CN.UTF-8"_s << Language::Chinese;
    QTest::newRow("a file named --lang after --")
        << QStringList{u"--"_s, u"--lang"_s, u"en"_s} << u"zh_CN.UTF-8"_s << Language::Chinese;
}

void TestLanguageChoice::choose()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, locale);
    QFETCH(Language, language);
    QCOMPARE(LanguageChoice::choose(QStringList{u"zenvora"_s} + arguments, locale), language);
}

void TestLanguageChoice::environmentLocale_data()
{
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<QString>("lcMessages");
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("locale");

    QTest::newRow("LANG alone") << QString() << QString() << u"de_DE.UTF-8"_s << u"de_DE.UTF-8"_s;
    QTest::newRow("LC_MESSAGES over LANG")
        << QString() << u"zh_CN.UTF-8"_s << u"en_US.UTF-8"_s << u"zh_CN.UTF-8"_s;
    QTest::newRow("LC_ALL over both")
        << u"C.UTF-8"_s << u"en_US.UTF-8"_s << u"en_US.UTF-8"_s << u"C.UTF-8"_s;
    QTest::newRow("an empty LC_ALL counts as unset")
        << u""_s << QString() << u"en_US.UTF-8"_s << u"en_US.UTF-8"_s;
    QTest::newRow("none set") << QString() << QString() << QString() << QString();
}

// A null value leaves the variable unset.
void TestLanguageChoice::environmentLocale()
{
    QFETCH(QString, lcAll);
    QFETCH(QString, lcMessages);
    QFETCH(QString, lang);
    QFETCH(QString, locale);
    const std::pair<const char *, QString> variables[] = {
        {"LC_ALL", lcAll}, {"LC_MESSAGES", lcMessages}, {"LANG", lang}};
    for (const auto &[name, value] : variables) {
        if (!m_saved.contains(name))
            m_saved.insert(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name))
                                                                 : std::nullopt);
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toUtf8());
    }
    QCOMPARE(LanguageChoice::environmentLocale(), locale);
}

void TestLanguageChoice::cleanup()
{
    for (auto saved = m_saved.cbegin(); saved != m_saved.cend(); ++saved) {
        if (saved.value())
            qputenv(saved.key().constData(), *saved.value());
        else
            qunsetenv(saved.key().constData());
    }
    m_saved.clear();
}

void TestLanguageChoice::chineseNeedsNoTranslations()
{
    QVERIFY(
        AppTranslations::install(*QCoreApplication::instance(), Language::Chinese, u"/nowhere"_s));
    QVERIFY(
        !AppTranslations::install(*QCoreApplication::instance(), Language::English, u"/nowhere"_s));
    QCOMPARE(QCoreApplication::translate("ProgressText", "转换中"), u"转换中"_s);
}

// The English texts stay installed for the tests that follow.
void TestLanguageChoice::englishComesFromTheTranslationsFolder()
{
    QVERIFY(
        AppTranslations::install(*QCoreApplication::instance(), Language::English,
                                 qEnvironmentVariable("ZENVORA_PROGRAM_DIR") + u"/translations"_s));
    QCOMPARE(QCoreApplication::translate("ProgressText", "转换中"), u"Converting"_s);
}

QTEST_GUILESS_MAIN(TestLanguageChoice)
#include "tst_languagechoice.moc"
