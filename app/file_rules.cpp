#include "file_rules.h"

#include <windows.h>

namespace tarvo {

PhoneBookFormat FormatFromPath(const std::wstring& path) {
    if (path.size() < 3) return PhoneBookFormat::None;
    const std::wstring ending = path.substr(path.size() - 3);
    if (ending == L"csv" || ending == L"CSV") return PhoneBookFormat::Csv;
    if (ending == L"vcf" || ending == L"VCF") return PhoneBookFormat::VCard;
    return PhoneBookFormat::None;
}

std::string AnnouncedName(PhoneBookFormat format) {
    return format == PhoneBookFormat::Csv ? "backup.csv" : "backup.vcf";
}

std::wstring LowerCasePath(std::wstring path) {
    if (!path.empty()) CharLowerBuffW(path.data(), DWORD(path.size()));
    return path;
}

bool PathContains(const std::wstring& path, const wchar_t* part) {
    return path.find(part) != std::wstring::npos;
}

}  // namespace tarvo
