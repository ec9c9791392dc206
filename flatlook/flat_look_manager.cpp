// The manager: the thread hook, the three tables, attaching and detaching,
// and hot tracking.
#include "flat_look_manager.h"

#include "flat_control.h"
#include "flat_look_inspector.h"

#include <commctrl.h>

#include <new>
#include <unordered_map>
#include <wchar.h>

namespace tarvo {
namespace {

constexpr int kClassNameLength = 64;
constexpr UINT kHotTrackingMs = 100;

// The tables are defined before the manager, so they are constructed before
// it and destroyed after it: its destructor still finds them.
std::unordered_map<HWND, FlatControl*> g_controls;   // control -> its handler
std::unordered_map<HWND, FlatDialog*> g_dialogs;     // dialog -> its handler
std::unordered_map<DWORD, HHOOK> g_threads;          // thread id -> its hook
HWND g_hotWindow = nullptr;  // the control whose STATE_HOT the timer set
FlatLookManager g_manager;

LRESULT CALLBACK ControlSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const auto it = g_controls.find(hwnd);
    if (it == g_controls.end()) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return it->second->WindowProc(msg, wParam, lParam);
}

LRESULT CALLBACK DialogSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const auto it = g_dialogs.find(hwnd);
    if (it == g_dialogs.end()) return DefWindowProcW(hwnd, msg, wParam, lParam);
    return it->second->WindowProc(msg, wParam, lParam);
}

VOID CALLBACK HotTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    g_manager.TrackHotControl();
}

DWORD ThreadFromSelector(int threadId)
{
    return threadId == -1 ? GetCurrentThreadId() : static_cast<DWORD>(threadId);
}

// Removes one thread's hook; with no hooked thread left the timer stops.
void UninstallThread(DWORD thread, UINT_PTR& timerId)
{
    const auto it = g_threads.find(thread);
    if (it == g_threads.end()) return;
    UnhookWindowsHookEx(it->second);
    g_threads.erase(it);
    if (timerId && g_threads.empty()) {
        KillTimer(nullptr, timerId);
        timerId = 0;  // so that a later attachment starts a new timer
    }
}

bool SameName(const wchar_t* a, const wchar_t* b)
{
    return _wcsicmp(a, b) == 0;
}

// Calls `fn` for each child of `parent` (GetTopWindow, then GW_HWNDNEXT).
template <typename Fn>
void ForEachChild(HWND parent, Fn fn)
{
    for (HWND child = GetTopWindow(parent); child; child = GetWindow(child, GW_HWNDNEXT))
        fn(child);
}

// The handler kind a control gets from its class name and styles, after
// attaching the children that stand in for it or come before it.
FlatControl* NewHandlerFor(FlatLookManager& manager, HWND hwnd, const wchar_t* name)
{
    const LONG_PTR style = StyleOf(hwnd);
    const bool clientEdge = (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
    auto attachFirstChild = [&] { manager.AttachControl(GetTopWindow(hwnd), nullptr); };
    auto attachEachChild = [&] {
        ForEachChild(hwnd, [&](HWND child) { manager.AttachControl(child, nullptr); });
    };

    if (SameName(name, L"Button")) {
        // Owner-draw buttons, group boxes and flat buttons stay as they are.
        if ((style & 0xB) == 0xB || (style & 7) == 7 || (style & BS_FLAT)) return nullptr;
        if ((style & 3) == 3 || (style & 2) || (style & 5) == 5) return new (std::nothrow) FlatCheckBox;
        if ((style & 9) == 9 || (style & 4)) return new (std::nothrow) FlatRadioButton;
        return new (std::nothrow) FlatPushButton;
    }
    if (SameName(name, L"ComboBox")) {
        if ((style & 3) == CBS_SIMPLE) {
            attachEachChild();
            return nullptr;
        }
        return new (std::nothrow) FlatComboBox;
    }
    if (SameName(name, L"Edit")) {
        const HWND parent = GetParent(hwnd);
        if (parent && HasClassName(parent, L"ComboBox") && (StyleOf(parent) & 3) == CBS_SIMPLE)
            return new (std::nothrow) FlatComboEdit;
        return clientEdge ? new (std::nothrow) FlatEdit : nullptr;
    }
    if (SameName(name, L"ListBox")) return clientEdge ? new (std::nothrow) FlatControl : nullptr;
    if (SameName(name, L"SysListView32")) {
        if (!clientEdge) return nullptr;
        attachFirstChild();
        return new (std::nothrow) FlatControl;
    }
    if (SameName(name, L"SHELLDLL_DefView")) {
        attachFirstChild();
        return nullptr;
    }
    if (SameName(name, L"SysTreeView32")) return clientEdge ? new (std::nothrow) FlatControl : nullptr;
    if (SameName(name, L"SysDateTimePick32")) {
        if (!clientEdge) return nullptr;
        if (style & DTS_UPDOWN) attachFirstChild();
        return new (std::nothrow) FlatDateTime;
    }
    if (SameName(name, L"SysMonthCal32")) return new (std::nothrow) FlatControl;
    if (SameName(name, L"msctls_updown32")) return new (std::nothrow) FlatSpin;
    if (SameName(name, L"ComboLBox")) return clientEdge ? new (std::nothrow) FlatControl : nullptr;
    if (SameName(name, L"ScrollBar"))
        return (style & (SBS_SIZEBOX | SBS_SIZEGRIP)) == 0 ? new (std::nothrow) FlatScrollBar : nullptr;
    if (SameName(name, L"ComboBoxEx32")) {
        attachFirstChild();
        return nullptr;
    }
    if (SameName(name, L"msctls_hotkey32")) return clientEdge ? new (std::nothrow) FlatControl : nullptr;
    if (SameName(name, L"SysIPAddress32")) return clientEdge ? new (std::nothrow) FlatIPAddress : nullptr;
    if (SameName(name, L"msctls_trackbar32")) return new (std::nothrow) FlatTrackBar;
    if (SameName(name, L"RichEdit") || SameName(name, L"RichEdit20W"))
        return clientEdge ? new (std::nothrow) FlatControl : nullptr;
    if (SameName(name, L"SysHeader32"))
        return (style & HDS_BUTTONS) ? new (std::nothrow) FlatHeader : nullptr;
    if (SameName(name, L"ToolbarWindow32")) {
        if (style & TBSTYLE_FLAT) return nullptr;
        attachEachChild();
        return new (std::nothrow) FlatToolBar;
    }
    if (SameName(name, L"SysTabControl32")) {
        if (GetTopWindow(hwnd)) attachFirstChild();
        return new (std::nothrow) FlatTabCtrl;
    }
    return nullptr;
}

// Clears the hot state of the current hot window, if it is still attached.
void ClearHotWindow()
{
    const auto it = g_controls.find(g_hotWindow);
    if (it == g_controls.end()) return;
    it->second->m_nState &= ~STATE_HOT;
    it->second->RedrawFrame();
    g_hotWindow = nullptr;
}

}  // namespace

