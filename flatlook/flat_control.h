// The handler objects of the flat look: one per subclassed dialog
// (FlatDialog) and one per subclassed control (FlatControl and the classes
// derived from it). A handler lets the control's own window procedure do all
// of its work and paints the control's border again around the messages that
// repaint it. Handlers are owned by the manager's tables and deleted when
// their window receives WM_NCDESTROY.
#pragma once

#include <windows.h>

namespace tarvo {

// State bits of FlatControl::m_nState.
inline constexpr WORD STATE_HOT = 0x1;       // under the mouse pointer (set by the timer)
inline constexpr WORD STATE_SMALL = 0x2;     // frame less than 30 pixels high
inline constexpr WORD STATE_FOCUS = 0x4;     // HasFocus() was 1 at the last redraw
inline constexpr WORD STATE_READONLY = 0x8;  // an edit with ES_READONLY

// What kind of handler a window has; FlatKind::None for none.
enum class FlatKind {
    None,
    Control,
    Edit,
    ComboEdit,
    ComboBox,
    DateTime,
    IPAddress,
    PushButton,
    CheckBox,
    RadioButton,
    ScrollBar,
    Spin,
    TrackBar,
    Header,
    ToolBar,
    TabCtrl,
};

// A window whose procedure we replace, and the one we hand messages on to.
class SubclassedWindow {
public:
    SubclassedWindow() = default;
    virtual ~SubclassedWindow() = default;
    SubclassedWindow(const SubclassedWindow&) = delete;
    SubclassedWindow& operator=(const SubclassedWindow&) = delete;

    void Subclass(HWND hwnd, WNDPROC proc);
    void Unsubclass();

    HWND m_hWnd = nullptr;
    WNDPROC m_pfnOldProc = nullptr;

protected:
    LRESULT PassOn(UINT msg, WPARAM wParam, LPARAM lParam);
};

class FlatDialog : public SubclassedWindow {
public:
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
};

class FlatControl : public SubclassedWindow {
public:
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Non-zero when the control under `screenPoint` must become the hot one
    // (or its hot item changed).
    virtual BOOL HotChanged(const POINT* screenPoint);
    // The DC to paint in (stored through `dc` and returned) and the frame
    // rectangle in its coordinates.
    virtual HDC GetFrameDC(HDC* dc, RECT* rect);
    virtual void DrawFrame(HDC dc, RECT* rect);
    virtual BOOL HasFocus();
    virtual FlatKind Kind() const { return FlatKind::Control; }
    // The item under the pointer at the last paint (header, toolbar, tab
    // control); -1 for none and for controls without items.
    virtual int HotItem() const { return -1; }

    // Re-evaluates focus and size and paints the border, unless it already
    // shows the hot or focused edge that is still wanted.
    void RedrawFrame();

    // Shared painters (they read this handler's window and state).
    void DrawClientEdgeFrame(HDC dc, const RECT* rect);
    void DrawScrollBars(HDC dc, const RECT* rect);
    void DrawFlatScrollBar(HDC dc, const RECT* rect, BOOL vertical, BOOL control);
    void DrawScrollButton(HDC dc, const RECT* rect);
    void DrawSpinHalf(HDC dc, const RECT* rect);
    void DrawPushButtonFrame(HDC dc, const RECT* rect);
    void DrawComboFrame(HDC dc, const RECT* rect);
    void DrawEditFrame(HDC dc, const RECT* rect);

    bool IsHotOrFocused() const { return (m_nState & (STATE_HOT | STATE_FOCUS)) != 0; }

