#include "window/account_list.h"

#include <windows.h>

#include <cwchar>
#include <memory>

#include "common/fixed_text.h"
#include "settings/platform_reg_key.h"
#include "settings/stored_string.h"
#include "uilib/combo.h"
#include "uilib/list_label.h"
#include "window/account_index.h"

namespace {

constexpr std::size_t kMaxAccounts = 255;
constexpr wchar_t kAccountList[] = L"Account";
constexpr wchar_t kAccountField[] = L"LogonAccount";
constexpr wchar_t kPasswordField[] = L"PassWord";
constexpr wchar_t kSavePassword[] = L"SavePassword";

// One account's values from its opened subkey.
AccountRecord readAccount(const wchar_t* name, const CPlatformRegKey& subkey) {
    AccountRecord record;
    copyFixedText(record.keyName, name);
    record.userId = static_cast<std::int32_t>(std::wcstol(name, nullptr, 10));
    (void)subkey.QueryString(L"GameID", record.gameId, 16);
    (void)subkey.QueryString(L"UserAccount", record.account, 32);
    wchar_t stored[512] = {};
    (void)subkey.QueryString(L"UserPassword", stored, 512);
    if (stored[0] != L'\0') {
        (void)DecodeStoredString(stored, record.password, 33);
    }
    return record;
}

}  // namespace

void AccountList::fillForm(const AccountRecord& record) const {
    skin_.setText(kAccountField, fixedTextView(record.account));
    CControlUI* password = skin_.find(kPasswordField);
    if (password != nullptr && record.password[0] != L'\0') {
        skin_.setSelected(kSavePassword, true);
        password->SetText(fixedTextView(record.password));
    } else {
        skin_.setSelected(kSavePassword, false);
    }
}

void AccountList::load() {
    auto* combo = skin_.find<CComboUI>(kAccountList);
    CPlatformRegKey userInfo;
    if (userInfo.Open(L"Lobbex", L"UserInfo", false)) {
        const DWORD last = userInfo.QueryDword(L"LastUserID", 0);
        for (DWORD index = 0; records_.size() < kMaxAccounts; ++index) {
            wchar_t name[16] = {};
            if (!userInfo.EnumSubKey(index, name, 16)) {
                break;
            }
            CPlatformRegKey subkey;
            if (subkey.Attach(userInfo.OpenSubKey(name)) == nullptr) {
                continue;
            }
            AccountRecord record = readAccount(name, subkey);
            const int position = static_cast<int>(records_.size());
            if (combo != nullptr) {
                auto item = std::make_unique<CListLabelElementUI>();
                item->SetName(accountEntryName(position));
                item->SetText(fixedTextView(record.account));
                item->SetFixedHeight(20);
                combo->Add(item.release());
            }
            if (static_cast<DWORD>(record.userId) == last) {
                shown_ = static_cast<std::uint8_t>(position);
                fillForm(record);
            }
            records_.push_back(record);
        }
    }
    if (shown_ == kNone && !records_.empty()) {
        shown_ = 0;
        fillForm(records_[0]);
    }
}

void AccountList::choose(CControlUI* list) {
    auto* combo = dynamic_cast<CComboUI*>(list);
    if (combo == nullptr) {
        return;
    }
    skin_.setText(kAccountField, combo->GetText());
    CControlUI* entry = combo->GetItemAt(combo->GetCurSel());
    if (entry == nullptr) {
        return;
    }
    const std::uint8_t k = accountIndexFromName(entry->GetName());
    skin_.setText(kPasswordField, L"");
    const bool remembered = k < records_.size() && records_[k].password[0] != L'\0';
    if (remembered) {
        skin_.setText(kPasswordField, fixedTextView(records_[k].password));
    }
    skin_.setSelected(kSavePassword, remembered);
}

void AccountList::forgetChosen() {
    skin_.setText(kAccountField, L"");
    if (skin_.find(kPasswordField) != nullptr) {
        skin_.setText(kPasswordField, L"");
        skin_.setSelected(kSavePassword, false);
    }
    auto* combo = skin_.find<CComboUI>(kAccountList);
    CControlUI* entry = combo != nullptr ? combo->GetItemAt(combo->GetCurSel()) : nullptr;
    if (entry == nullptr) {
        return;
    }
    const std::uint8_t k = accountIndexFromName(entry->GetName());
    if (k >= records_.size() || records_[k].account[0] == L'\0') {
        return;
    }
    combo->Remove(entry);
    CPlatformRegKey userInfo;
    if (userInfo.Open(L"Lobbex", L"UserInfo", false)) {
        // The key's name as it was read: the number formatted again may name another key
        // ("007" is not "7") or none.
        (void)userInfo.DeleteSubKeyTree(records_[k].keyName);
    }
    records_[k].userId = 0;
}
