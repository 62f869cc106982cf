#pragma once
// The program's message presenter: every message goes through the skinned box.
#include <windows.h>

#include <functional>

#include "common/message_presenter.h"
#include "uilib/dialog_builder.h"

class UiMessagePresenter : public MessagePresenter {
public:
    // owner is asked at each message for the window the box belongs to (the main window once it
    // exists); controlFactory builds the skin's custom controls. Either may be empty.
    explicit UiMessagePresenter(std::function<HWND()> owner = {}, IDialogBuilderCallback* controlFactory = nullptr);

    MessageAnswer show(const std::wstring& title, const std::wstring& text, MessageButtons buttons) override;

private:
    std::function<HWND()> owner_;
    IDialogBuilderCallback* controlFactory_;
};
