#pragma once
// The rows of the message table: an English text and its translations, by language index.

#include "app/languages.h"

#include <array>
#include <span>

namespace tavrel {

using MessageRow = std::array<const wchar_t*, languageCount>;

// Every row, in table order; column 0 is the English text that keys the row.
std::span<const MessageRow> messageRows();

}  // namespace tavrel
