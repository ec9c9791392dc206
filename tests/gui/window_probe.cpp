#include "window_probe.h"

#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace tarvo::gui {

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (int(GetTickCount() - start) >= timeoutMs) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

namespace {

struct Search {
    DWORD processId;
    const std::wstring* title;
    const wchar_t* className;
    const std::function<bool(HWND)>* predicate;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window)) return TRUE;
    if (search.className && ClassOf(window) != search.className) return TRUE;
    if (!search.title->empty() && TextOf(window) != *search.title) return TRUE;
    if (*search.predicate && !(*search.predicate)(window)) return TRUE;
    search.found = window;
    return FALSE;
}

}  // namespace

HWND WindowProbe::Find(const std::wstring& title, const wchar_t* className,
                       const std::function<bool(HWND)>& predicate) const {
    Search search{m_processId, &title, className, &predicate};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WindowProbe::WaitFor(const std::wstring& title, const wchar_t* className, int timeoutMs,
                          const std::function<bool(HWND)>& predicate) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = Find(title, className, predicate)) != nullptr; }, timeoutMs);
    return found;
}

HWND WindowProbe::FindFileDialog() const {
    return Find(L"", L"#32770", [](HWND window) {
        return GetDlgItem(window, 0x47C) != nullptr || GetDlgItem(window, 0x480) != nullptr;
    });
}

HWND WindowProbe::FindMessageBox(const std::wstring& caption) const {
    return Find(caption, L"#32770", [](HWND window) { return !MessageText(window).empty(); });
}

std::wstring WindowProbe::Describe() const {
    std::wstring list;
    Find(L"", nullptr, [&list](HWND window) {
        list += L"[" + ClassOf(window) + L" \"" + TextOf(window) + L"\" " + MessageText(window) + L"] ";
        return false;
    });
    return list;
}

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(copied);
    return text;
}

std::wstring ItemText(HWND dialog, int id) { return TextOf(GetDlgItem(dialog, id)); }

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring MessageText(HWND box) {
    std::wstring joined;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != L"Static") continue;
        std::wstring text = TextOf(child);
        if (!text.empty()) joined += text;
    }
    return joined;
}

bool ItemVisible(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != 0; }

bool ItemEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }

int WindowHeight(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}

int ItemHeight(HWND dialog, int id) { return WindowHeight(GetDlgItem(dialog, id)); }

void Click(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void SetItemTextRemote(HWND dialog, int id, const std::wstring& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, id), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 2000, &ignored);
}

bool PressAltKey(HWND window, WORD key) {
    // Keys go to the foreground window; without a window manager Wine may
    // take a moment to hand it over.
    const bool front = WaitUntil([window] {
        SetForegroundWindow(window);
        return GetForegroundWindow() == window;
    }, 3000);
    if (!front) return false;
    INPUT keys[4] = {};
    const WORD sequence[4] = {VK_MENU, key, key, VK_MENU};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = sequence[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    return SendInput(4, keys, sizeof(INPUT)) == 4;
}

bool SaveWindowBitmap(HWND window, const std::wstring& path) {
    RECT rect{};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(size_t(stride) * size_t(height));
    GetDIBits(memory, bitmap, 0, UINT(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = DWORD(file.bfOffBits + pixels.size());
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), std::streamsize(pixels.size()));
    return bool(out);
}

}  // namespace tarvo::gui
