#pragma once
// The message table: every user-visible English text is looked up here when it is shown.

#include <string>

namespace tavrel {

// The text of the current language for an English text that has a row; the argument
// itself otherwise. Never null for a non-null argument. Safe on any thread.
const wchar_t* lookup(const wchar_t* text);

// The same, as an owned copy.
std::wstring lookupCopy(const wchar_t* text);

// The language of every later lookup, by index (see languages.h); out of range means English.
void setLanguage(int index);
int currentLanguage();

}  // namespace tavrel
