#pragma once
// The one way the launcher puts a message before the user: the skinned modal message box in
// the program, a recording fake in tests.
#include <string>

class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    // Shows title and text with a button style (its low 4 bits: 0 OK, 1 OK/Cancel,
    // 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel) on the calling thread
    // and returns the result code of the button that closed it: 6 for the first button,
    // 7 for the second, 2 for the third, 1 for the close button.
    virtual unsigned show(const std::wstring& title, const std::wstring& text, unsigned style) = 0;
};
