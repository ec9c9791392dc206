#include "registry_value.h"

#include <algorithm>

namespace tarvo {

bool RegistryValueBuffer::ToText(std::wstring& text) const {
    if (type != REG_SZ && type != REG_EXPAND_SZ && type != REG_LINK) return false;
    const auto* begin = reinterpret_cast<const wchar_t*>(data.data());
    const auto* end = begin + data.size() / sizeof(wchar_t);
    text.assign(begin, std::find(begin, end, L'\0'));
    return true;
}

int RegistryValue::Read(const wchar_t* subkey, const wchar_t* valueName,
                        RegistryValueBuffer& buffer) const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(m_hRoot, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    DWORD type = 0;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        buffer.data.assign(size, 0);
        status = RegQueryValueExW(key, valueName, nullptr, &type, buffer.data.data(), &size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        buffer.data.clear();
        return 0;
    }
    buffer.data.resize(size);
    buffer.type = type;
    return 1;
}

int RegistryValue::QueryString(const wchar_t* subkey, const wchar_t* valueName,
                               std::wstring& text) const {
    RegistryValueBuffer buffer;
    return Read(subkey, valueName, buffer) && buffer.ToText(text) ? 1 : 0;
}

}  // namespace tarvo
