// The gallery program: shows the gallery dialog with the flat look ("flat")
// or without it ("plain"), for screenshots.
//
//   flatlook_gallery flat|plain [--hover ID] [--focus ID] [--ready FILE] [--seconds N]
//
// It uses the classic colour scheme of the tests while it runs. With --ready
// it writes the dialog's screen rectangle ("x y width height") to FILE once
// the dialog is painted (and the hovered control is hot), and ends when FILE
// is removed, the dialog is closed, or after N seconds (default 10).
#include "gallery.h"
#include "palette.h"

#include "flatlook/flat_look_inspector.h"
#include "flatlook/flat_look_manager.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Pumps until `done` holds, for at most `ms` milliseconds.
template <typename Done>
void PumpUntil(Done done, DWORD ms)
{
    const ULONGLONG deadline = GetTickCount64() + ms;
    while (!done() && GetTickCount64() < deadline) {
        Pump();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || (std::strcmp(argv[1], "flat") && std::strcmp(argv[1], "plain"))) {
        std::fprintf(stderr, "usage: flatlook_gallery flat|plain [--hover ID] [--focus ID] "
                             "[--ready FILE] [--seconds N]\n");
        return 2;
    }
    const bool flat = !std::strcmp(argv[1], "flat");
    int hoverId = 0;
    int focusId = 0;
    const char* readyFile = nullptr;
    int seconds = 10;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--hover")) hoverId = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--focus")) focusId = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--ready")) readyFile = argv[i + 1];
        if (!std::strcmp(argv[i], "--seconds")) seconds = std::atoi(argv[i + 1]);
    }

    INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_INTERNET_CLASSES |
                                                ICC_USEREX_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&init);
    LoadLibraryW(L"riched20.dll");
    const flattest::ScopedPalette palette;
    if (flat) tarvo::FlatLookManager::Install(-1, tarvo::ATTACH_ON_INITDIALOG);

    const flattest::DialogTemplate tmpl = flattest::GalleryTemplate();
    const HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), tmpl.Get(), nullptr,
                                                   flattest::GalleryDialogProc, 0);
    if (!dialog) return 1;
    SetWindowPos(dialog, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(dialog);
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2);
    if (focusId) SetFocus(GetDlgItem(dialog, focusId));
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    if (hoverId) {
        // After the repaint: a control that stays hot is not painted again.
        const HWND target = GetDlgItem(dialog, hoverId);
        RECT rect{};
        GetWindowRect(target, &rect);
        SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        if (flat) PumpUntil([&] { return tarvo::FlatLookInspector::HotWindow() == target; }, 3000);
    }
    Pump();

    if (readyFile) {
        RECT rect{};
        GetWindowRect(dialog, &rect);
        if (FILE* out = std::fopen(readyFile, "w")) {
            std::fprintf(out, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                         rect.bottom - rect.top);
            std::fclose(out);
        }
    }
    PumpUntil([&] { return !IsWindow(dialog) || (readyFile && GetFileAttributesA(readyFile) == INVALID_FILE_ATTRIBUTES); },
              static_cast<DWORD>(seconds) * 1000);
    if (IsWindow(dialog)) DestroyWindow(dialog);
    return 0;
}
