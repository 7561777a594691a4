#pragma once
// The seven interface languages and the choice of one from the installed keyboard layouts.

#include <windows.h>

#include <span>
#include <vector>

namespace tavrel {

// Index order is the column order of the message table.
inline constexpr int languageCount = 7;

// "en", "uk", "ka", "ca", "es", "fr", "de"; English for an index out of range.
const wchar_t* languageCode(int index);

// The language's own name ("English", "Deutsch"...), never translated.
const wchar_t* languageName(int index);

// The index of the language with exactly this code (case-sensitive); 0 when none has it.
int languageIndex(const wchar_t* code);

// The language for a set of installed input language identifiers: the first of Ukrainian,
// Georgian, Catalan, Spanish, French, German and English that occurs among them, whatever
// their order; English when none does.
int languageForLayouts(std::span<const LANGID> layouts);

// The language identifiers of the installed input locales; empty when none can be read.
std::vector<LANGID> installedLayoutLanguages();

// languageForLayouts of the installed input locales.
int defaultLanguage();

}  // namespace tavrel
