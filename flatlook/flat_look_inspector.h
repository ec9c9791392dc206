// A read-only view of the flat look's state, for tests and diagnostics: which
// handler a window has, its state bits, the hot window, the hooks and the
// hot-tracking timer. Nothing here changes anything.
#pragma once

#include "flat_control.h"

#include <cstddef>
#include <windows.h>

namespace tarvo {

class FlatLookInspector {
public:
    static FlatKind KindOf(HWND hwnd);
    static bool IsDialogAttached(HWND dialog);
    static size_t ControlCount();
    static size_t DialogCount();
    static size_t HookCount();
    static HHOOK HookOf(DWORD threadId);  // null when the thread is not hooked
    static int Mode();
    static UINT_PTR TimerId();            // 0 while no timer runs
    static HWND HotWindow();
    static WORD StateOf(HWND hwnd);       // STATE_* bits; 0 when not attached
    static int HotItemOf(HWND hwnd);      // header, toolbar, tab control; else -1
    // The window procedures that attached controls and dialogs get.
    static WNDPROC ControlProc();
    static WNDPROC DialogProc();
};

}  // namespace tarvo
