// The program object: one per process, run from WinMain.
#pragma once

#include <windows.h>

namespace tarvo::ui {

class Application {
public:
    virtual ~Application() = default;
    // Runs the whole program; its result is the process exit code.
    virtual int InitInstance() = 0;

    int Run(HINSTANCE instance);

    static HINSTANCE Instance();
    // The module that holds the dialogs, strings and icons.
    static HMODULE ResourceModule();
};

}  // namespace tarvo::ui
