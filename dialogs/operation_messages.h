// Window messages between an operation dialog, its worker and the main dialog.
#pragma once

#include <windows.h>

namespace tarvo {

inline constexpr UINT WM_OP_ERRORS = WM_USER + 100;    // wParam: time-outs, or the block's try
inline constexpr UINT WM_OP_PROGRESS = WM_USER + 101;  // wParam: bytes so far
inline constexpr UINT WM_OP_DONE = WM_USER + 102;      // lParam 1: a send that the phone stored
inline constexpr UINT WM_OP_STATUS = WM_USER + 103;    // wParam: string id of the status
inline constexpr UINT WM_OP_ABORT = WM_USER + 104;     // sent by the main dialog: the port is gone
inline constexpr UINT WM_OP_SIZE = WM_USER + 105;      // wParam: size the phone announced
inline constexpr UINT WM_OP_HIDE_CANCEL = WM_USER + 106;  // a receive succeeded

}  // namespace tarvo
