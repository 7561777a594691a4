#include "app/messages.h"

#include "app/message_table.h"

#include <atomic>
#include <cstdint>
#include <cwchar>
#include <map>
#include <string_view>

namespace tavrel {

namespace {

std::atomic<int> language{0};

// Orders by UTF-16 code unit as unsigned 16-bit values, a prefix before the longer text.
struct CodeUnitOrder {
    bool operator()(std::wstring_view a, std::wstring_view b) const {
        const std::size_t common = std::min(a.size(), b.size());
        for (std::size_t i = 0; i < common; ++i) {
            const auto x = static_cast<std::uint16_t>(a[i]);
            const auto y = static_cast<std::uint16_t>(b[i]);
            if (x != y) return x < y;
        }
        return a.size() < b.size();
    }
};

using RowMap = std::map<std::wstring_view, const MessageRow*, CodeUnitOrder>;

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
