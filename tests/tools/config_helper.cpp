// A helper process for the configuration store's robustness tests.
//   config_helper.exe fuzz FOLDER FIRST COUNT   loads mutated files FIRST..FIRST+COUNT-1 and
//                                               records each index in FOLDER\progress first
//   config_helper.exe save-loop PATH            saves two configurations in turn until killed
// Exit codes: 0 done, 2 a broken rule (the text is in FOLDER\failure), 3 a fault or abort
// inside the XML reader, 4 an input the XML reader loops on, the exception code for any other fault, 64 bad arguments.

#include "../config/mutations.h"
#include "../config/sample_configs.h"
#include "config/config_reader.h"
#include "config/config_store.h"
#include "model/validation.h"
#include "sys/com.h"
#include "sys/error.h"

#include <windows.h>

#include <atomic>
#include <exception>
#include <thread>
#include <filesystem>
#include <string>

namespace {

using namespace tavrel;

// Exit code for a fault inside the XML reader's own code (a defect of the platform's
// reader, told apart from a fault in ours), and the process's exit for any other fault.
constexpr UINT readerFault = 3;

HMODULE moduleOf(DWORD64 address) {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(address), &module);
    return module;
}

// Walks the faulting stack up to the first frame of this program: a fault in the reader,
// or in a runtime function the reader called, passes through a frame of xmllite.dll.
bool cameThroughReader(CONTEXT context) {
    const HMODULE reader = GetModuleHandleW(L"xmllite.dll");
    const HMODULE self = GetModuleHandleW(nullptr);
    for (int depth = 0; depth < 64 && context.Rip != 0; ++depth) {
        const HMODULE module = moduleOf(context.Rip);
        if (module == reader) return reader != nullptr;
        if (module == self) return false;
        DWORD64 imageBase = 0;
        PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
        if (!function) {  // a leaf function: the return address is on top of the stack
            context.Rip = *reinterpret_cast<const DWORD64*>(context.Rsp);
            context.Rsp += 8;
            continue;
        }
        void* handlerData = nullptr;
        DWORD64 establisher = 0;
        RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, function, &context, &handlerData, &establisher,
                         nullptr);
    }
    return false;
}

LONG WINAPI exitOnFault(EXCEPTION_POINTERS* exception) {
    const bool inReader = cameThroughReader(*exception->ContextRecord);
    TerminateProcess(GetCurrentProcess(), inReader ? readerFault : exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Exit code for an input the reader is still stuck on after this long, inside the XML
// reader's own code (a hang elsewhere is left to the test's own time limit).
constexpr UINT readerHang = 4;
constexpr DWORD hangMs = 3000;

std::atomic<unsigned long long> loadsDone{0};

// Watches the main thread: when one load takes too long, looks where it is stuck.
void watch(HANDLE mainThread) {
    for (;;) {
        const unsigned long long before = loadsDone.load();
        Sleep(hangMs);
        if (loadsDone.load() != before) continue;
        SuspendThread(mainThread);
        CONTEXT context{};
        context.ContextFlags = CONTEXT_FULL;
        if (GetThreadContext(mainThread, &context) && cameThroughReader(context))
            TerminateProcess(GetCurrentProcess(), readerHang);
        ResumeThread(mainThread);
    }
}

int fuzz(const std::filesystem::path& folder, unsigned long long first, unsigned long long count) {
    HANDLE mainThread = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &mainThread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    std::thread(watch, mainThread).detach();
    const std::filesystem::path input = folder / L"fuzz.xml";
    saveConfig(folder / L"base.xml", test::richConfig());
    const std::string base = test::readBytes(folder / L"base.xml");
    for (unsigned long long index = first; index < first + count; ++index) {
        test::writeBytes(folder / L"progress", std::to_string(index));
        test::writeBytes(input, test::Mutator(index).mutate(base));
        try {
            const Config config = loadConfig(input);
            ++loadsDone;
            const std::wstring message = validateConfig(config);
            if (!message.empty()) {
                test::writeBytes(folder / L"failure", "input " + std::to_string(index) + " loaded an invalid config");
                return 2;
            }
        } catch (const Error& error) {
            ++loadsDone;
            if (error.message().empty()) {
                test::writeBytes(folder / L"failure", "input " + std::to_string(index) + " failed without a message");
                return 2;
            }
        } catch (const std::exception& other) {
            test::writeBytes(folder / L"failure", "input " + std::to_string(index) + " threw " + other.what());
            return 2;
        }
    }
    return 0;
}

int saveLoop(const std::filesystem::path& path) {
    const Config configs[2] = {test::crashConfig(0), test::crashConfig(1)};
    for (unsigned long long i = 0;; ++i) saveConfig(path, configs[i % 2]);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // A fault ends the process at once, with no debugger or error box to wait for.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(exitOnFault);
    try {
        const tavrel::ComApartment com;
        const std::wstring mode = argc > 1 ? argv[1] : L"";
        if (mode == L"fuzz" && argc == 5) return fuzz(argv[2], std::stoull(argv[3]), std::stoull(argv[4]));
        if (mode == L"save-loop" && argc == 3) return saveLoop(argv[2]);
    } catch (const tavrel::Error&) {
        return 1;
    }
    return 64;
}
