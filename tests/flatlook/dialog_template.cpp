#include "dialog_template.h"

namespace flattest {

DialogTemplate::DialogTemplate(DWORD style, short x, short y, short cx, short cy, const wchar_t* title)
{
    Word(1);       // dlgVer
    Word(0xFFFF);  // signature: extended template
    Dword(0);      // helpID
    Dword(0);      // exStyle
    Dword(style | DS_SETFONT);
    countIndex_ = data_.size();
    Word(0);  // cDlgItems, counted by Add
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(0);  // no menu
    Word(0);  // the standard dialog class
    String(title);
    Word(8);    // point size
    Word(400);  // weight
    Word(0);    // italic, charset
    String(L"MS Shell Dlg");
}

DialogTemplate& DialogTemplate::Add(const wchar_t* className, const wchar_t* text, WORD id, DWORD style,
                                    DWORD exStyle, short x, short y, short cx, short cy)
{
    AlignDword();
    Dword(0);  // helpID
    Dword(exStyle);
    Dword(style | WS_CHILD | WS_VISIBLE);
    Word(static_cast<WORD>(x));
    Word(static_cast<WORD>(y));
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Dword(id);
    String(className);
    String(text ? text : L"");
    Word(0);  // no creation data
    ++data_[countIndex_];
    return *this;
}

void DialogTemplate::Dword(DWORD value)
{
    Word(LOWORD(value));
    Word(HIWORD(value));
}

void DialogTemplate::String(const wchar_t* text)
{
    for (; *text; ++text) Word(static_cast<WORD>(*text));
    Word(0);
}

void DialogTemplate::AlignDword()
{
    if (data_.size() % 2) Word(0);
}

}  // namespace flattest