FlatLookManager* GetFlatLookManager()
{
    return &g_manager;
}

FlatControl* FindFlatControl(HWND hwnd)
{
    const auto it = g_controls.find(hwnd);
    return it == g_controls.end() ? nullptr : it->second;
}

HWND FlatHotWindow()
{
    return g_hotWindow;
}

bool HasClassName(HWND hwnd, const wchar_t* name)
{
    wchar_t buffer[kClassNameLength] = {};
    GetClassNameW(hwnd, buffer, kClassNameLength);
    return SameName(buffer, name);
}

FlatLookManager::~FlatLookManager()
{
    while (!g_threads.empty()) UninstallThread(g_threads.begin()->first, m_nTimerId);
    for (auto& [hwnd, handler] : g_controls) {
        handler->Unsubclass();
        delete handler;
    }
    g_controls.clear();
    for (auto& [hwnd, handler] : g_dialogs) {
        handler->Unsubclass();
        delete handler;
    }
    g_dialogs.clear();
}

void FlatLookManager::Install(int threadId, int mode)
{
    g_manager.m_nMode = mode;
    const DWORD thread = ThreadFromSelector(threadId);
    if (g_threads.count(thread)) return;
    // A failed hook is not detected: whatever comes back is stored.
    g_threads[thread] = SetWindowsHookExW(WH_CALLWNDPROC, CallWndProcHook, nullptr, thread);
}

void FlatLookManager::Uninstall(int threadId)
{
    UninstallThread(ThreadFromSelector(threadId), g_manager.m_nTimerId);
}

BOOL FlatLookManager::AttachControl(HWND hwnd, const wchar_t* className)
{
    if (!hwnd || g_controls.count(hwnd)) return 0;
    wchar_t name[kClassNameLength] = {};
    if (className)
        wcsncpy(name, className, kClassNameLength - 1);
    else
        GetClassNameW(hwnd, name, kClassNameLength);

    FlatControl* handler = NewHandlerFor(*this, hwnd, name);
    if (!handler) return 0;
    handler->Subclass(hwnd, ControlSubclassProc);
    g_controls[hwnd] = handler;
    if (m_nTimerId == 0) m_nTimerId = SetTimer(nullptr, 0, kHotTrackingMs, HotTimerProc);
    return 1;
}

BOOL FlatLookManager::DetachControl(HWND hwnd)
{
    const auto it = g_controls.find(hwnd);
    if (it == g_controls.end()) return 0;
    FlatControl* handler = it->second;
    handler->Unsubclass();
    g_controls.erase(it);
    delete handler;
    if (g_controls.empty()) {
        KillTimer(nullptr, m_nTimerId);
        m_nTimerId = 0;
    }
    return 1;
}

