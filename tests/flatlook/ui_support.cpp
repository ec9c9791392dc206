#include "ui_support.h"

#include "flatlook/flat_look_inspector.h"
#include "flatlook/flat_look_manager.h"

#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>

namespace flattest {
namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG ? TRUE : FALSE;
}

// Common controls, the test palette and the flat look for the test thread.
class FlatLookEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES | ICC_DATE_CLASSES |
                                                    ICC_INTERNET_CLASSES | ICC_USEREX_CLASSES |
                                                    ICC_HOTKEY_CLASS};
        InitCommonControlsEx(&init);
        LoadLibraryW(L"riched20.dll");
        palette_ = std::make_unique<ScopedPalette>();
        tarvo::FlatLookManager::Install(-1, tarvo::ATTACH_ON_INITDIALOG);
    }

    void TearDown() override { palette_.reset(); }

private:
    std::unique_ptr<ScopedPalette> palette_;
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new FlatLookEnvironment);

COLORREF ReadPixel(HWND hwnd, HDC dc, int x, int y)
{
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return colour;
}

::testing::AssertionResult PixelIs(const char* where, COLORREF actual, int x, int y, int colourIndex)
{
    const COLORREF expected = GetSysColor(colourIndex);
    if (actual == expected) return ::testing::AssertionSuccess();
    char text[160];
    std::snprintf(text, sizeof text, "%s pixel (%d, %d) is %s, expected %s", where, x, y,
                  ColourName(actual), ColourName(expected));
    return ::testing::AssertionFailure() << text;
}

}  // namespace

void PumpPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        PumpPending();
        if (done()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
}

TestDialog::TestDialog(const DialogTemplate& tmpl, int x, int y, DLGPROC proc, LPARAM param, HWND parent)
{
    hwnd_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tmpl.Get(), parent,
                                       proc ? proc : PlainDialogProc, param);
    if (!hwnd_) return;
    if (!(GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD)) {
        SetWindowPos(hwnd_, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        SetForegroundWindow(hwnd_);
    } else {
        ShowWindow(hwnd_, SW_SHOW);
    }
    PumpPending();
}

TestDialog::~TestDialog()
{
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    PumpPending();
}

HWND TestDialog::Place(int id, int x, int y, int cx, int cy) const
{
    const HWND item = Item(id);
    SetWindowPos(item, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    return item;
}

void Repaint(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpPending();
}

void PointAt(HWND hwnd, int x, int y)
{
    POINT point{x, y};
    ClientToScreen(hwnd, &point);
    SetCursorPos(point.x, point.y);
}

bool HoverOver(HWND hwnd, HWND expectedHot)
{
    RECT rect{};
    GetClientRect(hwnd, &rect);
    PointAt(hwnd, rect.right / 2, rect.bottom / 2);
    const HWND wanted = expectedHot ? expectedHot : hwnd;
    return PumpUntil([&] { return tarvo::FlatLookInspector::HotWindow() == wanted; });
}

bool ParkPointer()
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
    return PumpUntil([] {
        const HWND hot = tarvo::FlatLookInspector::HotWindow();
        return !hot || tarvo::FlatLookInspector::KindOf(hot) == tarvo::FlatKind::None;
    });
}

COLORREF WindowPixel(HWND hwnd, int x, int y)
{
    return ReadPixel(hwnd, GetWindowDC(hwnd), x, y);
}

COLORREF ClientPixel(HWND hwnd, int x, int y)
{
    return ReadPixel(hwnd, GetDC(hwnd), x, y);
}

const char* ColourName(COLORREF colour)
{
    switch (colour) {
    case Palette::kWindow: return "COLOR_WINDOW";
    case Palette::kBtnFace: return "COLOR_BTNFACE";
    case Palette::kBtnShadow: return "COLOR_BTNSHADOW";
    case Palette::kBtnHighlight: return "COLOR_BTNHIGHLIGHT";
    case Palette::k3dDkShadow: return "COLOR_3DDKSHADOW";
    case Palette::k3dLight: return "COLOR_3DLIGHT";
    default: break;
    }
    static thread_local char text[4][32];
    static thread_local int next = 0;
    char* out = text[next++ % 4];
    if (colour == CLR_INVALID)
        std::snprintf(out, 32, "CLR_INVALID");
    else
        std::snprintf(out, 32, "RGB(%d, %d, %d)", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return out;
}

::testing::AssertionResult WindowPixelIs(HWND hwnd, int x, int y, int colourIndex)
{
    return PixelIs("window", WindowPixel(hwnd, x, y), x, y, colourIndex);
}

::testing::AssertionResult ClientPixelIs(HWND hwnd, int x, int y, int colourIndex)
{
    return PixelIs("client", ClientPixel(hwnd, x, y), x, y, colourIndex);
}

}  // namespace flattest
