// Message lookup benchmark: the first lookup (which builds the map of rows) and the cost
// of later lookups of a row, of a long row and of a text without a row.
//   bench_lookup.exe [lookups]

#include "app/messages.h"

#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double nanosecondsPerLookup(const wchar_t* text, long count) {
    const wchar_t* volatile sink = nullptr;
    const auto start = Clock::now();
    for (long i = 0; i < count; ++i) sink = tavrel::lookup(text);
    const auto elapsed = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    (void)sink;
    return elapsed / static_cast<double>(count);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const long count = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 1000000;
    tavrel::setLanguage(6);

    const auto start = Clock::now();
    const wchar_t* first = tavrel::lookup(L"Exit");
    const double firstUs = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    if (std::wstring(first) != L"Beenden") {
        std::fprintf(stderr, "bench_lookup: the table did not answer in German\n");
        return 1;
    }

    std::printf("lookup, first call (builds the map): %.1f us\n", firstUs);
    std::printf("lookup of a short row: %.1f ns\n", nanosecondsPerLookup(L"Exit", count));
    std::printf("lookup of a long row: %.1f ns\n",
                nanosecondsPerLookup(L"Blocking a standalone modifier may also block its use in other "
                                     L"combinations. Save this binding?",
                                     count));
    std::printf("lookup of a text without a row: %.1f ns\n",
                nanosecondsPerLookup(L"Auto Update was canceled before installation.", count));
    return 0;
}
