#include "app/config_language.h"

#include "app/languages.h"
#include "app/messages.h"

namespace tavrel {

bool fillMissingLanguage(Config& config, int index) {
    if (!config.language.empty()) return false;
    config.language = languageCode(index);
    return true;
}

void adoptConfigLanguage(const Config& config) { setLanguage(languageIndex(config.language.c_str())); }

}  // namespace tavrel
