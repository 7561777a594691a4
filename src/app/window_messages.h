#pragma once
// Private window messages. Other threads and processes reach the user-interface thread
// only by posting these; each number has one meaning.

#include <windows.h>

namespace tavrel {

constexpr UINT msgStatusChanged = WM_APP + 1;      // runtime: status or failure text changed
constexpr UINT msgCaptureKey = WM_APP + 2;         // hook thread -> editor: key recorded or capture ended
constexpr UINT msgCapturePoint = WM_APP + 3;       // hook thread -> editor: position picked or capture ended
constexpr UINT msgInputReset = WM_APP + 4;         // desktop switch -> main window -> hook thread
constexpr UINT msgKeyFilter = WM_APP + 5;          // hook thread: keys held while the main window is in front
constexpr UINT msgErrorNotice = WM_APP + 6;        // runtime: show the last failure as a balloon
constexpr UINT msgUpdateReady = WM_APP + 10;       // update thread: a verified update waits
constexpr UINT msgUpdateClose = WM_APP + 11;       // new process -> old main window: close now
constexpr UINT msgTrayCallback = WM_APP + 20;      // shell: notification-area icon events
constexpr UINT msgActivateInstance = WM_APP + 21;  // second start: show the window (wParam 1: pause first)
constexpr UINT msgCardCommand = WM_APP + 40;       // card list: edit, duplicate, delete, toggle a binding
constexpr UINT msgControlFocused = WM_APP + 42;    // icon button -> parent: the button got the focus
constexpr UINT msgActionToggle = WM_APP + 43;      // card list: enable or disable one action
constexpr UINT msgInsertAction = WM_APP + 70;      // editor controls -> binding editor: insert or move
constexpr UINT msgAddAction = WM_APP + 71;         // action library -> binding editor: add an action

}  // namespace tavrel
