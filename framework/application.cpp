#include "framework/application.h"

#include <commctrl.h>
#include <ole2.h>

#include "framework/main_window.h"

namespace {

Application* currentApplication = nullptr;

}  // namespace

Application::Application() {
    currentApplication = this;
}

Application::~Application() {
    if (currentApplication == this) {
        currentApplication = nullptr;
    }
}

Application* Application::Current() {
    return currentApplication;
}

void Application::RegisterWindowClass(WNDCLASSW windowClass) {
    windowClass.hInstance = instance_;
    if (!::RegisterClassW(&windowClass)) {
        throw ResourceFailure("window class registration failed");
    }
}

void Application::InitPlatformServices() {
    ::OleInitialize(nullptr);
    ::LoadLibraryW(L"riched20.dll");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);
}

void Application::WindowGone(const MainWindow* window) {
    Application* application = Current();
    if (application != nullptr && window != nullptr && application->mainWindow == window) {
        application->mainWindow = nullptr;
        ::PostQuitMessage(0);
    }
}

bool Application::PreTranslateMessage(MSG& message) {
    return mainWindow != nullptr && mainWindow->PreTranslateMessage(message);
}

int Application::Run(HINSTANCE instance, const wchar_t* commandLine) {
    instance_ = instance;
    commandLine_ = commandLine != nullptr ? commandLine : L"";
    try {
        if (!InitApplication()) {
            return ExitApplication();
        }
    } catch (const ResourceFailure&) {
        return 1;
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!PreTranslateMessage(message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    exitCode_ = static_cast<int>(message.wParam);
    return ExitApplication();
}
