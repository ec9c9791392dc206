// User-visible texts by string-table id, for code that does not load them from
// Windows resources (the command-line tool). Both read res/strings.def.
#pragma once

namespace tarvo {

enum class Language { English, Japanese };

// UTF-8 text of string `id`, or an empty string when there is none.
const char* LoadText(int id, Language language);

}  // namespace tarvo
