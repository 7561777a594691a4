// The language of a loaded configuration.

#include "app/config_language.h"
#include "app/messages.h"
#include "language_guard.h"

#include <gtest/gtest.h>

namespace tavrel {
namespace {

TEST(FillMissingLanguage, GivesAConfigurationWithoutLanguageTheCodeOfTheIndex) {
    Config config;
    EXPECT_TRUE(fillMissingLanguage(config, 4));
    EXPECT_EQ(config.language, L"es");
    // Once filled it is kept: no second save, and a chosen language is never replaced.
    EXPECT_FALSE(fillMissingLanguage(config, 6));
    EXPECT_EQ(config.language, L"es");
}

TEST(AdoptConfigLanguage, MakesTheConfiguredLanguageCurrent) {
    const test::LanguageGuard guard(0);
    Config config;
    config.language = L"ka";
    adoptConfigLanguage(config);
    EXPECT_EQ(currentLanguage(), 2);
    EXPECT_STREQ(lookup(L"File"), L"ფაილი");
    config.language = L"";
    adoptConfigLanguage(config);
    EXPECT_EQ(currentLanguage(), 0);
}

}  // namespace
}  // namespace tavrel
