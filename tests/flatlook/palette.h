// The system colours the painters use, set to six distinct values (close to
// the classic Windows scheme) so every painted pixel tells which colour it
// is. The tests and the gallery set them for their run and restore them.
#pragma once

#include <windows.h>

#include <iterator>

namespace flattest {

struct Palette {
    static constexpr COLORREF kWindow = RGB(250, 250, 240);
    static constexpr COLORREF kBtnFace = RGB(212, 208, 200);
    static constexpr COLORREF kBtnShadow = RGB(128, 128, 128);
    static constexpr COLORREF kBtnHighlight = RGB(255, 255, 255);
    static constexpr COLORREF k3dDkShadow = RGB(64, 64, 64);
    static constexpr COLORREF k3dLight = RGB(232, 228, 216);
};

// Sets the palette while it lives; restores the previous colours after.
class ScopedPalette {
public:
    ScopedPalette()
    {
        for (size_t i = 0; i < std::size(kIndexes); ++i) saved_[i] = GetSysColor(kIndexes[i]);
        SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, kColours);
    }
    ~ScopedPalette() { SetSysColors(static_cast<int>(std::size(kIndexes)), kIndexes, saved_); }
    ScopedPalette(const ScopedPalette&) = delete;
    ScopedPalette& operator=(const ScopedPalette&) = delete;

private:
    static constexpr int kIndexes[] = {COLOR_WINDOW,       COLOR_BTNFACE,    COLOR_BTNSHADOW,
                                       COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT};
    static constexpr COLORREF kColours[] = {Palette::kWindow,        Palette::kBtnFace,
                                            Palette::kBtnShadow,     Palette::kBtnHighlight,
                                            Palette::k3dDkShadow,    Palette::k3dLight};
    COLORREF saved_[std::size(kIndexes)] = {};
};

}  // namespace flattest
