// Which local files each operation takes, and the name a file travels under.
#pragma once

#include <optional>
#include <string>

namespace tarvo::cli {

// "backup.vcf" or "backup.csv" after the path's extension (any case), or
// nothing for another extension.
std::optional<std::string> PhoneBookAnnouncedName(const std::string& path);
bool IsFirmwarePackage(const std::string& path);

inline constexpr const char* kConfigAnnouncedName = "mcascfg.txt";
inline constexpr const char* kFirmwareAnnouncedName = "firmapp.zip";

}  // namespace tarvo::cli
