// The common Open and Save As dialogs.
#pragma once

#include <windows.h>

#include <string>

namespace tarvo::ui {

struct FileDialogOptions {
    bool open = true;               // Open, or Save As
    std::wstring defaultExtension;  // without the dot
    std::wstring initialName;
    DWORD flags = 0;                // OFN_...
    // Description and pattern pairs, each followed by a bar:
    // "vCard Files(*.vcf)|*.vcf|CSV Files(*.csv)|*.csv|".
    std::wstring filter;
    HWND owner = nullptr;
};

// The chosen full path, or an empty string when the user cancelled.
std::wstring RunFileDialog(const FileDialogOptions& options);

// The filter with each bar replaced by a NUL, as the dialog expects it.
std::wstring FilterForDialog(const std::wstring& barFilter);

}  // namespace tarvo::ui
