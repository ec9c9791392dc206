// Installing the hook, attaching in both modes, controls created later,
// nested dialogs, and what destroying a control undoes.
#include "ui_support.h"

#include "flatlook/flat_look_inspector.h"
#include "flatlook/flat_look_manager.h"

#include <commctrl.h>

namespace flattest {
namespace {

using tarvo::FlatKind;
using tarvo::FlatLookInspector;
using tarvo::FlatLookManager;

constexpr int ID_EDIT = 1;
constexpr int ID_BUTTON = 2;
constexpr int ID_LIST = 3;

DialogTemplate SmallTemplate(DWORD style = WS_POPUP | WS_CAPTION)
{
    DialogTemplate t(style, 0, 0, 160, 80, L"Small");
    t.Add(L"Edit", nullptr, ID_EDIT, WS_TABSTOP, WS_EX_CLIENTEDGE, 7, 7, 80, 12)
        .Add(L"Button", L"OK", ID_BUTTON, BS_PUSHBUTTON | WS_TABSTOP, 0, 90, 7, 50, 14)
        .Add(L"ListBox", nullptr, ID_LIST, WS_VSCROLL, WS_EX_CLIENTEDGE, 7, 25, 80, 40);
    return t;
}

// Restores the process-wide mode the other tests expect, however a test ends.
struct RestoreInitDialogMode {
    ~RestoreInitDialogMode() { FlatLookManager::Install(-1, tarvo::ATTACH_ON_INITDIALOG); }
};

TEST(Install, TwiceOnOneThreadKeepsOneHookAndSetsTheMode)
{
    RestoreInitDialogMode restore;
    const DWORD thread = GetCurrentThreadId();
    const HHOOK hook = FlatLookInspector::HookOf(thread);
    ASSERT_NE(nullptr, hook);
    ASSERT_EQ(1u, FlatLookInspector::HookCount());

    FlatLookManager::Install(-1, tarvo::ATTACH_ON_CREATE);
    EXPECT_EQ(tarvo::ATTACH_ON_CREATE, FlatLookInspector::Mode());
    FlatLookManager::Install(static_cast<int>(thread), tarvo::ATTACH_ON_INITDIALOG);
    EXPECT_EQ(tarvo::ATTACH_ON_INITDIALOG, FlatLookInspector::Mode());
    EXPECT_EQ(1u, FlatLookInspector::HookCount());
    EXPECT_EQ(hook, FlatLookInspector::HookOf(thread));
}

TEST(Install, UninstallStopsAttachingAndTheTimer)
{
    RestoreInitDialogMode restore;
    {
        TestDialog before(SmallTemplate());
        ASSERT_EQ(FlatKind::Edit, FlatLookInspector::KindOf(before.Item(ID_EDIT)));
        ASSERT_NE(0u, FlatLookInspector::TimerId());

        FlatLookManager::Uninstall(-1);
        EXPECT_EQ(0u, FlatLookInspector::HookCount());
        EXPECT_EQ(0u, FlatLookInspector::TimerId());
        FlatLookManager::Uninstall(-1);  // nothing left to remove
        EXPECT_EQ(0u, FlatLookInspector::HookCount());

        TestDialog after(SmallTemplate());
        EXPECT_FALSE(FlatLookInspector::IsDialogAttached(after.hwnd()));
        EXPECT_EQ(FlatKind::None, FlatLookInspector::KindOf(after.Item(ID_EDIT)));
        // Controls attached before keep their handlers.
        EXPECT_EQ(FlatKind::Edit, FlatLookInspector::KindOf(before.Item(ID_EDIT)));
    }
    EXPECT_EQ(0u, FlatLookInspector::ControlCount());
    FlatLookManager::Install(-1, tarvo::ATTACH_ON_INITDIALOG);
    TestDialog again(SmallTemplate());
    EXPECT_EQ(FlatKind::Edit, FlatLookInspector::KindOf(again.Item(ID_EDIT)));
    EXPECT_NE(0u, FlatLookInspector::TimerId());
}

TEST(Install, CreateModeAttachesEachChildAtItsCreation)
{
    RestoreInitDialogMode restore;
    FlatLookManager::Install(-1, tarvo::ATTACH_ON_CREATE);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const HWND parent = CreateWindowExW(0, L"Static", L"parent", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                        instance, nullptr);
    ASSERT_NE(nullptr, parent);
    const HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD, 0, 0, 80, 20, parent,
                                      nullptr, instance, nullptr);
    const HWND button = CreateWindowExW(0, L"Button", L"OK", WS_CHILD | BS_PUSHBUTTON, 0, 30, 80, 20, parent,
                                        nullptr, instance, nullptr);
    const HWND scrollBar = CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | SBS_HORZ, 0, 60, 80, 16, parent,
                                           nullptr, instance, nullptr);
    const HWND topLevelEdit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_POPUP, 0, 0, 80, 20, nullptr,
                                              nullptr, instance, nullptr);
    EXPECT_EQ(FlatKind::Edit, FlatLookInspector::KindOf(edit));
    EXPECT_EQ(FlatKind::PushButton, FlatLookInspector::KindOf(button));
    // Scroll bars are left out in this mode; top-level windows are no controls.
    EXPECT_EQ(FlatKind::None, FlatLookInspector::KindOf(scrollBar));
    EXPECT_EQ(FlatKind::None, FlatLookInspector::KindOf(topLevelEdit));

    // A dialog's controls come through their WM_CREATE; the dialog itself is
    // not subclassed in this mode.
    {
        TestDialog dialog(SmallTemplate());
        EXPECT_EQ(FlatKind::Edit, FlatLookInspector::KindOf(dialog.Item(ID_EDIT)));
        EXPECT_EQ(FlatKind::Control, FlatLookInspector::KindOf(dialog.Item(ID_LIST)));
        EXPECT_FALSE(FlatLookInspector::IsDialogAttached(dialog.hwnd()));
    }
    DestroyWindow(topLevelEdit);
    DestroyWindow(parent);
    EXPECT_EQ(0u, FlatLookInspector::ControlCount());
}

