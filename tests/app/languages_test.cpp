// The seven interface languages and the default chosen from the keyboard layouts.

#include "app/languages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrel {
namespace {

TEST(Languages, CodesAndOwnNamesInColumnOrder) {
    const wchar_t* const codes[] = {L"en", L"uk", L"ka", L"ca", L"es", L"fr", L"de"};
    const wchar_t* const names[] = {L"English", L"Українська", L"ქართული", L"Català",
                                    L"Español", L"Français", L"Deutsch"};
    for (int i = 0; i < languageCount; ++i) {
        EXPECT_STREQ(languageCode(i), codes[i]);
        EXPECT_STREQ(languageName(i), names[i]);
        EXPECT_EQ(languageIndex(codes[i]), i);
    }
    EXPECT_STREQ(languageCode(7), L"en");
    EXPECT_STREQ(languageName(-1), L"English");
}

TEST(LanguageIndex, IsEnglishForAnyOtherCode) {
    for (const wchar_t* code : {L"EN", L"De", L"", L"d", L"deu", L"de ", L"de-DE", L"zz"})
        EXPECT_EQ(languageIndex(code), 0) << testing::PrintToString(std::wstring(code));
    EXPECT_EQ(languageIndex(nullptr), 0);
}

// Input language identifiers: primary language in the low 10 bits, sublanguage above.
constexpr LANGID englishUs = 0x0409, englishUk = 0x0809, ukrainian = 0x0422, georgian = 0x0437,
                 catalan = 0x0403, spanishModern = 0x0C0A, spanishMexico = 0x080A, french = 0x040C,
                 frenchCanada = 0x0C0C, german = 0x0407, germanSwiss = 0x0807, russian = 0x0419,
                 polish = 0x0415;

struct LayoutCase {
    std::vector<LANGID> layouts;
    int expected;
};

TEST(LanguageForLayouts, FirstOfThePriorityListAmongTheLayoutsWhateverTheirOrder) {
    const LayoutCase cases[] = {
        {{}, 0},
        {{englishUs}, 0},
        {{russian, polish}, 0},
        {{englishUs, ukrainian}, 1},
        {{ukrainian, englishUs}, 1},
        {{georgian, englishUs, russian}, 2},
        {{georgian, ukrainian}, 1},
        {{catalan, spanishModern}, 3},
        {{german, spanishModern}, 4},
        {{spanishMexico}, 4},
        {{frenchCanada, englishUk}, 5},
        {{germanSwiss, french}, 5},
        {{germanSwiss, englishUs}, 6},
        {{russian, german, polish}, 6},
        {{englishUk, russian}, 0},
        // The sublanguage never counts, only the low ten bits.
        {{static_cast<LANGID>(0xFC00 | 0x22)}, 1},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "layouts: " << testing::PrintToString(c.layouts));
        EXPECT_EQ(languageForLayouts(c.layouts), c.expected);
    }
}

TEST(DefaultLanguage, ComesFromTheInstalledLayouts) {
    const std::vector<LANGID> installed = installedLayoutLanguages();
    EXPECT_EQ(installed.size(), static_cast<std::size_t>(GetKeyboardLayoutList(0, nullptr)));
    EXPECT_EQ(defaultLanguage(), languageForLayouts(installed));
}

}  // namespace
}  // namespace tavrel
