#include "setup_tool_app.h"

#include "framework/text.h"
#include "main_dialog.h"
#include "resource.h"

#include <objbase.h>

#ifdef TARVO_HAVE_FLATLOOK
#include "flatlook/flat_look_manager.h"
#endif

namespace tarvo {

int SetupToolApp::InitInstance() {
    if (AnotherCopyRuns()) return 0;
    CoInitialize(nullptr);  // the file dialogs want it; a failure is not fatal
    InstallFlatLook();
    RegisterMainWindowClass();
    MainDialog dialog(nullptr);
    dialog.DoModal();
    return 0;
}

// A copy's main window, or any of its message boxes, carries one of the titles.
bool SetupToolApp::AnotherCopyRuns() {
    if (FindWindowW(nullptr, kEnglishTitle)) return true;
    const std::wstring title = ui::LoadText(IDS_APP_TITLE);
    return !title.empty() && FindWindowW(nullptr, title.c_str());
}

void SetupToolApp::InstallFlatLook() {
#ifdef TARVO_HAVE_FLATLOOK
    // FLAT LOOK: the one call site; every dialog of this thread is taken over
    // when it receives WM_INITDIALOG.
    FlatLookManager::Install(-1, ATTACH_ON_INITDIALOG);
#endif
}

// The standard dialog class under the program's own name, so that the main
// window can be told from other dialogs.
void SetupToolApp::RegisterMainWindowClass() {
    WNDCLASSW windowClass{};
    if (!GetClassInfoW(Instance(), L"#32770", &windowClass)) return;
    windowClass.hInstance = Instance();
    windowClass.lpszClassName = kMainWindowClass;
    RegisterClassW(&windowClass);
}

}  // namespace tarvo
