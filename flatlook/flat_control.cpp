// The handlers' window procedures, focus tests and frame redrawing.
#include "flat_control.h"

#include "flat_look_manager.h"

#include <commctrl.h>

namespace tarvo {
namespace {

constexpr int kSmallFrameHeight = 30;

}  // namespace

HWND BuddySpinAfter(HWND edit)
{
    const HWND next = GetWindow(edit, GW_HWNDNEXT);
    if (next && HasClassName(next, UPDOWN_CLASSW) &&
        reinterpret_cast<HWND>(SendMessageW(next, UDM_GETBUDDY, 0, 0)) == edit)
        return next;
    return nullptr;
}

// ---- SubclassedWindow -----------------------------------------------------

void SubclassedWindow::Subclass(HWND hwnd, WNDPROC proc)
{
    m_hWnd = hwnd;
    m_pfnOldProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

void SubclassedWindow::Unsubclass()
{
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnOldProc));
}

LRESULT SubclassedWindow::PassOn(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(m_pfnOldProc, m_hWnd, msg, wParam, lParam);
}

// ---- FlatControl ----------------------------------------------------------

LRESULT FlatControl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        RedrawFrame();
        return PassOn(msg, wParam, lParam);
    case WM_ENABLE:
    case WM_PAINT:
    case WM_NCPAINT:
        PassOn(msg, wParam, lParam);
        RedrawFrame();
        return 0;
    case WM_NCDESTROY: {
        const HWND hwnd = m_hWnd;
        PassOn(msg, wParam, lParam);
        GetFlatLookManager()->DetachControl(hwnd);  // deletes this handler
        return 0;
    }
    default:
        return PassOn(msg, wParam, lParam);
    }
}

BOOL FlatControl::HotChanged(const POINT*)
{
    return m_hWnd != FlatHotWindow();
}

HDC FlatControl::GetFrameDC(HDC* dc, RECT* rect)
{
    GetWindowRect(m_hWnd, rect);
    OffsetRect(rect, -rect->left, -rect->top);
    *dc = GetWindowDC(m_hWnd);
    return *dc;
}

BOOL FlatControl::HasFocus()
{
    return GetFocus() == m_hWnd ? 1 : 0;
}

void FlatControl::DrawFrame(HDC dc, RECT* rect)
{
    DrawClientEdgeFrame(dc, rect);
}

void FlatControl::RedrawFrame()
{
    HDC dc = nullptr;
    RECT rect{};
    GetFrameDC(&dc, &rect);
    if (!dc) return;

    if (GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
        // A three-pixel left border is a client edge plus a WS_BORDER line.
        RECT window{};
        GetWindowRect(m_hWnd, &window);
        POINT origin{0, 0};
        ClientToScreen(m_hWnd, &origin);
        if (origin.x == window.left + 3) InflateRect(&rect, -1, -1);
    }
    if (HasFocus() == 1)
        m_nState |= STATE_FOCUS;
    else
        m_nState &= ~STATE_FOCUS;
    if (rect.bottom - rect.top < kSmallFrameHeight)
        m_nState |= STATE_SMALL;
    else
        m_nState &= ~STATE_SMALL;

    // A frame drawn hot (or focused) that is still hot (or focused) is left
    // as it stands.
    const bool stillHot = (m_nDrawnState & STATE_HOT) && (m_nState & STATE_HOT);
    const bool stillFocused = (m_nDrawnState & STATE_FOCUS) && (m_nState & STATE_FOCUS);
    if (!stillHot && !stillFocused) DrawFrame(dc, &rect);

    m_nDrawnState = m_nState;
    ReleaseDC(WindowFromDC(dc), dc);
}

// ---- Edit fields ----------------------------------------------------------

LRESULT FlatEdit::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_ENABLE) return FlatControl::WindowProc(msg, wParam, lParam);
    PassOn(msg, wParam, lParam);
    RedrawFrame();
    // The buddy up-down repaints its part of the edit's frame.
    if (const HWND spin = BuddySpinAfter(m_hWnd)) SendMessageW(spin, WM_PAINT, 0, 0);
    return 0;
}

HDC FlatComboEdit::GetFrameDC(HDC* dc, RECT* rect)
{
    GetWindowRect(m_hWnd, rect);
    InflateRect(rect, 3, 3);
    OffsetRect(rect, -rect->left, -rect->top);
    *dc = GetWindowDC(GetParent(m_hWnd));
    return *dc;
}

// ---- Combo boxes and date-time pickers -------------------------------------

LRESULT FlatComboBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        // The edit field of a drop-down combo box gains or loses the focus.
        // (The combo box does not repaint itself when its edit loses it.)
        if (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS) RedrawFrame();
        return PassOn(msg, wParam, lParam);
    case WM_LBUTTONUP:
        if (lParam == -1) RedrawFrame();
        return PassOn(msg, wParam, lParam);
    default:
        return FlatControl::WindowProc(msg, wParam, lParam);
    }
}

BOOL FlatComboBox::HasFocus()
{
    if ((GetWindowLongPtrW(m_hWnd, GWL_STYLE) & 3) == CBS_DROPDOWN) {
        const HWND edit = GetTopWindow(m_hWnd);
        if (edit && edit == GetFocus()) return 1;
    }
    return FlatControl::HasFocus();
}

// ---- IP address fields ----------------------------------------------------

LRESULT FlatIPAddress::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_COMMAND) return FlatControl::WindowProc(msg, wParam, lParam);
    if (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS) RedrawFrame();
    return PassOn(msg, wParam, lParam);
}

BOOL FlatIPAddress::HasFocus()
{
    const HWND focus = GetFocus();
    for (HWND child = GetTopWindow(m_hWnd); child; child = GetWindow(child, GW_HWNDNEXT))
        if (child == focus) return 1;
    return 0;
}

// ---- Buttons --------------------------------------------------------------

LRESULT FlatButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SETTEXT: {
        const LRESULT result = PassOn(msg, wParam, lParam);
        RedrawFrame();
        return result;
    }
    case BM_SETCHECK:
        PassOn(msg, wParam, lParam);
        RedrawFrame();
        return 0;
    default:
        return FlatControl::WindowProc(msg, wParam, lParam);
    }
}

// ---- Scroll bars ----------------------------------------------------------

LRESULT FlatScrollBar::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    bool redraw = false;
    switch (msg) {
    case SBM_SETPOS: redraw = lParam != 0; break;
    case SBM_SETRANGEREDRAW: redraw = true; break;
    case SBM_SETSCROLLINFO: redraw = wParam != 0; break;
    default: return FlatControl::WindowProc(msg, wParam, lParam);
    }
    const LRESULT result = PassOn(msg, wParam, lParam);
    if (redraw) RedrawFrame();
    return result;
}

// ---- Toolbars and tab controls --------------------------------------------

LRESULT FlatToolBar::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT || msg == WM_NCPAINT) m_nHotItem = -1;
    return FlatControl::WindowProc(msg, wParam, lParam);
}

LRESULT FlatTabCtrl::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT || msg == WM_NCPAINT) m_nHotItem = -1;
    return FlatControl::WindowProc(msg, wParam, lParam);
}

}  // namespace tarvo
