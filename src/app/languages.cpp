#include "app/languages.h"

#include <algorithm>
#include <cwchar>

namespace tavrel {

namespace {

struct Language {
    const wchar_t* code;
    const wchar_t* name;
    WORD primaryId;  // PRIMARYLANGID of the layouts that ask for this language
};

constexpr Language languages[languageCount] = {
    {L"en", L"English", LANG_ENGLISH},
    {L"uk", L"Українська", LANG_UKRAINIAN},
    {L"ka", L"ქართული", LANG_GEORGIAN},
    {L"ca", L"Català", LANG_CATALAN},
    {L"es", L"Español", LANG_SPANISH},
    {L"fr", L"Français", LANG_FRENCH},
    {L"de", L"Deutsch", LANG_GERMAN},
};

// English comes last: a user who also has a layout of another supported language most
// likely added it on purpose, next to the English layout that many systems carry anyway.
constexpr int priority[] = {1, 2, 3, 4, 5, 6, 0};

const Language& language(int index) { return languages[index >= 0 && index < languageCount ? index : 0]; }

}  // namespace

const wchar_t* languageCode(int index) { return language(index).code; }

const wchar_t* languageName(int index) { return language(index).name; }

int languageIndex(const wchar_t* code) {
    if (!code) return 0;
    for (int i = 0; i < languageCount; ++i)
        if (std::wcscmp(languages[i].code, code) == 0) return i;
    return 0;
}

int languageForLayouts(std::span<const LANGID> layouts) {
    for (const int index : priority) {
        const bool installed = std::any_of(layouts.begin(), layouts.end(), [index](LANGID id) {
            return PRIMARYLANGID(id) == languages[index].primaryId;
        });
        if (installed) return index;
    }
    return 0;
}

std::vector<LANGID> installedLayoutLanguages() {
    const int count = GetKeyboardLayoutList(0, nullptr);
    if (count <= 0) return {};
    std::vector<HKL> layouts(static_cast<std::size_t>(count));
    // The list can shrink between the two calls; only the handles written count.
    const int written = GetKeyboardLayoutList(count, layouts.data());
    layouts.resize(static_cast<std::size_t>(std::clamp(written, 0, count)));
    std::vector<LANGID> languagesOfLayouts;
    languagesOfLayouts.reserve(layouts.size());
    for (const HKL layout : layouts)
        languagesOfLayouts.push_back(LOWORD(reinterpret_cast<ULONG_PTR>(layout)));
    return languagesOfLayouts;
}

int defaultLanguage() {
    const std::vector<LANGID> layouts = installedLayoutLanguages();
    return languageForLayouts(layouts);
}

}  // namespace tavrel
