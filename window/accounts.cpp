// The accounts the lobby client remembers, and the logon form.
#include <windows.h>

#include <cwchar>

#include "common/fixed_text.h"
#include "settings/platform_reg_key.h"
#include "settings/stored_string.h"
#include "uilib/combo.h"
#include "uilib/list_label.h"
#include "uilib/option.h"
#include "window/account_index.h"
#include "window/launcher_wnd.h"

namespace {

constexpr std::int32_t kMaxAccounts = 255;
constexpr wchar_t kInputErrorTitle[] = L"错误提示";

void selectOption(COptionUI* option, bool selected) {
    if (option != nullptr) {
        option->SetSelected(selected);
    }
}

// Reads one account's values from its opened subkey.
std::unique_ptr<AccountRecord> readAccount(const wchar_t* name, const CPlatformRegKey& subkey) {
    auto record = std::make_unique<AccountRecord>();
    record->userId = static_cast<std::int32_t>(std::wcstol(name, nullptr, 10));
    (void)subkey.QueryString(L"GameID", record->gameId, 16);
    (void)subkey.QueryString(L"UserAccount", record->account, 32);
    wchar_t stored[512] = {};
    (void)subkey.QueryString(L"UserPassword", stored, 512);
    if (stored[0] != L'\0') {
        (void)DecodeStoredString(stored, record->password, 33);
    }
    return record;
}

}  // namespace

void CLauncherWnd::LoadAccounts() {
    auto* combo = Find<CComboUI>(L"Account");
    auto* account = paintManager_.FindControl(L"LogonAccount");
    auto* password = paintManager_.FindControl(L"PassWord");
    auto* save = Find<COptionUI>(L"SavePassword");

    // Fills the form with a record: its account, and its password when one is remembered.
    auto fillForm = [&](const AccountRecord& record) {
        if (account != nullptr) {
            account->SetText(fixedTextView(record.account));
        }
        if (password != nullptr && record.password[0] != L'\0') {
            selectOption(save, true);
            password->SetText(fixedTextView(record.password));
        } else {
            selectOption(save, false);
        }
    };

    CPlatformRegKey userInfo;
    if (userInfo.Open(L"Lobbex", L"UserInfo", false)) {
        const DWORD last = userInfo.QueryDword(L"LastUserID", 0);
        for (DWORD index = 0; accountCount < kMaxAccounts; ++index) {
            wchar_t name[16] = {};
            if (!userInfo.EnumSubKey(index, name, 16)) {
                break;
            }
            CPlatformRegKey subkey;
            if (subkey.Attach(userInfo.OpenSubKey(name)) == nullptr) {
                continue;
            }
            std::unique_ptr<AccountRecord> record = readAccount(name, subkey);
            if (combo != nullptr) {
                auto* item = new CListLabelElementUI();
                item->SetName(accountEntryName(accountCount));
                item->SetText(fixedTextView(record->account));
                item->SetFixedHeight(20);
                combo->Add(item);
            }
            if (static_cast<DWORD>(record->userId) == last) {
                selectedAccount = static_cast<std::uint8_t>(accountCount);
                fillForm(*record);
            }
            accounts[accountCount++] = std::move(record);
        }
    }
    if (selectedAccount == 255 && accountCount > 0) {
        selectedAccount = 0;
        fillForm(*accounts[0]);
    }
}

void CLauncherWnd::OnAccountSelected(CControlUI* sender) {
    auto* combo = dynamic_cast<CComboUI*>(sender);
    if (combo == nullptr) {
        return;
    }
    SetControlText(L"LogonAccount", combo->GetText());
    CControlUI* entry = combo->GetItemAt(combo->GetCurSel());
    if (entry == nullptr) {
        return;
    }
    const std::uint8_t k = accountIndexFromName(entry->GetName());
    SetControlText(L"PassWord", L"");
    if (k < accountCount && accounts[k]->password[0] != L'\0') {
        SetControlText(L"PassWord", fixedTextView(accounts[k]->password));
        selectOption(Find<COptionUI>(L"SavePassword"), true);
    } else {
        selectOption(Find<COptionUI>(L"SavePassword"), false);
    }
}

void CLauncherWnd::ForgetSelectedAccount() {
    SetControlText(L"LogonAccount", L"");
    if (paintManager_.FindControl(L"PassWord") != nullptr) {
        SetControlText(L"PassWord", L"");
        selectOption(Find<COptionUI>(L"SavePassword"), false);
    }
    auto* combo = Find<CComboUI>(L"Account");
    CControlUI* entry = combo != nullptr ? combo->GetItemAt(combo->GetCurSel()) : nullptr;
    if (entry == nullptr) {
        return;
    }
    const std::uint8_t k = accountIndexFromName(entry->GetName());
    if (k >= accountCount || accounts[k]->account[0] == L'\0') {
        return;
    }
    combo->Remove(entry);
    CPlatformRegKey userInfo;
    if (userInfo.Open(L"Lobbex", L"UserInfo", false)) {
        (void)userInfo.DeleteSubKeyTree(std::to_wstring(accounts[k]->userId).c_str());
    }
    accounts[k]->userId = 0;
}

bool CLauncherWnd::CheckLogonInput() {
    CControlUI* account = paintManager_.FindControl(L"LogonAccount");
    const std::wstring accountText = account != nullptr ? account->GetText() : std::wstring();
    if (accountText.size() < 2) {
        (void)messages_->show(kInputErrorTitle, L"账号输入错误", 0);
        return false;
    }
    copyFixedText(logonAccount, accountText);
    CControlUI* password = paintManager_.FindControl(L"PassWord");
    const std::wstring passwordText = password != nullptr ? password->GetText() : std::wstring();
    if (passwordText.size() < 3) {
        (void)messages_->show(kInputErrorTitle, L"密码输入错误", 0);
        return false;
    }
    copyFixedText(logonPassword, passwordText);
    return true;
}
