// The registration form: checks beside each field as the user moves through it, and the
// registration check before the lobby client is started with the new account.
#include <windows.h>

#include "common/fixed_text.h"
#include "registration/field_rules.h"
#include "uilib/option.h"
#include "window/launcher_wnd.h"

namespace {

constexpr wchar_t kValidIcon[] = L"file='LobbexUpdate\\tooltip.png' source='16,0,32,16'";
constexpr wchar_t kInvalidIcon[] = L"file='LobbexUpdate\\tooltip.png' source='0,0,16,16'";
constexpr wchar_t kErrorTitle[] = L"错误提示";

bool nameIs(const CControlUI* control, const wchar_t* name) {
    return control != nullptr && ::_wcsicmp(control->GetName().c_str(), name) == 0;
}

bool typeIs(const std::wstring& type, const wchar_t* expected) {
    return ::_wcsicmp(type.c_str(), expected) == 0;
}

}  // namespace

bool CLauncherWnd::CheckAccountName(std::wstring_view text) {
    switch (checkAccountName(text)) {
        case AccountNameCheck::BadLength:
            SetControlText(L"Text_Account", kAccountLengthText);
            return false;
        case AccountNameCheck::OnlyDigits:
            SetControlText(L"Text_Account", kAccountDigitsText);
            return false;
        case AccountNameCheck::Valid:
            break;
    }
    return true;
}

bool CLauncherWnd::CheckNickname(std::wstring_view text) {
    if (!checkNickname(text)) {
        SetControlText(L"Text_GameName", kNicknameHint);
        return false;
    }
    return true;
}

bool CLauncherWnd::CheckPassword(std::wstring_view text, std::wstring_view label) {
    auto fieldText = [this](const wchar_t* name) {
        CControlUI* field = PaintManager().FindControl(name);
        return field != nullptr ? field->GetText() : std::wstring();
    };
    switch (checkPassword(text, fieldText(L"edit_PassWord_1"), fieldText(L"edit_PassWord_2"))) {
        case PasswordCheck::BadLength:
            SetControlText(label, kPasswordHint);
            return false;
        case PasswordCheck::Mismatch:
            SetControlText(label, kPasswordMismatchText);
            return false;
        case PasswordCheck::Valid:
            break;
    }
    return true;
}

bool CLauncherWnd::CheckVerifyCode(std::wstring_view text) const {
    return checkVerifyCode(verifyCode, text);
}

bool CLauncherWnd::HandleRegisterField(UiNotification& notification) {
    CControlUI* sender = notification.sender;
    const bool killFocus = typeIs(notification.type, L"killfocus");
    const bool textChanged = typeIs(notification.type, L"textchanged");

    // The focus-loss steps: the icon shows, the rule writes its own failure text; a valid
    // text clears the label and is kept (cut to 31 characters), an invalid one empties it.
    auto leaveField = [&](const wchar_t* icon, bool valid, const wchar_t* label, wchar_t(*stored)[32]) {
        CControlUI* image = PaintManager().FindControl(icon);
        if (image != nullptr) {
            image->SetVisible(true);
        }
        if (valid) {
            if (image != nullptr) {
                image->SetAttribute(L"bkimage", kValidIcon);
            }
            SetControlText(label, L"");
            if (stored != nullptr) {
                copyFixedText(*stored, sender->GetText());
            }
        } else {
            if (stored != nullptr) {
                (*stored)[0] = L'\0';
            }
            if (image != nullptr) {
                image->SetAttribute(L"bkimage", kInvalidIcon);
            }
        }
    };

    if (nameIs(sender, L"edit_PassWord_1")) {
        if (textChanged) {
            const std::wstring option = L"passlv" + std::to_wstring(PasswordStrength(sender->GetText())) + L"_option";
            if (auto* level = Find<COptionUI>(option)) {
                level->SetSelected(true);
            }
        } else if (killFocus) {
            leaveField(L"Image_PassWord_1", CheckPassword(sender->GetText(), L"Text_PassWord_1"), L"Text_PassWord_1",
                       nullptr);
        } else {
            SetControlText(L"Text_PassWord_1", kPasswordHint);
        }
        return true;
    }
    if (textChanged || sender == nullptr) {
        return false;
    }
    if (nameIs(sender, L"edit_Account")) {
        if (killFocus) {
            leaveField(L"Image_Account", CheckAccountName(sender->GetText()), L"Text_Account", &registration.account);
        } else {
            SetControlText(L"Text_Account", kAccountHint);
        }
        return true;
    }
    if (nameIs(sender, L"edit_GameName")) {
        if (killFocus) {
            leaveField(L"Image_GameName", CheckNickname(sender->GetText()), L"Text_GameName", &registration.nickname);
        } else {
            SetControlText(L"Text_GameName", kNicknameHint);
        }
        return true;
    }
    if (nameIs(sender, L"edit_PassWord_2")) {
        if (killFocus) {
            leaveField(L"Image_PassWord_2", CheckPassword(sender->GetText(), L"Text_PassWord_2"), L"Text_PassWord_2",
                       nullptr);
        } else {
            SetControlText(L"Text_PassWord_2", kPasswordHint);
        }
        return true;
    }
    if (nameIs(sender, L"edit_OK")) {
        if (killFocus) {
            CControlUI* image = PaintManager().FindControl(L"Image_OK");
            if (image != nullptr) {
                image->SetVisible(true);
                image->SetAttribute(L"bkimage", CheckVerifyCode(sender->GetText()) ? kValidIcon : kInvalidIcon);
            }
        } else if (verifyCode.empty()) {
            ShowVerifyCode();
        }
        return true;
    }
    return false;
}

bool CLauncherWnd::CheckRegistration() {
    auto text = [this](const wchar_t* name) {
        CControlUI* control = PaintManager().FindControl(name);
        return control != nullptr ? control->GetText() : std::wstring();
    };
    auto refuse = [this](const wchar_t* message) {
        (void)messages_->show(kErrorTitle, message, 0);
        return false;
    };
    if (registration.account[0] == L'\0' || !CheckAccountName(text(L"edit_Account"))) {
        return refuse(L"账号输入错误,请重新输入！");
    }
    if (registration.nickname[0] == L'\0' || !CheckNickname(text(L"edit_GameName"))) {
        return refuse(L"昵称输入错误 请重新输入！");
    }
    const std::wstring first = text(L"edit_PassWord_1");
    if (text(L"edit_PassWord_2").empty() || first.empty()) {
        return refuse(L"密码不能为空 请重新输入！");
    }
    if (!CheckPassword(first, L"Text_PassWord_1")) {
        return refuse(L"密码错误 请重新输入！");
    }
    copyFixedText(registration.password, first);
    auto* boy = Find<COptionUI>(L"Option_boy");
    registration.gender = boy != nullptr && boy->IsSelected() ? 1 : 0;
    if (!CheckVerifyCode(text(L"edit_OK"))) {
        return refuse(L"校验码错误");
    }
    return agreementAccepted;
}
