// Painters of the controls made of items or parts of their own: headers,
// toolbars, tab controls and trackbars. The first three draw each item hot
// or not by where the pointer is, and remember that item (m_nHotItem) so the
// hot-tracking timer sees when the pointer moves on to another item. They
// draw in the control's client DC.
#include "flat_control.h"
#include "flat_draw.h"

#include <commctrl.h>

#include <initializer_list>

namespace tarvo {
namespace {

POINT CursorInClient(HWND hwnd)
{
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(hwnd, &point);
    return point;
}

// Calls fn(index, rect) for each header item in display order, so that
// reordered columns are handled where they stand on the screen.
template <typename Fn>
void ForEachHeaderItem(HWND header, Fn fn)
{
    const int count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    for (int position = 0; position < count; ++position) {
        const int index = static_cast<int>(SendMessageW(header, HDM_ORDERTOINDEX, position, 0));
        RECT rect{};
        SendMessageW(header, HDM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
        fn(index, rect);
    }
}

// The toolbar button (not a separator) under a client point, or -1.
int ToolButtonAt(HWND toolbar, POINT point)
{
    const int count = static_cast<int>(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & TBSTYLE_SEP) continue;
        RECT rect{};
        SendMessageW(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect));
        if (PtInRect(&rect, point)) return i;
    }
    return -1;
}

// One pen's polyline: MoveToEx to the first point, LineTo the others.
void DrawPolyline(HDC dc, HPEN pen, std::initializer_list<POINT> points)
{
    SelectObject(dc, pen);
    const POINT* p = points.begin();
    MoveToEx(dc, p->x, p->y, nullptr);
    for (++p; p != points.end(); ++p) LineTo(dc, p->x, p->y);
}

// A polyline that goes on from where the previous one ended.
void ContinuePolyline(HDC dc, HPEN pen, std::initializer_list<POINT> points)
{
    SelectObject(dc, pen);
    for (const POINT& p : points) LineTo(dc, p.x, p.y);
}

}  // namespace

// ---- Header ---------------------------------------------------------------

BOOL FlatHeader::HotChanged(const POINT* screenPoint)
{
    POINT point = *screenPoint;
    ScreenToClient(m_hWnd, &point);
    int item = -1;
    ForEachHeaderItem(m_hWnd, [&](int index, const RECT& rect) {
        if (item < 0 && PtInRect(&rect, point)) item = index;
    });
    return !(m_hWnd == FlatHotWindow() && item == m_nHotItem);
}

void FlatHeader::DrawHeaderItem(HDC dc, const RECT* rect, BOOL hot)
{
    if (hot)
        DrawDoubleFrame(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW);
    else
        DrawDoubleFrame(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE);
}

void FlatHeader::DrawFrame(HDC, RECT*)
{
    const int previousHotItem = m_nHotItem;
    m_nHotItem = -1;

    // The pointer counts only inside the parent's (the list's) client area.
    const HWND parent = GetParent(m_hWnd);
    RECT parentClient{};
    GetClientRect(parent, &parentClient);
    const bool inside = PtInRect(&parentClient, CursorInClient(parent)) != FALSE;
    const POINT cursor = CursorInClient(m_hWnd);

    const HDC dc = GetDC(m_hWnd);
    int restLeft = 0;
    ForEachHeaderItem(m_hWnd, [&](int index, const RECT& rect) {
        const bool hot = inside && PtInRect(&rect, cursor);
        if (hot) m_nHotItem = index;
        DrawHeaderItem(dc, &rect, hot);
        restLeft = rect.right;
    });
    RECT rest{};
    GetClientRect(m_hWnd, &rest);
    rest.left = restLeft;
    if (rest.left < rest.right) DrawHeaderItem(dc, &rest, FALSE);
    ReleaseDC(m_hWnd, dc);

    // The list the header belongs to is hot while an item is.
    if (FlatControl* list = FindFlatControl(parent)) {
        if (m_nHotItem >= 0) {
            list->m_nState |= STATE_HOT;
            list->RedrawFrame();
        } else if (previousHotItem >= 0) {
            list->m_nState &= ~STATE_HOT;
            list->RedrawFrame();
        }
    }
}

