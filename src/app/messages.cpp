#include "app/messages.h"

#include "app/message_table.h"

#include <atomic>
#include <cwchar>
#include <map>
#include <string_view>
#include <type_traits>

namespace tavrel {

namespace {

std::atomic<int> language{0};

// Keys order by UTF-16 code unit as unsigned 16-bit values, a prefix before the longer
// text: exactly wstring_view's own order where wchar_t is an unsigned 16-bit type.
static_assert(sizeof(wchar_t) == 2 && std::is_unsigned_v<wchar_t>);

using RowMap = std::map<std::wstring_view, const MessageRow*, std::less<>>;

// Built on first use; the initialisation of a local static is safe against concurrent
// first calls, and the map is only read afterwards.
const RowMap& rowsByEnglish() {
    static const RowMap map = [] {
        RowMap rows;
        for (const MessageRow& row : messageRows()) rows.emplace(row[0], &row);  // the first of equal keys stays
        return rows;
    }();
    return map;
}

}  // namespace

const wchar_t* lookup(const wchar_t* text) {
    if (!text) return text;
    const RowMap& rows = rowsByEnglish();
    const auto found = rows.find(std::wstring_view(text, std::wcslen(text)));
    if (found == rows.end()) return text;
    return (*found->second)[static_cast<std::size_t>(currentLanguage())];
}

std::wstring lookupCopy(const wchar_t* text) {
    const wchar_t* found = lookup(text);
    return found ? std::wstring(found) : std::wstring();
}

void setLanguage(int index) { language.exchange(index >= 0 && index < languageCount ? index : 0); }

int currentLanguage() { return language.load(); }

}  // namespace tavrel
