#include "text.h"

#include "application.h"

namespace tarvo::ui {

std::wstring LoadText(UINT id) {
    const wchar_t* text = nullptr;
    // A zero buffer length returns a pointer into the resource itself.
    int length = LoadStringW(Application::ResourceModule(), id,
                             reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, size_t(length)) : std::wstring();
}

std::wstring LoadTextIn(UINT id, LANGID language) {
    // Strings live in blocks of 16; each entry is a length and UTF-16 text.
    HMODULE module = Application::ResourceModule();
    HRSRC block = FindResourceExW(module, MAKEINTRESOURCEW(6),  // RT_STRING
                                  MAKEINTRESOURCEW(id / 16 + 1), language);
    if (!block) return {};
    auto* entry = static_cast<const WCHAR*>(LockResource(LoadResource(module, block)));
    if (!entry) return {};
    for (UINT i = 0; i < id % 16; ++i) entry += 1 + *entry;
    return std::wstring(entry + 1, *entry);
}

std::wstring Utf8ToWide(std::string_view text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string narrow(size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), narrow.data(), length,
                        nullptr, nullptr);
    return narrow;
}

std::wstring ByteCountText(long long bytes) { return NumberText(bytes) + L" bytes"; }

std::wstring NumberText(long long value) { return std::to_wstring(value); }

}  // namespace tarvo::ui
