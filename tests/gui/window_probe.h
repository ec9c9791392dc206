// Looks at and pokes the windows of another process, as a user would: by
// title, class and control id; clicks are posted BM_CLICKs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tarvo::gui {

// Polls `condition` every 20 ms until it holds or `timeoutMs` has passed.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs);

class WindowProbe {
public:
    explicit WindowProbe(DWORD processId) : m_processId(processId) {}
    void SetProcess(DWORD processId) { m_processId = processId; }

    // A visible top-level window of the process; an empty title or a null
    // class matches any. `predicate` may narrow it further.
    HWND Find(const std::wstring& title, const wchar_t* className,
              const std::function<bool(HWND)>& predicate = nullptr) const;
    HWND WaitFor(const std::wstring& title, const wchar_t* className, int timeoutMs,
                 const std::function<bool(HWND)>& predicate = nullptr) const;
    // The common Open / Save As dialog.
    HWND FindFileDialog() const;
    // A message box with this caption; its text through MessageText.
    HWND FindMessageBox(const std::wstring& caption) const;

    // Every visible top-level window with its class, title and message text,
    // for the report of a failed step.
    std::wstring Describe() const;

private:
    DWORD m_processId;
};

std::wstring TextOf(HWND window);
std::wstring ItemText(HWND dialog, int id);
std::wstring ClassOf(HWND window);
// The texts of a message box's static controls, joined.
std::wstring MessageText(HWND box);
bool ItemVisible(HWND dialog, int id);
bool ItemEnabled(HWND dialog, int id);
int WindowHeight(HWND window);
int ItemHeight(HWND dialog, int id);
void Click(HWND dialog, int id);
void SetItemTextRemote(HWND dialog, int id, const std::wstring& text);
// Alt + key through the keyboard input path, with `window` brought to the
// front; false when it could not be.
bool PressAltKey(HWND window, WORD key);
// Captures the window's screen area into a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::wstring& path);

}  // namespace tarvo::gui
