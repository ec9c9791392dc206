// Reads text values from the registry: the phone's port from the serial-port
// map, and the all-users application-data folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tarvo {

// The raw bytes and type of one value, as read.
struct RegistryValueBuffer {
    std::vector<BYTE> data;
    DWORD type = 0;

    // REG_SZ, REG_EXPAND_SZ and REG_LINK give their text up to the first NUL
    // (references are not expanded); other types fail, leaving `text` as it was.
    bool ToText(std::wstring& text) const;
};

class RegistryValue {
public:
    explicit RegistryValue(HKEY root) : m_hRoot(root) {}
    virtual ~RegistryValue() = default;

    // 1 with the value's bytes and type in `buffer`; 0 when the key or value
    // is missing or cannot be read.
    int Read(const wchar_t* subkey, const wchar_t* valueName, RegistryValueBuffer& buffer) const;
    // 1 when the value exists and is text; `text` is assigned only then.
    int QueryString(const wchar_t* subkey, const wchar_t* valueName, std::wstring& text) const;

private:
    HKEY m_hRoot;
};

}  // namespace tarvo
