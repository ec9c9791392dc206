// What the flat-look tests share: the test palette, message pumping with a
// bounded wait, modeless test dialogs, pointer moves and pixel checks.
#pragma once

#include "dialog_template.h"
#include "palette.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

namespace flattest {

// Dispatches every message already queued.
void PumpPending();
// Pumps messages until `done` holds or `timeoutMs` has passed; returns the
// last result of `done`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// A modeless dialog built from `tmpl`, shown at screen position (x, y) and
// destroyed with the object.
class TestDialog {
public:
    TestDialog(const DialogTemplate& tmpl, int x = 20, int y = 20, DLGPROC proc = nullptr,
               LPARAM param = 0, HWND parent = nullptr);
    ~TestDialog();
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;

    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    // Moves and sizes control `id` in pixels (client coordinates of the dialog).
    HWND Place(int id, int x, int y, int cx, int cy) const;

private:
    HWND hwnd_ = nullptr;
};

// Repaints a window, its frame and its children at once.
void Repaint(HWND hwnd);

// Moves the pointer to client point (x, y) of `hwnd`.
void PointAt(HWND hwnd, int x, int y);
// Moves the pointer to the middle of `hwnd` and waits until the hot-tracking
// timer has made `expectedHot` (default: hwnd) the hot window.
bool HoverOver(HWND hwnd, HWND expectedHot = nullptr);
// Moves the pointer off every test window and waits until no control is hot.
bool ParkPointer();

// Pixel colours read back from the window DC or the client DC.
COLORREF WindowPixel(HWND hwnd, int x, int y);
COLORREF ClientPixel(HWND hwnd, int x, int y);

// Names of the test palette's colours, for messages.
const char* ColourName(COLORREF colour);

// `colourIndex` is a system colour index (COLOR_BTNSHADOW, ...).
::testing::AssertionResult WindowPixelIs(HWND hwnd, int x, int y, int colourIndex);
::testing::AssertionResult ClientPixelIs(HWND hwnd, int x, int y, int colourIndex);

}  // namespace flattest
