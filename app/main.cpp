#include "setup_tool_app.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    tarvo::SetupToolApp app;
    return app.Run(instance);
}
