// Texts of the user interface: resource strings by id and the conversions
// between UTF-8 (the link layer and the string table) and UTF-16 (Win32).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tarvo::ui {

// String `id` in the language the system picks for the user; empty when the
// resource has none.
std::wstring LoadText(UINT id);
// String `id` from the string table of one resource language.
std::wstring LoadTextIn(UINT id, LANGID language);

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// "%d bytes" and "%d".
std::wstring ByteCountText(long long bytes);
std::wstring NumberText(long long value);

}  // namespace tarvo::ui