TEST(Attach, ControlsCreatedLaterThroughParentNotify)
{
    TestDialog dialog(SmallTemplate());
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const HWND later = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE, 10, 100, 80, 20,
                                       dialog.hwnd(), nullptr, instance, nullptr);
    const HWND silent = CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_NOPARENTNOTIFY, L"Edit", L"",
                                        WS_CHILD | WS_VISIBLE, 100, 100, 80, 20, dialog.hwnd(), nullptr, instance,
                                        nullptr);
    EXPECT_EQ(FlatKind::Edit, FlatLookInspector::KindOf(later));
    EXPECT_EQ(FlatKind::None, FlatLookInspector::KindOf(silent));
}

INT_PTR CALLBACK InnerDialogProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

// A dialog that creates a nested child dialog (with its own controls) while
// it is being initialised.
INT_PTR CALLBACK NestingDialogProc(HWND dialog, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg != WM_INITDIALOG) return FALSE;
    const auto* inner = reinterpret_cast<const DialogTemplate*>(lParam);
    const HWND child = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), inner->Get(), dialog,
                                                  InnerDialogProc, 0);
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(child));
    return TRUE;
}

TEST(Attach, NestedDialogsAttachTheirOwnControls)
{
    const DialogTemplate inner = SmallTemplate(WS_CHILD | WS_VISIBLE | DS_CONTROL);
    TestDialog outer(SmallTemplate(), 20, 20, NestingDialogProc, reinterpret_cast<LPARAM>(&inner));
    const HWND child = reinterpret_cast<HWND>(GetWindowLongPtrW(outer.hwnd(), DWLP_USER));
    ASSERT_NE(nullptr, child);
    EXPECT_TRUE(FlatLookInspector::IsDialogAttached(outer.hwnd()));
    EXPECT_TRUE(FlatLookInspector::IsDialogAttached(child));
    EXPECT_EQ(FlatKind::None, FlatLookInspector::KindOf(child));
    EXPECT_EQ(FlatKind::Edit, FlatLookInspector::KindOf(GetDlgItem(child, ID_EDIT)));
    EXPECT_EQ(FlatKind::PushButton, FlatLookInspector::KindOf(GetDlgItem(child, ID_BUTTON)));
    EXPECT_EQ(FlatKind::Edit, FlatLookInspector::KindOf(outer.Item(ID_EDIT)));
}

