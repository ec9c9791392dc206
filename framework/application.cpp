#include "application.h"

namespace tarvo::ui {

namespace {
HINSTANCE g_instance = nullptr;
}

int Application::Run(HINSTANCE instance) {
    g_instance = instance;
    return InitInstance();
}

HINSTANCE Application::Instance() {
    return g_instance ? g_instance : GetModuleHandleW(nullptr);
}

HMODULE Application::ResourceModule() { return Instance(); }

}  // namespace tarvo::ui