void FlatLookManager::AttachDialogControls(HWND dialog)
{
    if (g_dialogs.count(dialog)) return;
    ForEachChild(dialog, [&](HWND child) {
        // Nested dialogs get their own WM_INITDIALOG.
        if ((StyleOf(child) & WS_CHILD) && !HasClassName(child, L"#32770")) AttachControl(child, nullptr);
    });
    AttachDialog(dialog);
    ForEachChild(dialog, [](HWND child) {
        if (FlatControl* handler = FindFlatControl(child)) handler->RedrawFrame();
    });
}

void FlatLookManager::AttachDialog(HWND dialog)
{
    // A dialog already attached keeps its handler: a second one would take
    // DialogSubclassProc as the procedure to pass messages on to.
    if (!dialog || g_dialogs.count(dialog)) return;
    auto* handler = new (std::nothrow) FlatDialog;
    if (!handler) return;
    handler->Subclass(dialog, DialogSubclassProc);
    g_dialogs[dialog] = handler;
}

void FlatLookManager::DetachDialog(HWND dialog)
{
    const auto it = g_dialogs.find(dialog);
    if (it == g_dialogs.end()) return;
    FlatDialog* handler = it->second;
    handler->Unsubclass();
    g_dialogs.erase(it);
    delete handler;
}

void FlatLookManager::TrackHotControl()
{
    if (g_controls.empty() || GetCapture()) return;
    POINT point{};
    GetCursorPos(&point);
    HWND window = WindowFromPoint(point);
    FlatControl* handler = FindFlatControl(window);
    if (!handler && window) {
        // An untracked child (the edit of a drop-down combo box) makes its
        // parent control hot.
        window = GetParent(window);
        handler = FindFlatControl(window);
    }
    if (!handler) {
        ClearHotWindow();
        return;
    }
    if (!handler->HotChanged(&point)) return;
    ClearHotWindow();
    handler->m_nState |= STATE_HOT;
    handler->RedrawFrame();
    g_hotWindow = window;
}

LRESULT FlatDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PARENTNOTIFY:
        // A control created after the dialog was set up.
        if (LOWORD(wParam) == WM_CREATE) g_manager.AttachControl(reinterpret_cast<HWND>(lParam), nullptr);
        return PassOn(msg, wParam, lParam);
    case WM_NCDESTROY: {
        const HWND hwnd = m_hWnd;
        PassOn(msg, wParam, lParam);
        g_manager.DetachDialog(hwnd);
        return 0;
    }
    default:
        return PassOn(msg, wParam, lParam);
    }
}

LRESULT CALLBACK FlatLookManager::CallWndProcHook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto it = g_threads.find(GetCurrentThreadId());
    if (it == g_threads.end()) return 0;
    const HHOOK hook = it->second;
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (g_manager.m_nMode == ATTACH_ON_INITDIALOG) {
            if (call->message == WM_INITDIALOG) g_manager.AttachDialogControls(call->hwnd);
        } else if (call->message == WM_CREATE && (StyleOf(call->hwnd) & WS_CHILD)) {
            wchar_t name[kClassNameLength] = {};
            GetClassNameW(call->hwnd, name, kClassNameLength);
            // Exact, case-sensitive: the window's own scroll bars stay as they are.
            if (wcscmp(name, L"ScrollBar") != 0) g_manager.AttachControl(call->hwnd, nullptr);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

// ---- Inspection -----------------------------------------------------------

FlatKind FlatLookInspector::KindOf(HWND hwnd)
{
    const FlatControl* handler = FindFlatControl(hwnd);
    return handler ? handler->Kind() : FlatKind::None;
}

bool FlatLookInspector::IsDialogAttached(HWND dialog)
{
    return g_dialogs.count(dialog) != 0;
}

size_t FlatLookInspector::ControlCount()
{
    return g_controls.size();
}

size_t FlatLookInspector::DialogCount()
{
    return g_dialogs.size();
}

size_t FlatLookInspector::HookCount()
{
    return g_threads.size();
}

HHOOK FlatLookInspector::HookOf(DWORD threadId)
{
    const auto it = g_threads.find(threadId);
    return it == g_threads.end() ? nullptr : it->second;
}

int FlatLookInspector::Mode()
{
    return g_manager.m_nMode;
}

UINT_PTR FlatLookInspector::TimerId()
{
    return g_manager.m_nTimerId;
}

HWND FlatLookInspector::HotWindow()
{
    return g_hotWindow;
}

WORD FlatLookInspector::StateOf(HWND hwnd)
{
    const FlatControl* handler = FindFlatControl(hwnd);
    return handler ? handler->m_nState : 0;
}

int FlatLookInspector::HotItemOf(HWND hwnd)
{
    const FlatControl* handler = FindFlatControl(hwnd);
    return handler ? handler->HotItem() : -1;
}

WNDPROC FlatLookInspector::ControlProc()
{
    return ControlSubclassProc;
}

WNDPROC FlatLookInspector::DialogProc()
{
    return DialogSubclassProc;
}

}  // namespace tarvo
