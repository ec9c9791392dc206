// The gallery: one dialog with every kind of control the flat look knows, in
// each style it tells apart. The tests check which handler each control
// gets; the gallery program shows it for screenshots.
#pragma once

#include "dialog_template.h"

#include <windows.h>

namespace flattest {

enum GalleryId : WORD {
    ID_PUSH = 100,
    ID_DEFPUSH,
    ID_PUSHLIKE_CHECK,
    ID_OWNERDRAW,
    ID_FLAT_PUSH,
    ID_CHECK,
    ID_AUTO3STATE,
    ID_LEFTTEXT_CHECK,
    ID_RADIO1,
    ID_RADIO2,
    ID_PUSHLIKE_RADIO,
    ID_GROUPBOX,
    ID_PLAIN_CHECK,
    ID_3STATE,
    ID_PLAIN_RADIO,
    ID_USERBUTTON,

    ID_EDIT = 120,
    ID_EDIT_NO_EDGE,
    ID_EDIT_READONLY,
    ID_EDIT_DISABLED,
    ID_EDIT_BORDER,

    ID_COMBO_SIMPLE = 130,
    ID_COMBO_DROPDOWN,
    ID_COMBO_DROPLIST,

    ID_DATETIME = 140,
    ID_DATETIME_UPDOWN,
    ID_IPADDRESS,
    ID_HOTKEY,

    ID_LISTBOX = 150,
    ID_LISTBOX_NO_EDGE,
    ID_LISTVIEW,
    ID_TREEVIEW,
    ID_RICHEDIT,

    ID_HSCROLL = 160,
    ID_VSCROLL,
    ID_SIZEBOX,

    ID_SPIN_EDIT_RIGHT = 170,
    ID_SPIN_RIGHT,
    ID_SPIN_EDIT_LEFT,
    ID_SPIN_LEFT,
    ID_SPIN_ALONE,

    ID_TOOLBAR = 180,
    ID_TOOLBAR_FLAT,

    ID_TAB_TOP = 190,
    ID_TAB_BOTTOM,
    ID_TAB_LEFT,
    ID_TAB_RIGHT,
    ID_TAB_BUTTONS,

    ID_TRACK = 200,
    ID_TRACK_TOP,
    ID_TRACK_BOTH,
    ID_TRACK_NOTHUMB,
    ID_TRACK_VERT,
    ID_TRACK_VERT_LEFT,
    ID_TRACK_VERT_BOTH,

    ID_COMBOEX = 210,
    ID_STATIC = 220,
};

DialogTemplate GalleryTemplate();

// The gallery's dialog procedure: fills the lists, tabs, toolbars and ranges
// at WM_INITDIALOG and draws the owner-draw button.
INT_PTR CALLBACK GalleryDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

// Toolbar buttons: 0 plain, 1 checked, 2 separator, 3 plain, 4 disabled.
inline constexpr int kToolbarButtons = 5;

}  // namespace flattest
