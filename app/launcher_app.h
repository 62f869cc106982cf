#pragma once
// The launcher's application object: one running launcher at a time, the platform services,
// the main window's class, and the main window.
#include <string>

#include "framework/application.h"
#include "framework/single_instance.h"
#include "window/launcher_wnd.h"

class CLauncherApp : public Application {
public:
    bool InitApplication() override;
    int ExitApplication() override { return Application::ExitApplication(); }

private:
    // False when another launcher runs or is starting (its window, if any, is brought to the
    // front); this one then owns the mutex for its life. The check is skipped for a start
    // handed over by the lobby client (the first plain parameter contains "|").
    bool MayRun(bool handedOver);
    // Tells the player that the launcher cannot go on (format takes the error code), and ends
    // it with exit code 1.
    bool FailStart(const wchar_t* format, DWORD code);

    SingleInstance instance_;
};