// Records the window procedure a window has once it has handled WM_NCDESTROY.
HWND g_watched = nullptr;
WNDPROC g_procAfterNcDestroy = nullptr;

LRESULT CALLBACK AfterCallHook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == g_watched && call->message == WM_NCDESTROY)
        g_procAfterNcDestroy = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(call->hwnd, GWLP_WNDPROC));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(LifeCycle, DestroyRestoresTheProcedureAndTheTimerFollowsTheControls)
{
    ASSERT_EQ(0u, FlatLookInspector::ControlCount());
    ASSERT_EQ(0u, FlatLookInspector::TimerId());
    tarvo::FlatLookManager& manager = *tarvo::GetFlatLookManager();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 600, 500, 200, 100, nullptr,
                                        nullptr, instance, nullptr);
    const HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 24,
                                      parent, nullptr, instance, nullptr);
    const auto ownProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC));

    ASSERT_TRUE(manager.AttachControl(edit, nullptr));
    EXPECT_FALSE(manager.AttachControl(edit, nullptr));  // already attached
    EXPECT_EQ(FlatLookInspector::ControlProc(), reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC)));
    EXPECT_NE(0u, FlatLookInspector::TimerId());

    // Detaching directly restores the procedure.
    EXPECT_TRUE(manager.DetachControl(edit));
    EXPECT_FALSE(manager.DetachControl(edit));
    EXPECT_EQ(ownProc, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC)));
    EXPECT_EQ(0u, FlatLookInspector::TimerId());

    // Destroying the control detaches it at WM_NCDESTROY.
    ASSERT_TRUE(manager.AttachControl(edit, L"Edit"));
    const UINT_PTR firstTimer = FlatLookInspector::TimerId();
    EXPECT_NE(0u, firstTimer);
    g_watched = edit;
    const HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterCallHook, nullptr, GetCurrentThreadId());
    DestroyWindow(edit);
    UnhookWindowsHookEx(hook);
    g_watched = nullptr;
    EXPECT_EQ(ownProc, g_procAfterNcDestroy);
    EXPECT_EQ(0u, FlatLookInspector::ControlCount());
    EXPECT_EQ(0u, FlatLookInspector::TimerId());

    // The next attachment starts a new timer, and hot tracking runs again.
    const HWND next = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 30, 100, 24,
                                      parent, nullptr, instance, nullptr);
    ASSERT_TRUE(manager.AttachControl(next, nullptr));
    EXPECT_NE(0u, FlatLookInspector::TimerId());
    EXPECT_TRUE(HoverOver(next));
    DestroyWindow(parent);
    EXPECT_EQ(0u, FlatLookInspector::ControlCount());
    EXPECT_EQ(0u, FlatLookInspector::TimerId());
}

TEST(LifeCycle, ClosingADialogDetachesItAndItsControls)
{
    const size_t dialogs = FlatLookInspector::DialogCount();
    {
        TestDialog dialog(SmallTemplate());
        EXPECT_EQ(dialogs + 1, FlatLookInspector::DialogCount());
        EXPECT_EQ(3u, FlatLookInspector::ControlCount());
    }
    EXPECT_EQ(dialogs, FlatLookInspector::DialogCount());
    EXPECT_EQ(0u, FlatLookInspector::ControlCount());
    EXPECT_EQ(0u, FlatLookInspector::TimerId());
}

}  // namespace
}  // namespace flattest
