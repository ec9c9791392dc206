// Dialog templates built in memory (DLGTEMPLATEEX), so the tests and the
// gallery need no resource script.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace flattest {

class DialogTemplate {
public:
    // Position and size in dialog units; the font is "MS Shell Dlg" 8.
    DialogTemplate(DWORD style, short x, short y, short cx, short cy, const wchar_t* title);

    DialogTemplate& Add(const wchar_t* className, const wchar_t* text, WORD id, DWORD style,
                        DWORD exStyle, short x, short y, short cx, short cy);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(data_.data()); }

private:
    void Word(WORD value) { data_.push_back(value); }
    void Dword(DWORD value);
    void String(const wchar_t* text);
    void AlignDword();

    std::vector<WORD> data_;
    size_t countIndex_ = 0;
};

}  // namespace flattest
