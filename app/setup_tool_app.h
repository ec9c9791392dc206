// Start-up: one copy only, COM, the flat look, the main dialog's class, and
// the main dialog for the rest of the run.
#pragma once

#include "framework/application.h"

namespace tarvo {

inline constexpr const wchar_t* kMainWindowClass = L"TarvoMgr";
inline constexpr const wchar_t* kEnglishTitle = L"TarvoManager";

class SetupToolApp final : public ui::Application {
public:
    int InitInstance() override;

private:
    static bool AnotherCopyRuns();
    static void InstallFlatLook();
    static void RegisterMainWindowClass();
};

}  // namespace tarvo
