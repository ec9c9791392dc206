// Border painters of the standard controls: client-edge controls, edit
// fields, combo boxes, date-time and IP-address fields, buttons, check boxes,
// radio buttons, scroll bars and up-down controls. They only draw outlines
// and single pixels over what the control has drawn itself.
#include "flat_control.h"
#include "flat_draw.h"

#include <commctrl.h>

namespace tarvo {
namespace {

constexpr int kCheckBoxSize = 13;
constexpr int kMinThumb = 8;

// The radio-button ring, as offsets from its origin, each list ended by (0, 0).
constexpr int kRingOuterUpperLeft[] = {1, 9, 1, 8, 0, 7, 0, 6, 0, 5, 0, 4, 1, 3, 1, 2, 2, 1,
                                       3, 1, 4, 0, 5, 0, 6, 0, 7, 0, 8, 1, 9, 1, 0, 0};
constexpr int kRingInnerUpperLeft[] = {2, 8, 1, 7, 1, 6, 1, 5, 1, 4, 2, 3, 2, 2, 3, 2,
                                       4, 1, 5, 1, 6, 1, 7, 1, 8, 2, 9, 2, 0, 0};
constexpr int kRingInnerLowerRight[] = {2, 9, 3, 9, 4, 10, 5, 10, 6, 10, 7, 10, 8, 9, 9, 9,
                                        9, 8, 10, 7, 10, 6, 10, 5, 10, 4, 9, 3, 0, 0};
constexpr int kRingOuterLowerRight[] = {2, 10, 3, 10, 4, 11, 5, 11, 6, 11, 7, 11, 8, 10, 9, 10,
                                        10, 9, 10, 8, 11, 7, 11, 6, 11, 5, 11, 4, 10, 3, 10, 2,
                                        0, 0};

bool Enabled(HWND hwnd)
{
    return IsWindowEnabled(hwnd) != FALSE;
}

// Top of a check box's box (and of a radio button's ring) from the button's
// vertical alignment.
int BoxTop(LONG_PTR style, const RECT* rect)
{
    const LONG_PTR align = style & (BS_TOP | BS_BOTTOM);
    if (align == (BS_TOP | BS_BOTTOM) || align == 0)
        return rect->top + (rect->bottom - rect->top - kCheckBoxSize) / 2;
    if (style & BS_TOP) return rect->top + 1;
    return rect->bottom - 15;
}

// The up-down control right after `edit` that has it as its aligned buddy.
HWND AlignedBuddySpin(HWND edit)
{
    const HWND spin = BuddySpinAfter(edit);
    return spin && (StyleOf(spin) & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) ? spin : nullptr;
}

}  // namespace

// ---- Client-edge frame and the window's own scroll bars --------------------

void FlatControl::DrawClientEdgeFrame(HDC dc, const RECT* rect)
{
    int innerTL = COLOR_BTNFACE;
    int innerBR = COLOR_BTNFACE;
    if (IsHotOrFocused()) {
        innerTL = COLOR_3DDKSHADOW;
        innerBR = COLOR_3DLIGHT;
    } else if (Enabled(m_hWnd) && !(m_nState & STATE_READONLY)) {
        innerTL = (m_nState & STATE_SMALL) ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT;
        innerBR = COLOR_3DLIGHT;
    }
    DrawDoubleFrame(dc, rect, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, innerTL, innerBR);
    DrawScrollBars(dc, rect);
}

void FlatControl::DrawScrollBars(HDC dc, const RECT* rect)
{
    const int e = GetSystemMetrics(SM_CXEDGE);
    const int s = GetSystemMetrics(SM_CXHSCROLL);
    const LONG_PTR style = StyleOf(m_hWnd);
    const bool horizontal = (style & WS_HSCROLL) != 0;
    const bool vertical = (style & WS_VSCROLL) != 0;
    // With both bars each stops short of the corner, which is not touched.
    if (horizontal) {
        const RECT bar{rect->left + e, rect->bottom - s - e, rect->right - (vertical ? s : 0) - e,
                       rect->bottom - e};
        DrawFlatScrollBar(dc, &bar, FALSE, FALSE);
    }
    if (vertical) {
        const RECT bar{rect->right - s - e, rect->top + e, rect->right - e,
                       rect->bottom - (horizontal ? s : 0) - e};
        DrawFlatScrollBar(dc, &bar, TRUE, FALSE);
    }
}

void FlatControl::DrawFlatScrollBar(HDC dc, const RECT* rect, BOOL vertical, BOOL control)
{
    int a = GetSystemMetrics(SM_CXHSCROLL);
    // Windows 95, 98 and Me (high bit of the version) keep thumbs at least
    // half an arrow long.
    const int minThumb = (GetVersion() & 0x80000000u) ? a / 2 : kMinThumb;
    const int start = vertical ? rect->top : rect->left;
    const int end = vertical ? rect->bottom : rect->right;
    const int length = end - start;
    if (length < 2 * a) a = length / 2;

    RECT first = *rect;
    RECT second = *rect;
    (vertical ? first.bottom : first.right) = start + a;
    (vertical ? second.top : second.left) = end - a;
    DrawScrollButton(dc, &first);
    DrawScrollButton(dc, &second);

    if (control && !Enabled(m_hWnd)) return;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    if (!GetScrollInfo(m_hWnd, control ? SB_CTL : (vertical ? SB_VERT : SB_HORZ), &info)) return;
    const int range = info.nMax - info.nMin + 1;
    if (range == 0) return;
    const int page = static_cast<int>(info.nPage);
    const int track = length - 2 * a;

    int thumb = GetSystemMetrics(SM_CXHTHUMB);
    if (page != 0) {
        thumb = MulDiv(page, track, range);
        if (thumb <= minThumb) thumb = minThumb;
    }
    if (thumb >= track) {
        thumb = track;
        if (!control) return;  // a window's own bar shows no thumb then
    }
    int offset = 0;
    if (range == page)
        thumb -= 1;
    else
        offset = MulDiv(info.nPos - info.nMin, track - thumb, range - page);

    RECT thumbRect = first;
    const int thumbStart = start + a + offset;
    (vertical ? thumbRect.top : thumbRect.left) = thumbStart;
    (vertical ? thumbRect.bottom : thumbRect.right) = thumbStart + thumb;
    DrawScrollButton(dc, &thumbRect);
}

void FlatControl::DrawScrollButton(HDC dc, const RECT* rect)
{
    if (IsHotOrFocused())
        DrawDoubleFrame(dc, rect, COLOR_BTNFACE, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    else
        DrawDoubleFrame(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE);
}

// ---- Edit fields ----------------------------------------------------------

void FlatControl::DrawEditFrame(HDC dc, const RECT* rect)
{
    RECT frame = *rect;
    if (const HWND spin = AlignedBuddySpin(m_hWnd)) {
        RECT spinRect{};
        GetWindowRect(spin, &spinRect);
        const int w = spinRect.right - spinRect.left;
        const int h = spinRect.bottom - spinRect.top;
        const int e = GetSystemMetrics(SM_CXEDGE);
        const bool alignLeft = !(StyleOf(spin) & UDS_ALIGNRIGHT);
        // The frame runs on under the up-down; the part outside the edit is
        // clipped away, so the edit's frame stays open toward it.
        if (alignLeft)
            frame.left -= w - e;
        else
            frame.right += w - e;

        int colour = COLOR_BTNHIGHLIGHT;
        if (!Enabled(m_hWnd))
            colour = COLOR_BTNFACE;
        else if (IsHotOrFocused())
            colour = COLOR_3DDKSHADOW;
        const HDC spinDC = GetDC(spin);
        FillSolid(spinDC, 1, 1, w - e - 1, 1, GetSysColor(colour));
        if (alignLeft) FillSolid(spinDC, 1, 1, 1, h - e - 1, GetSysColor(colour));
        ReleaseDC(spin, spinDC);
    }
    if (StyleOf(m_hWnd) & ES_READONLY)
        m_nState |= STATE_READONLY;
    else
        m_nState &= ~STATE_READONLY;
    DrawClientEdgeFrame(dc, &frame);
}

void FlatEdit::DrawFrame(HDC dc, RECT* rect)
{
    DrawEditFrame(dc, rect);
}

// ---- Combo boxes and date-time pickers -------------------------------------

void FlatControl::DrawComboFrame(HDC dc, const RECT* rect)
{
    DrawClientEdgeFrame(dc, rect);
    RECT button = *rect;
    InflateRect(&button, -2, -2);
    button.left = button.right - GetSystemMetrics(SM_CXHSCROLL);
    if (IsWindowEnabled(m_hWnd) != TRUE)
        DrawDoubleFrame(dc, &button, COLOR_BTNFACE, COLOR_BTNFACE, COLOR_BTNFACE, COLOR_BTNFACE);
    else if (IsHotOrFocused())
        DrawDoubleFrame(dc, &button, COLOR_BTNFACE, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    else
        DrawDoubleFrame(dc, &button, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE);
}

void FlatComboBox::DrawFrame(HDC dc, RECT* rect)
{
    DrawComboFrame(dc, rect);
}

void FlatDateTime::DrawFrame(HDC dc, RECT* rect)
{
    // With its own up-down it has no drop-down button.
    if (StyleOf(m_hWnd) & DTS_UPDOWN)
        DrawClientEdgeFrame(dc, rect);
    else
        DrawComboFrame(dc, rect);
}

// ---- Buttons --------------------------------------------------------------

void FlatControl::DrawPushButtonFrame(HDC dc, const RECT* rect)
{
    const bool isDefault = (StyleOf(m_hWnd) & 0xB) == BS_DEFPUSHBUTTON && Enabled(m_hWnd);
    const bool checked = SendMessageW(m_hWnd, BM_GETCHECK, 0, 0) != 0;
    if (IsHotOrFocused()) {
        if (isDefault)
            DrawTripleFrame(dc, rect, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT,
                            COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW);
        else if (checked)
            DrawDoubleFrame(dc, rect, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DLIGHT);
        else
            DrawTripleFrame(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT,
                            COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE);
    } else {
        if (isDefault)
            DrawTripleFrame(dc, rect, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT,
                            COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE);
        else if (checked)
            DrawDoubleFrame(dc, rect, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNFACE, COLOR_BTNFACE);
        else
            DrawTripleFrame(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE,
                            COLOR_BTNFACE, COLOR_BTNFACE);
    }
}

void FlatPushButton::DrawFrame(HDC dc, RECT* rect)
{
    DrawPushButtonFrame(dc, rect);
}

void FlatCheckBox::DrawFrame(HDC dc, RECT* rect)
{
    const LONG_PTR style = StyleOf(m_hWnd);
    if (style & BS_PUSHLIKE) {
        DrawPushButtonFrame(dc, rect);
        return;
    }
    const int top = BoxTop(style, rect);
    const int left = (style & BS_LEFTTEXT) ? rect->right - kCheckBoxSize : rect->left;
    const RECT box{left, top, left + kCheckBoxSize, top + kCheckBoxSize};
    if (m_nState & STATE_HOT) {
        DrawDoubleFrame(dc, &box, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE);
    } else if (!Enabled(m_hWnd)) {
        DrawDoubleFrame(dc, &box, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNFACE, COLOR_BTNFACE);
    } else {
        const int inner = SendMessageW(m_hWnd, BM_GETCHECK, 0, 0) == BST_INDETERMINATE ? COLOR_BTNHIGHLIGHT
                                                                                         : COLOR_WINDOW;
        DrawDoubleFrame(dc, &box, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, inner, inner);
    }
}

void FlatRadioButton::DrawFrame(HDC dc, RECT* rect)
{
    const LONG_PTR style = StyleOf(m_hWnd);
    if (style & BS_PUSHLIKE) {
        DrawPushButtonFrame(dc, rect);
        return;
    }
    const int y = BoxTop(style, rect);
    const int x = (style & BS_LEFTTEXT) ? rect->right - 12 : rect->left + 1;
    const bool enabled = Enabled(m_hWnd);
    int innerUpperLeft = enabled ? COLOR_WINDOW : COLOR_BTNFACE;
    if (m_nState & STATE_HOT) innerUpperLeft = COLOR_3DDKSHADOW;
    PlotPixels(kRingOuterUpperLeft, COLOR_BTNSHADOW, dc, x, y);
    PlotPixels(kRingInnerUpperLeft, innerUpperLeft, dc, x, y);
    PlotPixels(kRingInnerLowerRight, COLOR_BTNFACE, dc, x, y);
    PlotPixels(kRingOuterLowerRight, enabled ? COLOR_WINDOW : COLOR_BTNHIGHLIGHT, dc, x, y);
}

// ---- Scroll-bar controls ---------------------------------------------------

void FlatScrollBar::DrawFrame(HDC dc, RECT* rect)
{
    DrawFlatScrollBar(dc, rect, (StyleOf(m_hWnd) & SBS_VERT) != 0, TRUE);
}

// ---- Up-down controls -----------------------------------------------------

void FlatControl::DrawSpinHalf(HDC dc, const RECT* rect)
{
    const HWND buddy = reinterpret_cast<HWND>(SendMessageW(m_hWnd, UDM_GETBUDDY, 0, 0));
    const bool enabled = Enabled(buddy ? buddy : m_hWnd);
    if (enabled && IsHotOrFocused())
        DrawDoubleFrame(dc, rect, COLOR_BTNFACE, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    else
        DrawDoubleFrame(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE);
}

void FlatSpin::DrawFrame(HDC dc, RECT* rect)
{
    int left = rect->left;
    int top = rect->top;
    int right = rect->right;
    int bottom = rect->bottom;
    FlatControl* buddyHandler = nullptr;

    const LONG_PTR style = StyleOf(m_hWnd);
    const HWND buddy = reinterpret_cast<HWND>(SendMessageW(m_hWnd, UDM_GETBUDDY, 0, 0));
    if (buddy && (style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT))) {
        const bool alignLeft = (style & UDS_ALIGNLEFT) != 0;
        if (alignLeft)
            left += 2;
        else
            right -= 2;
        top += 2;
        bottom -= 2;
        buddyHandler = FindFlatControl(buddy);
        if (buddyHandler && !buddyHandler->IsHotOrFocused()) {
            // The buddy's frame continues around the up-down.
            const bool enabled = Enabled(buddy);
            const COLORREF c1 = GetSysColor(enabled ? COLOR_BTNHIGHLIGHT : COLOR_BTNFACE);
            const COLORREF c2 = GetSysColor(enabled ? COLOR_3DLIGHT : COLOR_BTNFACE);
            FillSolid(dc, left, top - 1, right - left, 1, c1);
            FillSolid(dc, left, bottom, right - left, 1, c2);
            if (alignLeft)
                FillSolid(dc, left - 1, top - 1, 1, bottom - top + 2, c1);
            else
                FillSolid(dc, right, top - 1, 1, bottom - top + 2, c2);
        }
    }

    // With an odd size the middle column or row belongs to neither half.
    if (style & UDS_HORZ) {
        const int w = right - left;
        const RECT first{left, top, left + w / 2, bottom};
        const RECT second{left + w / 2 + w % 2, top, right, bottom};
        DrawSpinHalf(dc, &first);
        DrawSpinHalf(dc, &second);
    } else {
        const int h = bottom - top;
        const RECT first{left, top, right, top + h / 2};
        const RECT second{left, top + h / 2 + h % 2, right, bottom};
        DrawSpinHalf(dc, &first);
        DrawSpinHalf(dc, &second);
    }

    // The buddy, or the tracked control the up-down sits in, looks hot
    // together with it.
    FlatControl* target = buddyHandler ? buddyHandler : FindFlatControl(GetParent(m_hWnd));
    if (!target || !Enabled(target->m_hWnd)) return;
    if (IsHotOrFocused())
        target->m_nState |= STATE_HOT;
    else if (target->m_hWnd != FlatHotWindow())  // the pointer is not on the target itself
        target->m_nState &= ~STATE_HOT;
    target->RedrawFrame();
}

}  // namespace tarvo
