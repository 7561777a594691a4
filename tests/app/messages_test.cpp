// Looking texts up in the message table in the current language.

#include "app/languages.h"
#include "app/messages.h"
#include "language_guard.h"
#include "model/validation.h"
#include "sys/files.h"
#include "sys/process.h"

#include <gtest/gtest.h>

#include <latch>
#include <string>
#include <thread>
#include <vector>

namespace tavrel {
namespace {

using test::LanguageGuard;

struct RowCase {
    int language;
    const wchar_t* english;
    const wchar_t* expected;
};

TEST(Lookup, GivesEachLanguageItsOwnTextOfARow) {
    const RowCase cases[] = {
        {0, L"Exit", L"Exit"},
        {1, L"Exit", L"Вихід"},
        {2, L"Exit", L"გასვლა"},
        {3, L"Exit", L"Surt"},
        {4, L"Exit", L"Salir"},
        {5, L"Exit", L"Quitter"},
        {6, L"Exit", L"Beenden"},
        {1, L"Pause hotkeys", L"Призупинити прив’язки"},
        {2, L"Pause hotkeys", L"მალსახმობების შეჩერება"},
        {3, L"Cancel", L"Cancel·la"},
        {4, L"copy", L"copia"},
        {5, L"Ready", L"Prêt"},
        {6, L"File", L"Datei"},
        {1, L"Choose a writable folder.", L"Оберіть папку, доступну для запису."},
        {2, L"Choose a writable folder.", L"აირჩიეთ ჩაწერისთვის ხელმისაწვდომი საქაღალდე."},
        {3, L"Choose a writable folder.", L"Trieu una carpeta amb permís d’escriptura."},
        {4, L"The notification area is unavailable. Use Exit to close the application.",
         L"La bandeja no está disponible. Usa Salir para cerrar."},
        {5, L"The notification area is unavailable. Use Exit to close the application.",
         L"La zone de notification est indisponible. Utilisez Quitter."},
        {6, L"The notification area is unavailable. Use Exit to close the application.",
         L"Der Infobereich ist nicht verfügbar. Wählen Sie Beenden."},
        // The menu bar in German, and the last row of the table.
        {6, L"Actions", L"Aktionen"},
        {6, L"Options", L"Optionen"},
        {6, L"Help", L"Hilfe"},
        {6, L"Could not copy error details.", L"Die Fehlerdetails konnten nicht kopiert werden."},
        // A translation equal to its English text is still that row's entry.
        {5, L"Actions", L"Actions"},
        {5, L"Options", L"Options"},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "language " << c.language);
        const LanguageGuard guard(c.language);
        EXPECT_STREQ(lookup(c.english), c.expected);
        EXPECT_EQ(lookupCopy(c.english), c.expected);
    }
}

TEST(Lookup, HandsBackTheArgumentItselfForATextWithoutARow) {
    const wchar_t* const texts[] = {
        L"Auto Update was canceled before installation.",
        L"exit",     // case matters
        L"Exit ",    // so does a trailing blank
        L"Exi",      // a proper prefix of a row is no row
        L"Exit.",    // nor is a row followed by more
        L"Beenden",  // a translation is no key of its own
        L"",
        L"Tavrel",
    };
    for (int language = 0; language < languageCount; ++language) {
        const LanguageGuard guard(language);
        for (const wchar_t* text : texts) {
            EXPECT_EQ(lookup(text), text) << "language " << language;
            EXPECT_EQ(lookupCopy(text), text);
        }
    }
    EXPECT_EQ(lookup(nullptr), nullptr);
}

TEST(Lookup, FindsARowThroughAnyCopyOfItsText) {
    // Error messages reach the lookup as owned strings, not as the table's literals.
    const std::wstring exit = std::wstring(L"Ex") + L"it";
    const LanguageGuard guard(6);
    EXPECT_STREQ(lookup(exit.c_str()), L"Beenden");
}

TEST(Lookup, FollowsEverySwitchOfTheLanguage) {
    const LanguageGuard guard(6);
    const wchar_t* german = lookup(L"Ready");
    setLanguage(1);
    EXPECT_STREQ(lookup(L"Ready"), L"Готово");
    EXPECT_STREQ(german, L"Bereit");  // earlier results point into the table and stay valid
    EXPECT_EQ(currentLanguage(), 1);
}

TEST(SetLanguage, TakesAnIndexOutOfRangeAsEnglish) {
    const LanguageGuard guard(6);
    for (const int index : {7, -1, 1000}) {
        setLanguage(6);
        setLanguage(index);
        EXPECT_EQ(currentLanguage(), 0) << index;
        EXPECT_STREQ(lookup(L"Exit"), L"Exit");
    }
}

// The validation messages come from the table, and the texts joined around them stay as
// they are: the binding's name and ": ", the quoted name of a conflicting binding.
TEST(Lookup, ValidationMessagesAreShownInTheCurrentLanguage) {
    Config config;
    Binding first;
    first.id = L"a";
    first.name = L"Mail";
    first.onPress.push_back(Action{});
    first.onPress.back().value = L"https://example.org";
    Binding second = first;
    second.id = L"b";
    second.name = L"Post";
    config.bindings = {first, second};

    const LanguageGuard guard(6);
    EXPECT_EQ(validateConfig(config), L"Der Auslöser kollidiert mit \"Mail\".");

    config.bindings[1].onPress.back().value = L"mail";
    config.bindings[1].trigger.code = 0x43;
    EXPECT_EQ(validateConfig(config), L"Post: Geben Sie eine absolute http://- oder https://-URL ein.");

    setLanguage(1);
    config.bindings[1].name = L" ";
    EXPECT_EQ(validateConfig(config), L"Назва не може бути порожньою.");
}

// Every message the program gives so far has a row: in a language whose texts all differ
// from English, none of them comes back unchanged.
TEST(Lookup, EveryMessageOfTheProgramHasARow) {
    const wchar_t* const messages[] = {
        L"Choose a window selection rule.",
        L"Enter an absolute http:// or https:// URL.",
        L"Choose an executable path without quotes.",
        L"Run program requires an .exe file.",
        L"Choose a supported physical key; Ctrl+Alt+Backspace is reserved.",
        L"Choose a target window.",
        L"Invalid mouse button or click count.",
        L"Delay must be 0-600000 ms.",
        L"Enter text (up to 65536 characters).",
        L"Choose a keyboard layout.",
        L"Unknown action type.",
        L"Missing or duplicate binding ID.",
        L"Name must not be empty.",
        L"Invalid trigger (Ctrl+Alt+Backspace is reserved).",
        L"Hold threshold must be 200-3000 ms.",
        L"Add at least one On press or On hold action.",
        L"Trigger conflicts with",
        L"Another instance is starting or exiting. Try again shortly.",
        L"Unexpected startup failure.",
        L"Unexpected application error.",
    };
    for (const int language : {1, 2}) {
        const LanguageGuard guard(language);
        for (const wchar_t* message : messages)
            EXPECT_NE(lookup(message), message) << "no row for: " << testing::PrintToString(std::wstring(message));
    }
}

// The map of rows is built on the first lookup of the process. The test runs itself again
// in a child process, where that first lookup comes from several threads at once.
constexpr const wchar_t* firstUseVariable = L"TAVREL_TEST_FIRST_LOOKUP";

TEST(LookupFirstUse, SeveralThreadsAtOnceAllFindTheirRows) {
    if (GetEnvironmentVariableW(firstUseVariable, nullptr, 0) == 0) {
        ASSERT_TRUE(SetEnvironmentVariableW(firstUseVariable, L"1"));
        const UniqueHandle child = startProcess(
            modulePath().wstring(), L"--gtest_brief=1 --gtest_filter=LookupFirstUse.*", L"", false);
        SetEnvironmentVariableW(firstUseVariable, nullptr);
        ASSERT_EQ(WaitForSingleObject(child.get(), 60000), WAIT_OBJECT_0);
        DWORD code = 1;
        ASSERT_TRUE(GetExitCodeProcess(child.get(), &code));
        EXPECT_EQ(code, 0u) << "the lookups in the child process failed";
        return;
    }

    setLanguage(5);
    constexpr int threadCount = 8;
    std::latch start(threadCount);
    std::vector<int> failures(threadCount, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t) {
        threads.emplace_back([&start, &failures, t] {
            start.arrive_and_wait();
            for (int i = 0; i < 200; ++i) {
                if (std::wstring(lookup(L"Exit")) != L"Quitter") ++failures[t];
                if (std::wstring(lookup(L"Cancel")) != L"Annuler") ++failures[t];
                const wchar_t* unknown = L"No such row";
                if (lookup(unknown) != unknown) ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < threadCount; ++t) EXPECT_EQ(failures[t], 0) << "thread " << t;
    setLanguage(0);
}

}  // namespace
}  // namespace tavrel
