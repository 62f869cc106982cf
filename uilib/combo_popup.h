#pragma once
// The drop-down list of a combo box: a pop-up window below it that holds the mouse until an
// entry is chosen or the user clicks elsewhere.
#include <windows.h>

class CComboUI;

class CComboPopup {
public:
    // Opens the list under combo; null when the window cannot be made.
    static CComboPopup* Open(CComboUI& combo);
    // Closes the list; the object is gone afterwards.
    void Dismiss();
    // The combo's entries changed while the list is open.
    void ItemsChanged();

private:
    explicit CComboPopup(CComboUI& combo) : combo_(combo) {}
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    int ItemAt(POINT client) const;
    int ContentHeight() const;

    CComboUI& combo_;
    HWND window_ = nullptr;
    int hot_ = -1;
    int scroll_ = 0;
    bool closing_ = false;
};
