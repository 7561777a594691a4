#pragma once
// Switches the interface language for one test and back to English afterwards.

#include "app/messages.h"

namespace tavrel::test {

class LanguageGuard {
public:
    explicit LanguageGuard(int index) { setLanguage(index); }
    ~LanguageGuard() { setLanguage(0); }
    LanguageGuard(const LanguageGuard&) = delete;
    LanguageGuard& operator=(const LanguageGuard&) = delete;
};

}  // namespace tavrel::test
