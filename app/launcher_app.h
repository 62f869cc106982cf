#pragma once
// The launcher's application object: one running launcher at a time, the platform services,
// the main window's class, and the main window.
#include "framework/application.h"

// The single-instance mutex, the main window's class and the class the check looks for.
inline constexpr wchar_t kLauncherClassName[] = L"KorvaLobbex";

class CLauncherApp : public Application {
public:
    bool InitApplication() override;
    int ExitApplication() override { return Application::ExitApplication(); }
};

// False when another launcher runs or is starting (its window, if any, is brought to the
// front). The check is skipped when the first plain parameter contains "|".
bool mayRunThisLauncher(const std::wstring& firstParameter);
