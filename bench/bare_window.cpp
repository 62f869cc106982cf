// The reference for the start-up figures: the least a Win32 program does to show a painted
// window. It writes "first paint" to the debug output after its first WM_PAINT and ends.
#include <windows.h>

namespace {

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        HDC dc = ::BeginPaint(hwnd, &paint);
        ::FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::EndPaint(hwnd, &paint);
        ::OutputDebugStringW(L"bare window: first paint\n");
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"BareWindow";
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::RegisterClassW(&windowClass);
    HWND hwnd = ::CreateWindowExW(0, L"BareWindow", L"bare window", WS_POPUP, 100, 100, 800, 520, nullptr, nullptr,
                                  instance, nullptr);
    ::ShowWindow(hwnd, SW_SHOW);
    ::UpdateWindow(hwnd);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