// ---- Toolbar --------------------------------------------------------------

BOOL FlatToolBar::HotChanged(const POINT* screenPoint)
{
    POINT point = *screenPoint;
    ScreenToClient(m_hWnd, &point);
    const int item = ToolButtonAt(m_hWnd, point);
    return !(m_hWnd == FlatHotWindow() && item == m_nHotItem);
}

void FlatToolBar::DrawToolButton(HDC dc, const RECT* rect, int state)
{
    const bool hot = (state & 0x1) != 0;
    const bool checked = (state & 0x2) != 0;
    if (checked && hot)
        DrawDoubleFrame(dc, rect, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
    else if (checked)
        DrawDoubleFrame(dc, rect, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNFACE, COLOR_BTNFACE);
    else if (hot)
        DrawDoubleFrame(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW);
    else
        DrawDoubleFrame(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE);
}

void FlatToolBar::DrawFrame(HDC, RECT*)
{
    if (StyleOf(m_hWnd) & TBSTYLE_FLAT) return;
    const int count = static_cast<int>(SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0));
    const HDC dc = GetDC(m_hWnd);
    const POINT cursor = CursorInClient(m_hWnd);
    m_nHotItem = -1;
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        SendMessageW(m_hWnd, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & TBSTYLE_SEP) continue;
        RECT rect{};
        SendMessageW(m_hWnd, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect));
        int state = (button.fsState & TBSTATE_CHECKED) ? 0x2 : 0;
        if (PtInRect(&rect, cursor)) {
            // A disabled button is the hot item but is not drawn hot.
            m_nHotItem = i;
            if (button.fsState & TBSTATE_ENABLED) state |= 0x1;
        }
        DrawToolButton(dc, &rect, state);
    }
    ReleaseDC(m_hWnd, dc);
}

// ---- Tab control ----------------------------------------------------------

int FlatTabCtrl::GetTabSide()
{
    const LONG_PTR style = StyleOf(m_hWnd);
    if (!(style & TCS_BOTTOM)) return (style & TCS_VERTICAL) ? TAB_LEFT : TAB_TOP;
    return (style & TCS_VERTICAL) ? TAB_RIGHT : TAB_BOTTOM;
}

