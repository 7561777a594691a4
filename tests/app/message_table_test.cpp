// The rows of the message table: what every translation must keep from its English text.

#include "app/message_table.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>
#include <vector>

namespace tavrel {
namespace {

std::string show(const std::wstring& text) { return testing::PrintToString(text); }

// The runs of decimal digits in a text, in order: limits such as 65536 or 200-3000.
std::vector<std::wstring> numbers(const std::wstring& text) {
    std::vector<std::wstring> found;
    std::wstring run;
    for (const wchar_t c : text + L' ') {
        if (c >= L'0' && c <= L'9') {
            run += c;
        } else if (!run.empty()) {
            found.push_back(run);
            run.clear();
        }
    }
    return found;
}

TEST(MessageTable, HasOneRowPerEnglishTextWithEveryLanguageFilled) {
    const auto rows = messageRows();
    EXPECT_EQ(rows.size(), 185u);
    std::set<std::wstring> english;
    for (const MessageRow& row : rows) {
        for (const wchar_t* text : row) {
            ASSERT_NE(text, nullptr);
            const std::wstring value(text);
            ASSERT_FALSE(value.empty()) << show(row[0]);
            EXPECT_FALSE(std::iswspace(value.front()) || std::iswspace(value.back())) << show(value);
        }
        EXPECT_TRUE(english.insert(row[0]).second) << "repeated: " << show(row[0]);
    }
}

// Key names, file patterns, URL schemes and numbers appear in a translation exactly as in
// the English text, so that the user can type what the message names.
TEST(MessageTable, TranslationsKeepKeyNamesSchemesAndNumbers) {
    const wchar_t* const verbatim[] = {L"Ctrl+Alt+Backspace", L"Esc", L"http://", L"https://",
                                       L".exe", L"*.exe", L"Tavrel", L"Windows", L"+", L"ID"};
    for (const MessageRow& row : messageRows()) {
        const std::wstring english = row[0];
        for (int language = 1; language < languageCount; ++language) {
            const std::wstring text = row[static_cast<std::size_t>(language)];
            SCOPED_TRACE(show(english) + " in language " + std::to_string(language));
            EXPECT_EQ(numbers(text), numbers(english));
            for (const wchar_t* term : verbatim) {
                if (english.find(term) != std::wstring::npos) {
                    EXPECT_NE(text.find(term), std::wstring::npos) << show(term);
                }
            }
        }
    }
}

// A sentence stays a sentence and a question a question; menu items that open a dialog keep
// their dots; labels that code joins to more text get no full stop of their own.
TEST(MessageTable, TranslationsEndLikeTheirEnglishText) {
    const std::wstring endings[] = {L"...", L"…", L"?", L"."};
    for (const MessageRow& row : messageRows()) {
        const std::wstring english = row[0];
        std::wstring ending;
        for (const std::wstring& candidate : endings)
            if (english.ends_with(candidate)) {
                ending = candidate;
                break;
            }
        for (int language = 1; language < languageCount; ++language) {
            const std::wstring text = row[static_cast<std::size_t>(language)];
            SCOPED_TRACE(show(english) + " in language " + std::to_string(language));
            if (!ending.empty()) {
                EXPECT_TRUE(text.ends_with(ending)) << show(text);
            } else {
                EXPECT_FALSE(text.ends_with(L".") || text.ends_with(L"?") || text.ends_with(L":")) << show(text);
            }
        }
    }
}

// Translations use typographic apostrophes and the language's own quotation marks; the
// straight double quote is kept for names that code inserts.
TEST(MessageTable, TranslationsUseTypographicApostrophesAndQuotes) {
    for (const MessageRow& row : messageRows()) {
        for (int language = 1; language < languageCount; ++language) {
            const std::wstring text = row[static_cast<std::size_t>(language)];
            EXPECT_EQ(text.find(L'\''), std::wstring::npos) << show(text);
            EXPECT_EQ(text.find(L'"'), std::wstring::npos) << show(text);
        }
    }
}

}  // namespace
}  // namespace tavrel
