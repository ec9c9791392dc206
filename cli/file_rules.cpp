#include "file_rules.h"

#include <algorithm>
#include <cctype>

namespace tarvo::cli {

namespace {

bool EndsWithIgnoringCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - ptrdiff_t(suffix.size()),
                      [](char a, char b) {
                          return std::tolower(uint8_t(a)) == std::tolower(uint8_t(b));
                      });
}

}  // namespace

std::optional<std::string> PhoneBookAnnouncedName(const std::string& path) {
    if (EndsWithIgnoringCase(path, ".csv")) return "backup.csv";
    if (EndsWithIgnoringCase(path, ".vcf")) return "backup.vcf";
    return std::nullopt;
}

bool IsFirmwarePackage(const std::string& path) { return EndsWithIgnoringCase(path, ".zip"); }

}  // namespace tarvo::cli
