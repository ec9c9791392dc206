#include "gallery.h"

#include <commctrl.h>
#include <richedit.h>

namespace flattest {
namespace {

constexpr DWORD kTab = WS_TABSTOP;
constexpr DWORD kEdge = WS_EX_CLIENTEDGE;

void FillToolbar(HWND toolbar)
{
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBADDBITMAP bitmaps{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
    SendMessageW(toolbar, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&bitmaps));
    TBBUTTON buttons[kToolbarButtons] = {};
    const int images[kToolbarButtons] = {STD_FILENEW, STD_FILEOPEN, 0, STD_FILESAVE, STD_PRINT};
    for (int i = 0; i < kToolbarButtons; ++i) {
        buttons[i].iBitmap = images[i];
        buttons[i].idCommand = 1000 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = TBSTYLE_BUTTON;
    }
    buttons[1].fsStyle = TBSTYLE_CHECK;
    buttons[1].fsState |= TBSTATE_CHECKED;
    buttons[2].fsStyle = TBSTYLE_SEP;
    buttons[2].iBitmap = 8;
    buttons[4].fsState = 0;  // disabled
    SendMessageW(toolbar, TB_ADDBUTTONSW, kToolbarButtons, reinterpret_cast<LPARAM>(buttons));
}

void FillTabs(HWND tab)
{
    const wchar_t* names[] = {L"One", L"Two", L"Three"};
    for (int i = 0; i < 3; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(names[i]);
        SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(tab, TCM_SETCURSEL, 1, 0);
}

void FillListView(HWND list)
{
    const wchar_t* names[] = {L"Name", L"Number", L"Note"};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 50;
        column.pszText = const_cast<wchar_t*>(names[i]);
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    for (int i = 0; i < 3; ++i) {
        wchar_t text[16];
        wsprintfW(text, L"Entry %d", i + 1);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = text;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void FillTree(HWND tree)
{
    TVINSERTSTRUCTW insert{};
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(L"Phone book");
    const auto root = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    insert.hParent = root;
    insert.item.pszText = const_cast<wchar_t*>(L"Backup");
    SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
    insert.item.pszText = const_cast<wchar_t*>(L"Restore");
    SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
}

void FillGallery(HWND dialog)
{
    for (int id : {ID_COMBO_SIMPLE, ID_COMBO_DROPDOWN, ID_COMBO_DROPLIST}) {
        const HWND combo = GetDlgItem(dialog, id);
        for (const wchar_t* text : {L"vCard", L"CSV", L"Settings"})
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
    }
    COMBOBOXEXITEMW exItem{};
    exItem.mask = CBEIF_TEXT;
    exItem.iItem = -1;
    exItem.pszText = const_cast<wchar_t*>(L"Extended");
    SendDlgItemMessageW(dialog, ID_COMBOEX, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&exItem));
    SendDlgItemMessageW(dialog, ID_COMBOEX, CB_SETCURSEL, 0, 0);

    const HWND listBox = GetDlgItem(dialog, ID_LISTBOX);
    for (int i = 1; i <= 12; ++i) {
        wchar_t text[16];
        wsprintfW(text, L"Line %d", i);
        SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendDlgItemMessageW(dialog, ID_LISTBOX_NO_EDGE, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    FillListView(GetDlgItem(dialog, ID_LISTVIEW));
    FillTree(GetDlgItem(dialog, ID_TREEVIEW));

    SetDlgItemTextW(dialog, ID_EDIT, L"Editable");
    SetDlgItemTextW(dialog, ID_EDIT_NO_EDGE, L"No edge");
    SetDlgItemTextW(dialog, ID_EDIT_READONLY, L"Read-only");
    SetDlgItemTextW(dialog, ID_EDIT_DISABLED, L"Disabled");
    SetDlgItemTextW(dialog, ID_EDIT_BORDER, L"Border");
    // The dialog manager turns WS_BORDER into a client edge; give it back, for
    // a three-pixel border (a client edge plus a line).
    const HWND bordered = GetDlgItem(dialog, ID_EDIT_BORDER);
    SetWindowLongPtrW(bordered, GWL_STYLE, GetWindowLongPtrW(bordered, GWL_STYLE) | WS_BORDER);
    SetWindowPos(bordered, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SetDlgItemTextW(dialog, ID_RICHEDIT, L"Rich edit");
    SendDlgItemMessageW(dialog, ID_AUTO3STATE, BM_SETCHECK, BST_INDETERMINATE, 0);
    SendDlgItemMessageW(dialog, ID_CHECK, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageW(dialog, ID_RADIO1, BM_SETCHECK, BST_CHECKED, 0);

    for (int id : {ID_SPIN_RIGHT, ID_SPIN_LEFT, ID_SPIN_ALONE}) {
        SendDlgItemMessageW(dialog, id, UDM_SETRANGE32, 0, 99);
        SendDlgItemMessageW(dialog, id, UDM_SETPOS32, 0, 42);
    }
    for (int id : {ID_HSCROLL, ID_VSCROLL}) {
        SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 20, 30, 0};
        SetScrollInfo(GetDlgItem(dialog, id), SB_CTL, &info, TRUE);
    }
    for (int id : {ID_TRACK, ID_TRACK_TOP, ID_TRACK_BOTH, ID_TRACK_NOTHUMB, ID_TRACK_VERT,
                   ID_TRACK_VERT_LEFT, ID_TRACK_VERT_BOTH}) {
        SendDlgItemMessageW(dialog, id, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
        SendDlgItemMessageW(dialog, id, TBM_SETPOS, TRUE, 4);
    }
    for (int id : {ID_TAB_TOP, ID_TAB_BOTTOM, ID_TAB_LEFT, ID_TAB_RIGHT, ID_TAB_BUTTONS})
        FillTabs(GetDlgItem(dialog, id));
    FillToolbar(GetDlgItem(dialog, ID_TOOLBAR));
    FillToolbar(GetDlgItem(dialog, ID_TOOLBAR_FLAT));
    SendDlgItemMessageW(dialog, ID_IPADDRESS, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 20));
}

}  // namespace

DialogTemplate GalleryTemplate()
{
    DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 480, 296, L"Flat look gallery");
    // Buttons.
    t.Add(L"Button", L"Push", ID_PUSH, BS_PUSHBUTTON | kTab, 0, 7, 7, 50, 14)
        .Add(L"Button", L"Default", ID_DEFPUSH, BS_DEFPUSHBUTTON | kTab, 0, 60, 7, 50, 14)
        .Add(L"Button", L"Push-like", ID_PUSHLIKE_CHECK, BS_AUTOCHECKBOX | BS_PUSHLIKE | kTab, 0, 113, 7, 50, 14)
        .Add(L"Button", L"Owner draw", ID_OWNERDRAW, BS_OWNERDRAW | kTab, 0, 166, 7, 50, 14)
        .Add(L"Button", L"Flat", ID_FLAT_PUSH, BS_PUSHBUTTON | BS_FLAT | kTab, 0, 219, 7, 50, 14)
        .Add(L"Button", L"Radio push", ID_PUSHLIKE_RADIO, BS_AUTORADIOBUTTON | BS_PUSHLIKE | WS_GROUP | kTab, 0,
             272, 7, 50, 14)
        .Add(L"Button", L"Check", ID_CHECK, BS_AUTOCHECKBOX | WS_GROUP | kTab, 0, 7, 26, 55, 10)
        .Add(L"Button", L"Three-state", ID_AUTO3STATE, BS_AUTO3STATE | kTab, 0, 65, 26, 60, 10)
        .Add(L"Button", L"Left text", ID_LEFTTEXT_CHECK, BS_AUTOCHECKBOX | BS_LEFTTEXT | kTab, 0, 128, 26, 50, 10)
        .Add(L"Button", L"Plain check", ID_PLAIN_CHECK, BS_CHECKBOX | kTab, 0, 186, 26, 55, 10)
        .Add(L"Button", L"Plain 3-state", ID_3STATE, BS_3STATE | kTab, 0, 244, 26, 60, 10)
        .Add(L"Button", L"Radio 1", ID_RADIO1, BS_AUTORADIOBUTTON | WS_GROUP | kTab, 0, 7, 40, 50, 10)
        .Add(L"Button", L"Radio 2", ID_RADIO2, BS_AUTORADIOBUTTON, 0, 60, 40, 50, 10)
        .Add(L"Button", L"Plain radio", ID_PLAIN_RADIO, BS_RADIOBUTTON | WS_GROUP | kTab, 0, 113, 40, 55, 10)
        .Add(L"Button", L"User", ID_USERBUTTON, BS_USERBUTTON | WS_GROUP | kTab, 0, 186, 38, 50, 14)
        .Add(L"Button", L"Group box", ID_GROUPBOX, BS_GROUPBOX, 0, 330, 4, 143, 48)
        .Add(L"Static", L"Static text", ID_STATIC, SS_LEFT, 0, 336, 18, 130, 10)
        .Add(L"Edit", nullptr, ID_EDIT_NO_EDGE, ES_AUTOHSCROLL | kTab, 0, 336, 32, 60, 12);
    // Edit fields and up-down controls.
    t.Add(L"Edit", nullptr, ID_EDIT, ES_AUTOHSCROLL | kTab, kEdge, 7, 58, 60, 12)
        .Add(L"Edit", nullptr, ID_EDIT_READONLY, ES_AUTOHSCROLL | ES_READONLY | kTab, kEdge, 70, 58, 60, 12)
        .Add(L"Edit", nullptr, ID_EDIT_DISABLED, ES_AUTOHSCROLL | WS_DISABLED | kTab, kEdge, 133, 58, 60, 12)
        .Add(L"Edit", nullptr, ID_EDIT_BORDER, ES_AUTOHSCROLL | WS_BORDER | kTab, kEdge, 196, 58, 60, 12)
        .Add(L"Edit", nullptr, ID_SPIN_EDIT_RIGHT, ES_NUMBER | kTab, kEdge, 259, 58, 50, 12)
        .Add(UPDOWN_CLASSW, nullptr, ID_SPIN_RIGHT,
             UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 0, 0, 0)
        .Add(L"Edit", nullptr, ID_SPIN_EDIT_LEFT, ES_NUMBER | kTab, kEdge, 330, 58, 50, 12)
        .Add(UPDOWN_CLASSW, nullptr, ID_SPIN_LEFT,
             UDS_AUTOBUDDY | UDS_ALIGNLEFT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 0, 0, 0)
        .Add(UPDOWN_CLASSW, nullptr, ID_SPIN_ALONE, UDS_HORZ, 0, 400, 58, 24, 12);
    // Combo boxes, date-time, IP address and hot-key fields.
    t.Add(L"ComboBox", nullptr, ID_COMBO_SIMPLE, CBS_SIMPLE | WS_VSCROLL | kTab, 0, 7, 76, 70, 52)
        .Add(L"ComboBox", nullptr, ID_COMBO_DROPDOWN, CBS_DROPDOWN | WS_VSCROLL | kTab, 0, 80, 76, 70, 80)
        .Add(L"ComboBox", nullptr, ID_COMBO_DROPLIST, CBS_DROPDOWNLIST | WS_VSCROLL | kTab, 0, 153, 76, 70, 80)
        .Add(WC_COMBOBOXEXW, nullptr, ID_COMBOEX, CBS_DROPDOWNLIST | kTab, 0, 226, 76, 70, 80)
        .Add(DATETIMEPICK_CLASSW, nullptr, ID_DATETIME, DTS_SHORTDATEFORMAT | kTab, kEdge, 299, 76, 70, 13)
        .Add(DATETIMEPICK_CLASSW, nullptr, ID_DATETIME_UPDOWN, DTS_TIMEFORMAT | kTab, kEdge, 372, 76, 70, 13)
        .Add(WC_IPADDRESSW, nullptr, ID_IPADDRESS, kTab, kEdge, 299, 93, 80, 13)
        .Add(HOTKEY_CLASSW, nullptr, ID_HOTKEY, kTab, kEdge, 382, 93, 60, 13);
    // Lists, trees and scroll bars.
    t.Add(L"ListBox", nullptr, ID_LISTBOX, LBS_NOTIFY | WS_VSCROLL | kTab, kEdge, 7, 132, 70, 50)
        .Add(L"ListBox", nullptr, ID_LISTBOX_NO_EDGE, LBS_NOTIFY | WS_VSCROLL | kTab, 0, 80, 132, 50, 50)
        .Add(WC_LISTVIEWW, nullptr, ID_LISTVIEW, LVS_REPORT | kTab, kEdge, 133, 132, 120, 50)
        .Add(WC_TREEVIEWW, nullptr, ID_TREEVIEW, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | kTab, kEdge,
             256, 132, 80, 50)
        .Add(L"RichEdit20W", nullptr, ID_RICHEDIT, ES_MULTILINE | kTab, kEdge, 339, 132, 70, 50)
        .Add(L"ScrollBar", nullptr, ID_HSCROLL, SBS_HORZ, 0, 412, 132, 60, 10)
        .Add(L"ScrollBar", nullptr, ID_VSCROLL, SBS_VERT, 0, 412, 145, 10, 37)
        .Add(L"ScrollBar", nullptr, ID_SIZEBOX, SBS_SIZEBOX, 0, 430, 165, 10, 10);
    // Tab controls.
    t.Add(WC_TABCONTROLW, nullptr, ID_TAB_TOP, 0, 0, 7, 188, 115, 50)
        .Add(WC_TABCONTROLW, nullptr, ID_TAB_BOTTOM, TCS_BOTTOM, 0, 125, 188, 115, 50)
        .Add(WC_TABCONTROLW, nullptr, ID_TAB_LEFT, TCS_VERTICAL | TCS_MULTILINE, 0, 243, 188, 90, 50)
        .Add(WC_TABCONTROLW, nullptr, ID_TAB_RIGHT, TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, 0, 336, 188, 90, 50)
        .Add(WC_TABCONTROLW, nullptr, ID_TAB_BUTTONS, TCS_BUTTONS, 0, 240, 244, 110, 16);
    // Toolbars and trackbars.
    const DWORD toolbarStyle = CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER;
    t.Add(TOOLBARCLASSNAMEW, nullptr, ID_TOOLBAR, toolbarStyle, 0, 7, 244, 110, 18)
        .Add(TOOLBARCLASSNAMEW, nullptr, ID_TOOLBAR_FLAT, toolbarStyle | TBSTYLE_FLAT, 0, 120, 244, 110, 18)
        .Add(TRACKBAR_CLASSW, nullptr, ID_TRACK, TBS_AUTOTICKS | kTab, 0, 7, 268, 70, 18)
        .Add(TRACKBAR_CLASSW, nullptr, ID_TRACK_TOP, TBS_AUTOTICKS | TBS_TOP | kTab, 0, 80, 268, 70, 18)
        .Add(TRACKBAR_CLASSW, nullptr, ID_TRACK_BOTH, TBS_AUTOTICKS | TBS_BOTH | kTab, 0, 153, 268, 70, 20)
        .Add(TRACKBAR_CLASSW, nullptr, ID_TRACK_NOTHUMB, TBS_NOTHUMB | kTab, 0, 226, 268, 70, 18)
        .Add(TRACKBAR_CLASSW, nullptr, ID_TRACK_VERT, TBS_VERT | TBS_AUTOTICKS | kTab, 0, 380, 240, 18, 50)
        .Add(TRACKBAR_CLASSW, nullptr, ID_TRACK_VERT_LEFT, TBS_VERT | TBS_LEFT | TBS_AUTOTICKS | kTab, 0, 405,
             240, 18, 50)
        .Add(TRACKBAR_CLASSW, nullptr, ID_TRACK_VERT_BOTH, TBS_VERT | TBS_BOTH | TBS_AUTOTICKS | kTab, 0, 430,
             240, 20, 50);
    return t;
}

INT_PTR CALLBACK GalleryDialogProc(HWND dialog, UINT msg, WPARAM, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        FillGallery(dialog);
        return TRUE;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
        FrameRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNSHADOW));
        SetBkMode(item->hDC, TRANSPARENT);
        RECT text = item->rcItem;
        DrawTextW(item->hDC, L"Owner draw", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

}  // namespace flattest
