#include "window/registration_form.h"

#include <cstdlib>

#include "common/ascii_case.h"
#include "common/fixed_text.h"
#include "registration/field_rules.h"
#include "window/launch_arguments.h"
#include "window/password_strength.h"

namespace {

constexpr wchar_t kValidIcon[] = L"file='LobbexUpdate\\tooltip.png' source='16,0,32,16'";
constexpr wchar_t kInvalidIcon[] = L"file='LobbexUpdate\\tooltip.png' source='0,0,16,16'";
constexpr wchar_t kErrorTitle[] = L"错误提示";

}  // namespace

// One field of the form: its edit box, the icon and label beside it, the hint shown when it
// gets the focus, its rule, and where a valid text is kept.
struct RegistrationForm::Field {
    const wchar_t* edit;
    const wchar_t* icon;
    const wchar_t* label;  // null: the field has none
    const wchar_t* hint;
    Rule rule;
    wchar_t (RegistrationData::*kept)[32];  // null: not kept
};

const RegistrationForm::Field* RegistrationForm::fieldFor(const CControlUI* sender) {
    static const Field kFields[] = {
        {L"edit_Account", L"Image_Account", L"Text_Account", kAccountHint, Rule::Account, &RegistrationData::account},
        {L"edit_GameName", L"Image_GameName", L"Text_GameName", kNicknameHint, Rule::Nickname,
         &RegistrationData::nickname},
        {L"edit_PassWord_1", L"Image_PassWord_1", L"Text_PassWord_1", kPasswordHint, Rule::Password, nullptr},
        {L"edit_PassWord_2", L"Image_PassWord_2", L"Text_PassWord_2", kPasswordHint, Rule::Password, nullptr},
        {L"edit_OK", L"Image_OK", nullptr, nullptr, Rule::VerifyCode, nullptr},
    };
    if (sender == nullptr) {
        return nullptr;
    }
    for (const Field& field : kFields) {
        if (equalsIgnoringAsciiCase(sender->GetName(), field.edit)) {
            return &field;
        }
    }
    return nullptr;
}

bool RegistrationForm::passes(const Field& field, std::wstring_view text) const {
    switch (field.rule) {
        case Rule::Account:
            switch (checkAccountName(text)) {
                case AccountNameCheck::BadLength:
                    skin_.setText(field.label, kAccountLengthText);
                    return false;
                case AccountNameCheck::OnlyDigits:
                    skin_.setText(field.label, kAccountDigitsText);
                    return false;
                case AccountNameCheck::Valid:
                    return true;
            }
            return false;
        case Rule::Nickname:
            if (!checkNickname(text)) {
                skin_.setText(field.label, kNicknameHint);
                return false;
            }
            return true;
        case Rule::Password:
            switch (checkPassword(text, skin_.text(L"edit_PassWord_1"), skin_.text(L"edit_PassWord_2"))) {
                case PasswordCheck::BadLength:
                    skin_.setText(field.label, kPasswordHint);
                    return false;
                case PasswordCheck::Mismatch:
                    skin_.setText(field.label, kPasswordMismatchText);
                    return false;
                case PasswordCheck::Valid:
                    return true;
            }
            return false;
        case Rule::VerifyCode:
            return checkVerifyCode(verifyCode_, text);
    }
    return false;
}

void RegistrationForm::leave(const Field& field, std::wstring_view text) {
    const bool valid = passes(field, text);
    CControlUI* icon = skin_.find(field.icon);
    if (icon != nullptr) {
        icon->SetVisible(true);
        icon->SetAttribute(L"bkimage", valid ? kValidIcon : kInvalidIcon);
    }
    if (field.rule == Rule::VerifyCode) {
        return;  // no label, nothing kept
    }
    if (valid) {
        skin_.setText(field.label, L"");
    }
    if (field.kept != nullptr) {
        // A valid text is kept (cut to 31 characters), an invalid one empties what was kept.
        wchar_t(&kept)[32] = kept_.*field.kept;
        if (valid) {
            copyFixedText(kept, text);
        } else {
            kept[0] = L'\0';
        }
    }
}

bool RegistrationForm::handleField(const UiNotification& notification) {
    const Field* field = fieldFor(notification.sender);
    if (field == nullptr) {
        return false;
    }
    const std::wstring text = notification.sender->GetText();
    if (notification.type == UiNotifyType::TextChanged) {
        if (!equalsIgnoringAsciiCase(field->edit, L"edit_PassWord_1")) {
            return false;
        }
        const std::wstring option = L"passlv" + std::to_wstring(passwordStrength(text)) + L"_option";
        skin_.setSelected(option, true);
        return true;
    }
    if (notification.type == UiNotifyType::KillFocus) {
        leave(*field, text);
    } else if (field->rule == Rule::VerifyCode) {
        if (verifyCode_.empty()) {
            newVerifyCode();
        }
    } else {
        skin_.setText(field->label, field->hint);
    }
    return true;
}

std::optional<RegistrationData> RegistrationForm::check() {
    auto refuse = [this](const wchar_t* message) {
        (void)messages_.show(kErrorTitle, message, MessageButtons::Ok);
        return std::nullopt;
    };
    const Field* account = fieldFor(skin_.find(L"edit_Account"));
    const Field* nickname = fieldFor(skin_.find(L"edit_GameName"));
    const std::wstring accountText = skin_.text(L"edit_Account");
    const std::wstring nicknameText = skin_.text(L"edit_GameName");
    if (account == nullptr || !passes(*account, accountText)) {
        return refuse(L"账号输入错误,请重新输入！");
    }
    if (nickname == nullptr || !passes(*nickname, nicknameText)) {
        return refuse(L"昵称输入错误 请重新输入！");
    }
    const std::wstring first = skin_.text(L"edit_PassWord_1");
    if (skin_.text(L"edit_PassWord_2").empty() || first.empty()) {
        return refuse(L"密码不能为空 请重新输入！");
    }
    const Field* password = fieldFor(skin_.find(L"edit_PassWord_1"));
    if (password == nullptr || !passes(*password, first)) {
        return refuse(L"密码错误 请重新输入！");
    }
    if (!fitsArgumentField(accountText) || !fitsArgumentField(nicknameText) || !fitsArgumentField(first)) {
        return refuse(L"账号、昵称和密码不能包含字符“|”");
    }
    if (!checkVerifyCode(verifyCode_, skin_.text(L"edit_OK"))) {
        return refuse(L"校验码错误");
    }
    if (!agreementAccepted_) {
        return std::nullopt;
    }
    RegistrationData data;
    copyFixedText(data.account, accountText);
    copyFixedText(data.nickname, nicknameText);
    copyFixedText(data.password, first);
    data.gender = skin_.isSelected(L"Option_boy") ? 1 : 0;
    return data;
}

void RegistrationForm::newVerifyCode() {
    verifyCode_.clear();
    for (int i = 0; i < 4; ++i) {
        verifyCode_ += std::to_wstring(std::rand() % 10);
    }
    skin_.setText(L"Text_Number", verifyCode_);
}
