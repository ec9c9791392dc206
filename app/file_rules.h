// How the main dialog judges the files the user chooses.
#pragma once

#include <string>

namespace tarvo {

enum class PhoneBookFormat { None, Csv, VCard };

// From the last three characters: "csv" or "CSV", "vcf" or "VCF". Mixed case
// such as "Csv" gives no format.
PhoneBookFormat FormatFromPath(const std::wstring& path);
// The name the phone book travels under: "backup.csv" or "backup.vcf".
std::string AnnouncedName(PhoneBookFormat format);
// The whole path in lower case, for every script the system knows.
std::wstring LowerCasePath(std::wstring path);
// A substring search anywhere in the path, not a test of its ending.
bool PathContains(const std::wstring& path, const wchar_t* part);

}  // namespace tarvo
