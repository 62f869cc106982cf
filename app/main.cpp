// LobbexLauncher.exe: the launcher and updater players start instead of Lobbex.exe.
#include <windows.h>

#include "app/launcher_app.h"

namespace {

CLauncherApp theApp;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return theApp.Run(instance, ::GetCommandLineW());
}
