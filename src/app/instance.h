#pragma once
// One running instance per user: the per-user mutex and the hand-over of a second start.

#include "sys/handle.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tavrel {

// The bytes of the SID of the user who owns this process's token.
std::vector<BYTE> currentUserSid();

// "Local\Tavrel-" and, for each SID byte, its decimal value and "-".
std::wstring instanceMutexName(const std::vector<BYTE>& sid);

struct InstanceMutex {
    UniqueHandle handle;
    bool alreadyExisted = false;  // another instance of this user runs or is starting
};

// Creates (or opens) the mutex; it is held, not owned, for the life of the process.
InstanceMutex createInstanceMutex(const std::wstring& name);

// Hands this start over to the running instance: looks for its main window up to 50
// times, 100 ms apart, and posts it msgActivateInstance (wParam 1 with safe). Throws
// when no window appears.
void activateRunningInstance(bool safe);

}  // namespace tavrel
