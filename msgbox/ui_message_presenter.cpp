#include "msgbox/ui_message_presenter.h"

#include <utility>

#include "msgbox/ui_information.h"

UiMessagePresenter::UiMessagePresenter(std::function<HWND()> owner, IDialogBuilderCallback* controlFactory)
    : owner_(std::move(owner)), controlFactory_(controlFactory) {}

unsigned UiMessagePresenter::show(const std::wstring& title, const std::wstring& text, unsigned style) {
    CUiInformation box(controlFactory_, owner_ ? owner_() : nullptr);
    return box.ShowMessageBox(title, text, style);
}
