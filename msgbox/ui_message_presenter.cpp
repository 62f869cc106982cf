#include "msgbox/ui_message_presenter.h"

#include <utility>

#include "msgbox/ui_information.h"

UiMessagePresenter::UiMessagePresenter(std::function<HWND()> owner, IDialogBuilderCallback* controlFactory)
    : owner_(std::move(owner)), controlFactory_(controlFactory) {}

MessageAnswer UiMessagePresenter::show(const std::wstring& title, const std::wstring& text, MessageButtons buttons) {
    CUiInformation box(controlFactory_, owner_ ? owner_() : nullptr);
    return static_cast<MessageAnswer>(box.ShowMessageBox(title, text, static_cast<unsigned>(buttons)));
}
