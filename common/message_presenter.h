#pragma once
// The one way the launcher puts a message before the user: the skinned modal message box in
// the program, a recording fake in tests. Any layer may ask; only the program decides how.
#include <string>

// The buttons a message offers.
enum class MessageButtons : unsigned {
    Ok = 0,
    OkCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
};

// Which button closed a message, as the message box's result code.
enum class MessageAnswer : unsigned {
    CloseButton = 1,
    ThirdButton = 2,
    FirstButton = 6,  // "是", "确定", "中止", "重试" as the buttons go
    SecondButton = 7,
};

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows title and text with the buttons on the calling thread and returns the button that
    // closed it.
    virtual MessageAnswer show(const std::wstring& title, const std::wstring& text, MessageButtons buttons) = 0;
};
