#pragma once
// The application object: start-up, the message loop with its pre-translation hook, exit.
#include <windows.h>

#include <stdexcept>
#include <string>

class MainWindow;

// Raised when start-up cannot get a resource it needs (a window class, say).
class ResourceFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* Current();

    // Start-up; false ends the process without a message loop. The base does nothing.
    virtual bool InitApplication() { return true; }
    // The exit code; the base returns the code the message loop ended with.
    virtual int ExitApplication() { return exitCode_; }

    // InitApplication, the message loop while it runs, ExitApplication.
    int Run(HINSTANCE instance, const wchar_t* commandLine);

    HINSTANCE Instance() const { return instance_; }
    const std::wstring& CommandLine() const { return commandLine_; }

    // Registers a window class of this module; raises ResourceFailure when it cannot.
    void RegisterWindowClass(WNDCLASSW windowClass);
    // OLE for this thread, the rich edit control (version 2), the common controls.
    void InitPlatformServices();

    // The window whose destruction ends the message loop.
    MainWindow* mainWindow = nullptr;
    // To be called by a window once it is destroyed: the main window's end ends the loop.
    static void WindowGone(const MainWindow* window);

protected:
    // The exit code ExitApplication returns when start-up ends the process.
    void SetExitCode(int code) { exitCode_ = code; }
    // One pass of the loop's hook: the main window's pre-translation, when there is one.
    virtual bool PreTranslateMessage(MSG& message);

private:
    HINSTANCE instance_ = nullptr;
    std::wstring commandLine_;
    int exitCode_ = 0;
};