BOOL FlatTabCtrl::HotChanged(const POINT* screenPoint)
{
    TCHITTESTINFO hit{};
    hit.pt = *screenPoint;
    ScreenToClient(m_hWnd, &hit.pt);
    const int item = static_cast<int>(SendMessageW(m_hWnd, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return !(m_hWnd == FlatHotWindow() && item == m_nHotItem);
}

void FlatTabCtrl::DrawTabItem(HDC dc, const RECT* rect, int index, int state)
{
    int selected = static_cast<int>(SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0));
    if (selected == -1) selected = -2;  // so that no tab counts as next to it
    const bool hot = (state & 0x1) != 0;
    const COLORREF lightOuter = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF lightInner = GetSysColor(hot ? COLOR_3DLIGHT : COLOR_BTNFACE);
    const COLORREF darkOuter = GetSysColor(hot ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW);
    const COLORREF darkInner = GetSysColor(hot ? COLOR_BTNSHADOW : COLOR_BTNFACE);

    const int side = GetTabSide();
    int L = rect->left;
    int T = rect->top;
    int R = rect->right;
    int B = rect->bottom;
    if (state & 0x2) {
        // The selected tab stands out.
        switch (side) {
        case TAB_TOP: L -= 2; T -= 2; R += 2; B += 1; break;
        case TAB_BOTTOM: L -= 2; T -= 1; R += 2; B += 2; break;
        case TAB_LEFT: L -= 2; T -= 2; R += 1; B += 2; break;
        default: L -= 1; T -= 2; R += 2; B += 2; break;
        }
    }
    const bool leading = index - 1 != selected;
    const bool trailing = index + 1 != selected;
    // Two-pixel edges: an outer and an inner line, columns or rows.
    auto columns = [&](int outerX, int innerX, int y, int cy, COLORREF outer, COLORREF inner) {
        FillSolid(dc, outerX, y, 1, cy, outer);
        FillSolid(dc, innerX, y, 1, cy, inner);
    };
    auto rows = [&](int outerY, int innerY, int x, int cx, COLORREF outer, COLORREF inner) {
        FillSolid(dc, x, outerY, cx, 1, outer);
        FillSolid(dc, x, innerY, cx, 1, inner);
    };

    switch (side) {
    case TAB_TOP:
        if (leading) {
            columns(L, L + 1, T + 2, B - T - 2, lightOuter, lightInner);
            SetPixel(dc, L + 1, T + 1, lightOuter);
        }
        rows(T, T + 1, L + 2, R - L - 4, lightOuter, lightInner);
        if (trailing) {
            columns(R - 1, R - 2, T + 2, B - T - 2, darkOuter, darkInner);
            SetPixel(dc, R - 2, T + 1, darkOuter);
        }
        break;
    case TAB_BOTTOM:
        if (leading) {
            columns(L, L + 1, T, B - T - 2, lightOuter, lightInner);
            SetPixel(dc, L + 1, B - 2, lightOuter);
        }
        rows(B - 1, B - 2, L + 2, R - L - 4, darkOuter, darkInner);
        if (trailing) {
            columns(R - 1, R - 2, T, B - T - 2, darkOuter, darkInner);
            SetPixel(dc, R - 2, B - 2, darkOuter);
        }
        break;
    case TAB_LEFT:
        if (leading) {
            rows(T, T + 1, L + 2, R - L - 2, lightOuter, lightInner);
            SetPixel(dc, L + 1, T + 1, lightOuter);
        }
        columns(L, L + 1, T + 2, B - T - 4, lightOuter, lightInner);
        if (trailing) {
            rows(B - 1, B - 2, L + 2, R - L - 2, darkOuter, darkInner);
            SetPixel(dc, L + 1, B - 2, darkOuter);
        }
        break;
    default:  // TAB_RIGHT
        if (leading) {
            rows(T, T + 1, L, R - L - 2, lightOuter, lightInner);
            SetPixel(dc, R - 2, T + 1, lightOuter);
        }
        columns(R - 1, R - 2, T + 2, B - T - 4, darkOuter, darkInner);
        if (trailing) {
            rows(B - 1, B - 2, L, R - L - 2, darkOuter, darkInner);
            SetPixel(dc, R - 2, B - 2, darkOuter);
        }
        break;
    }
}

void FlatTabCtrl::DrawFrame(HDC, RECT* rect)
{
    if (StyleOf(m_hWnd) & TCS_BUTTONS) return;
    const HDC dc = GetDC(m_hWnd);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);

    RECT body = *rect;
    SendMessageW(m_hWnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&body));
    InflateRect(&body, 4, 4);
    const int selected = static_cast<int>(SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0));
    RECT selectedRect{};
    // Without a selected tab the body lines are drawn whole and no tab is
    // drawn selected.
    const bool hasSelected =
        selected >= 0 &&
        SendMessageW(m_hWnd, TCM_GETITEMRECT, selected, reinterpret_cast<LPARAM>(&selectedRect));

    const int side = GetTabSide();
    switch (side) {
    case TAB_TOP: body.top += 2; break;
    case TAB_LEFT: body.left += 2; break;
    case TAB_RIGHT: body.right -= 2; break;
    default: body.bottom -= 2; break;
    }
    // Bottom line (row body.bottom - 1) and right line (column body.right - 1),
    // open where a bottom or right selected tab joins the body.
    auto bottomLine = [&](int from, int to) {
        if (to > from) FillSolid(dc, from, body.bottom, to - from, -1, shadow);
    };
    auto rightLine = [&](int from, int to) {
        if (to > from) FillSolid(dc, body.right, from, -1, to - from, shadow);
    };
    if (side == TAB_BOTTOM && hasSelected) {
        bottomLine(body.left, selectedRect.left);
        bottomLine(selectedRect.right, body.right);
    } else {
        bottomLine(body.left, body.right);
    }
    if (side == TAB_RIGHT && hasSelected) {
        rightLine(body.top, selectedRect.top);
        rightLine(selectedRect.bottom, body.bottom);
    } else {
        rightLine(body.top, body.bottom);
    }
    // The control's own inner edge line disappears.
    Draw3dFrame(dc, body.left + 1, body.top + 1, body.right - body.left - 2, body.bottom - body.top - 2,
                face, face);

    m_nHotItem = -1;
    const POINT cursor = CursorInClient(m_hWnd);
    const int count = static_cast<int>(SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (hasSelected && i == selected) continue;
        RECT tab{};
        SendMessageW(m_hWnd, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tab));
        int state = 0;
        if (PtInRect(&tab, cursor)) {
            m_nHotItem = i;
            state = 0x1;
        }
        DrawTabItem(dc, &tab, i, state);
    }
    if (hasSelected) {
        int state = 0x2;
        if (PtInRect(&selectedRect, cursor)) {
            m_nHotItem = selected;
            state |= 0x1;
        }
        DrawTabItem(dc, &selectedRect, selected, state);
    }

    // Clear what a selected first tab leaves left of the tab row. Without a
    // selected tab the row's height is the first tab's.
    RECT rowTab = selectedRect;
    const bool haveRow =
        hasSelected ||
        (count > 0 && SendMessageW(m_hWnd, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rowTab)));
    if (selected != 0 && haveRow) {
        const int height = rowTab.bottom - rowTab.top + 2;
        if (side == TAB_TOP) FillSolid(dc, rect->left, rect->top, 2, height, face);
        if (side == TAB_BOTTOM) FillSolid(dc, rect->left, rect->bottom, 2, -height, face);
    }
    ReleaseDC(m_hWnd, dc);
}

