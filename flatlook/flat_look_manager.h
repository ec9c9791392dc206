// The flat look: the standard controls of every dialog of a thread get thin
// one-pixel borders, and the control under the mouse pointer or with the
// keyboard focus gets a full 3-D edge. Nothing is replaced: a thread window
// hook notices dialogs (or child windows) being set up, each recognised
// control is subclassed by a small handler that repaints its border after the
// control has painted itself, and a 100 ms thread timer moves the hot state
// from control to control.
//
// Start-up installs it once for the user-interface thread:
//
//     tarvo::FlatLookManager::Install(-1, tarvo::ATTACH_ON_INITDIALOG);
//
// Link with the static library target `tarvo_flatlook` and include
// "flatlook/flat_look_manager.h". Everything here runs on the thread that
// installed the hook; calls from other threads are not supported.
#pragma once

#include <windows.h>

namespace tarvo {

// Attach modes of FlatLookManager::Install.
// Each child window is attached when it receives WM_CREATE.
inline constexpr int ATTACH_ON_CREATE = 0;
// A dialog's controls are attached when the dialog receives WM_INITDIALOG;
// controls it creates later are attached through its WM_PARENTNOTIFY.
inline constexpr int ATTACH_ON_INITDIALOG = 1;

class FlatLookManager {
public:
    FlatLookManager() = default;
    // Removes every hook and every subclass (run at process exit).
    virtual ~FlatLookManager();
    FlatLookManager(const FlatLookManager&) = delete;
    FlatLookManager& operator=(const FlatLookManager&) = delete;

    // Hooks thread `threadId` (-1: the calling thread) and sets the attach
    // mode. The mode is set on every call; a thread already hooked keeps its
    // one hook. Acts on the process-wide manager, GetFlatLookManager().
    static void Install(int threadId, int mode);
    // Removes the thread's hook (-1: the calling thread), if it has one. When
    // no hooked thread is left, the hot-tracking timer stops. Controls
    // already attached keep their handlers until they are destroyed.
    static void Uninstall(int threadId);

    // The steps the hook and the handlers take; callable directly as well.
    // Attaches one control; `className` may be null (it is then read from the
    // window). 1 when a handler was created and the control subclassed.
    BOOL AttachControl(HWND hwnd, const wchar_t* className);
    // 0 when the control is not attached; else restores its window procedure,
    // deletes its handler and returns 1.
    BOOL DetachControl(HWND hwnd);
    // The WM_INITDIALOG step: attaches the dialog's direct child controls
    // (nested dialogs excepted), subclasses the dialog and repaints every
    // attached child once. Does nothing for a dialog already attached.
    void AttachDialogControls(HWND dialog);
    void AttachDialog(HWND dialog);
    void DetachDialog(HWND dialog);
    // One step of hot tracking (the timer calls it every 100 ms).
    void TrackHotControl();

private:
    friend class FlatLookInspector;
    // The WH_CALLWNDPROC hook of every installed thread.
    static LRESULT CALLBACK CallWndProcHook(int code, WPARAM wParam, LPARAM lParam);

    int m_nMode = ATTACH_ON_CREATE;
    UINT_PTR m_nTimerId = 0;
};

// The single process-wide manager.
FlatLookManager* GetFlatLookManager();

}  // namespace tarvo
