#pragma once
// Notifications of the controls to the code that owns a window, and input events that the
// paint manager hands to a control.
#include <windows.h>

#include "uilib/notify_type.h"

class CControlUI;

struct UiNotification {
    UiNotifyType type = UiNotifyType::Click;
    CControlUI* sender = nullptr;
    POINT point{};  // the mouse position in client coordinates when it applies
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Receives the notifications of one paint manager, on the thread of its window.
class INotifyUI {
public:
    virtual void Notify(UiNotification& notification) = 0;

protected:
    ~INotifyUI() = default;
};

enum class UiEventType {
    MouseEnter,
    MouseLeave,
    MouseMove,
    ButtonDown,
    ButtonUp,
    DoubleClick,
    KeyDown,
    SetFocus,
    KillFocus,
};

struct UiEvent {
    UiEventType type = UiEventType::MouseMove;
    POINT point{};
    WPARAM wParam = 0;  // the virtual key for KeyDown
};