    WORD m_nState = 0;
    WORD m_nDrawnState = 0;
};

// Edit fields with a client edge.
class FlatEdit : public FlatControl {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DrawFrame(HDC dc, RECT* rect) override;
    FlatKind Kind() const override { return FlatKind::Edit; }
};

// The edit field of a simple combo box: its frame is drawn in the combo
// box's window DC, 3 pixels larger than the edit on every side.
class FlatComboEdit : public FlatEdit {
public:
    HDC GetFrameDC(HDC* dc, RECT* rect) override;
    FlatKind Kind() const override { return FlatKind::ComboEdit; }
};

class FlatComboBox : public FlatControl {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DrawFrame(HDC dc, RECT* rect) override;
    BOOL HasFocus() override;
    FlatKind Kind() const override { return FlatKind::ComboBox; }
};

class FlatDateTime : public FlatComboBox {
public:
    void DrawFrame(HDC dc, RECT* rect) override;
    FlatKind Kind() const override { return FlatKind::DateTime; }
};

class FlatIPAddress : public FlatControl {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL HasFocus() override;
    FlatKind Kind() const override { return FlatKind::IPAddress; }
};

// What push buttons, check boxes and radio buttons share: their window
// procedure.
class FlatButton : public FlatControl {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

class FlatPushButton : public FlatButton {
public:
    void DrawFrame(HDC dc, RECT* rect) override;
    FlatKind Kind() const override { return FlatKind::PushButton; }
};

class FlatCheckBox : public FlatButton {
public:
    void DrawFrame(HDC dc, RECT* rect) override;
    BOOL HasFocus() override { return 0; }
    FlatKind Kind() const override { return FlatKind::CheckBox; }
};

class FlatRadioButton : public FlatButton {
public:
    void DrawFrame(HDC dc, RECT* rect) override;
    BOOL HasFocus() override { return 0; }
    FlatKind Kind() const override { return FlatKind::RadioButton; }
};

class FlatScrollBar : public FlatControl {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void DrawFrame(HDC dc, RECT* rect) override;
    FlatKind Kind() const override { return FlatKind::ScrollBar; }
};

class FlatSpin : public FlatControl {
public:
    void DrawFrame(HDC dc, RECT* rect) override;
    FlatKind Kind() const override { return FlatKind::Spin; }
};

class FlatTrackBar : public FlatControl {
public:
    void DrawFrame(HDC dc, RECT* rect) override;
    FlatKind Kind() const override { return FlatKind::TrackBar; }
    void DrawThumb(HDC dc, const RECT* rect);
};

class FlatHeader : public FlatControl {
public:
    BOOL HotChanged(const POINT* screenPoint) override;
    void DrawFrame(HDC dc, RECT* rect) override;
    FlatKind Kind() const override { return FlatKind::Header; }
    int HotItem() const override { return m_nHotItem; }
    void DrawHeaderItem(HDC dc, const RECT* rect, BOOL hot);

    int m_nHotItem = -1;
};

class FlatToolBar : public FlatControl {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL HotChanged(const POINT* screenPoint) override;
    void DrawFrame(HDC dc, RECT* rect) override;
    FlatKind Kind() const override { return FlatKind::ToolBar; }
    int HotItem() const override { return m_nHotItem; }
    void DrawToolButton(HDC dc, const RECT* rect, int state);

    int m_nHotItem = -1;
};

// Sides of a tab control, as GetTabSide returns them.
inline constexpr int TAB_TOP = 0;
inline constexpr int TAB_LEFT = 1;
inline constexpr int TAB_RIGHT = 2;
inline constexpr int TAB_BOTTOM = 3;

class FlatTabCtrl : public FlatControl {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL HotChanged(const POINT* screenPoint) override;
    void DrawFrame(HDC dc, RECT* rect) override;
    BOOL HasFocus() override { return 0; }
    FlatKind Kind() const override { return FlatKind::TabCtrl; }
    int HotItem() const override { return m_nHotItem; }
    void DrawTabItem(HDC dc, const RECT* rect, int index, int state);
    int GetTabSide();

    int m_nHotItem = -1;
};

// Case-insensitive class-name test of a window.
bool HasClassName(HWND hwnd, const wchar_t* name);

inline LONG_PTR StyleOf(HWND hwnd)
{
    return GetWindowLongPtrW(hwnd, GWL_STYLE);
}

// The up-down control right after `edit` (GW_HWNDNEXT) when `edit` is its
// buddy, else null.
HWND BuddySpinAfter(HWND edit);

// The manager's control table and hot window, for the painters that pass
// state between controls (an up-down and its buddy, a header and its list).
FlatControl* FindFlatControl(HWND hwnd);
HWND FlatHotWindow();

}  // namespace tarvo
