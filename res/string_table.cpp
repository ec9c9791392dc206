#include "string_table.h"

namespace tarvo {

namespace {

struct Entry {
    int id;
    const char* english;
    const char* japanese;
};

constexpr Entry kStrings[] = {
#define TARVO_STRING(id, en, ja) {id, en, ja},
#include "strings.def"
#undef TARVO_STRING
};

}  // namespace

const char* LoadText(int id, Language language) {
    for (const Entry& entry : kStrings) {
        if (entry.id == id) return language == Language::Japanese ? entry.japanese : entry.english;
    }
    return "";
}

}  // namespace tarvo