// ---- Trackbar -------------------------------------------------------------

void FlatTrackBar::DrawFrame(HDC, RECT*)
{
    const HDC dc = GetDC(m_hWnd);
    const LONG_PTR style = StyleOf(m_hWnd);
    RECT channel{};
    SendMessageW(m_hWnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    if (style & TBS_VERT) {
        // Windows reports a vertical trackbar's channel as for a horizontal
        // one (long side across), Wine reports it upright: take the length
        // from the long side and the thickness from the short side, and lay
        // the channel across the thumb's middle.
        const bool upright = channel.bottom - channel.top > channel.right - channel.left;
        const int thickness = upright ? channel.right - channel.left : channel.bottom - channel.top;
        const int top = upright ? channel.top : channel.left;
        const int bottom = upright ? channel.bottom : channel.right;
        RECT thumb{};
        SendMessageW(m_hWnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        int left = thumb.left + ((thumb.right - thumb.left) / 2 - thickness / 2);
        if (style & TBS_LEFT)
            left += 1;
        else if (!(style & TBS_BOTH))
            left -= 1;
        channel = RECT{left, top, left + thickness, bottom};
    }
    if (IsHotOrFocused())
        DrawDoubleFrame(dc, &channel, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    else
        DrawDoubleFrame(dc, &channel, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNFACE, COLOR_BTNFACE);
    if (!(style & TBS_NOTHUMB)) {
        RECT thumb{};
        SendMessageW(m_hWnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        DrawThumb(dc, &thumb);
    }
    ReleaseDC(m_hWnd, dc);
}

void FlatTrackBar::DrawThumb(HDC dc, const RECT* rect)
{
    const LONG_PTR style = StyleOf(m_hWnd);
    const bool hot = IsHotOrFocused();
    if (style & TBS_BOTH) {
        FillSolid(dc, *rect, GetSysColor(COLOR_BTNFACE));
        if (hot)
            DrawDoubleFrame(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_BTNSHADOW);
        else
            DrawDoubleFrame(dc, rect, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE);
        return;
    }

    // A pointed thumb, outlined by four polylines (each line excludes its end).
    const HPEN p1 = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    const HPEN p2 = CreatePen(PS_SOLID, 1, GetSysColor(hot ? COLOR_3DLIGHT : COLOR_BTNFACE));
    const HPEN p3 = CreatePen(PS_SOLID, 1, GetSysColor(hot ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW));
    const HPEN p4 = CreatePen(PS_SOLID, 1, GetSysColor(hot ? COLOR_BTNSHADOW : COLOR_BTNFACE));
    FillSolid(dc, *rect, GetSysColor(COLOR_BTNFACE));
    const HGDIOBJ oldPen = GetCurrentObject(dc, OBJ_PEN);

    const int L = rect->left;
    const int T = rect->top;
    const int R = rect->right;
    const int B = rect->bottom;
    const bool vertical = (style & TBS_VERT) != 0;
    const int k = (vertical ? B - T : R - L) / 2 + 1;
    if (!vertical && !(style & TBS_TOP)) {  // point down
        DrawPolyline(dc, p1, {{L + k - 2, B - 2}, {L, B - k}, {L, T}, {R - 1, T}});
        ContinuePolyline(dc, p3, {{R - 1, B - k}, {L + k - 2, B}});
        DrawPolyline(dc, p2, {{L + k - 2, B - 3}, {L + 1, B - k}, {L + 1, T + 1}, {R - 2, T + 1}});
        ContinuePolyline(dc, p4, {{R - 2, B - k}, {L + k - 2, B - 1}});
    } else if (!vertical) {  // point up
        DrawPolyline(dc, p1, {{L + k - 2, T + 1}, {L, T + k - 1}, {L, B - 1}});
        ContinuePolyline(dc, p3, {{R - 1, B - 1}, {R - 1, T + k - 1}, {L + k - 2, T - 1}});
        DrawPolyline(dc, p2, {{L + k - 2, T + 2}, {L + 1, T + k - 1}, {L + 1, B - 2}});
        ContinuePolyline(dc, p4, {{R - 2, B - 2}, {R - 2, T + k - 1}, {L + k - 2, T}});
    } else if (style & TBS_LEFT) {  // point left
        DrawPolyline(dc, p1, {{R - 2, T}, {L + k - 1, T}, {L, T + k - 1}});
        ContinuePolyline(dc, p3, {{L + k - 1, B - 1}, {R - 1, B - 1}, {R - 1, T - 1}});
        DrawPolyline(dc, p2, {{R - 3, T + 1}, {L + k - 1, T + 1}, {L + 1, T + k - 1}});
        ContinuePolyline(dc, p4, {{L + k - 1, B - 2}, {R - 2, B - 2}, {R - 2, T}});
    } else {  // point right
        DrawPolyline(dc, p1, {{L, B - 2}, {L, T}, {R - k, T}, {R - 1, T + k - 1}});
        DrawPolyline(dc, p3, {{L, B - 1}, {R - k, B - 1}, {R, T + k - 2}});
        DrawPolyline(dc, p2, {{L + 1, B - 3}, {L + 1, T + 1}, {R - k, T + 1}, {R - 2, T + k - 1}});
        DrawPolyline(dc, p4, {{L + 1, B - 2}, {R - k, B - 2}, {R - 1, T + k - 2}});
    }

    SelectObject(dc, oldPen);
    DeleteObject(p1);
    DeleteObject(p2);
    DeleteObject(p3);
    DeleteObject(p4);
}

}  // namespace tarvo
