#include "app/messages.h"

namespace tavrel {

// The table holds English only for now: every text is its own translation, so the
// lookup hands back its argument. The translated rows replace this body.
const wchar_t* lookup(const wchar_t* text) { return text; }

std::wstring lookupCopy(const wchar_t* text) { return lookup(text); }

}  // namespace tavrel
