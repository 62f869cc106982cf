#pragma once
// The registration form: a check beside each field as the user moves through it, and the
// check of the whole form before the lobby client is started with the new account.
#include <optional>
#include <string>
#include <string_view>

#include "common/message_presenter.h"
#include "uilib/notify.h"
#include "window/account_record.h"
#include "window/skin_controls.h"

class RegistrationForm {
public:
    RegistrationForm(const SkinControls& skin, MessagePresenter& messages) : skin_(skin), messages_(messages) {}

    // A focus or text notification of one of the form's fields: shows the field's hint, or its
    // check (icon and label) when it is left, and keeps a valid account or nickname. False for
    // any other control, and for a text change of a field but the first password.
    bool handleField(const UiNotification& notification);
    // Checks every field as it stands, telling the user what is wrong; the data the lobby
    // client gets when all passed (exactly what was checked).
    [[nodiscard]] std::optional<RegistrationData> check();

    // A new four-digit verification code, shown in Text_Number.
    void newVerifyCode();
    const std::wstring& verifyCode() const { return verifyCode_; }
    // The agreement check box: accepted while it is ticked.
    void setAgreementAccepted(bool accepted) { agreementAccepted_ = accepted; }
    bool agreementAccepted() const { return agreementAccepted_; }
    // What the fields kept when they were last left.
    const RegistrationData& kept() const { return kept_; }

private:
    enum class Rule { Account, Nickname, Password, VerifyCode };
    struct Field;
    static const Field* fieldFor(const CControlUI* sender);
    // The rule's check of a text; a failing one writes its text into the field's label.
    bool passes(const Field& field, std::wstring_view text) const;
    // The icon and label after the field is left; a valid account or nickname is kept.
    void leave(const Field& field, std::wstring_view text);

    const SkinControls& skin_;
    MessagePresenter& messages_;
    std::wstring verifyCode_;
    bool agreementAccepted_ = true;
    RegistrationData kept_{};
};
