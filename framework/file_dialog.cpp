#include "file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace tarvo::ui {

std::wstring FilterForDialog(const std::wstring& barFilter) {
    std::wstring filter = barFilter;
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.push_back(L'\0');  // the list ends with an empty entry
    return filter;
}

std::wstring RunFileDialog(const FileDialogOptions& options) {
    // Long names in deep folders: well beyond MAX_PATH.
    std::vector<wchar_t> path(32768, L'\0');
    std::copy_n(options.initialName.c_str(),
                std::min(options.initialName.size(), path.size() - 1), path.begin());
    std::wstring filter = FilterForDialog(options.filter);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = options.owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = DWORD(path.size());
    dialog.lpstrDefExt = options.defaultExtension.empty() ? nullptr
                                                          : options.defaultExtension.c_str();
    dialog.Flags = options.flags;
    BOOL chosen = options.open ? GetOpenFileNameW(&dialog) : GetSaveFileNameW(&dialog);
    return chosen ? std::wstring(path.data()) : std::wstring();
}

}  // namespace tarvo::ui
