#include "tests/window/window_fixture.h"

#include "common/path_text.h"
#include "settings/stored_string.h"
#include "update/update_engine.h"

void deleteLobbexKeys() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kLobbexKey);
}

void writeDword(const wchar_t* key, const wchar_t* name, DWORD value) {
    HKEY handle = nullptr;
    ASSERT_EQ(::RegCreateKeyW(HKEY_CURRENT_USER, key, &handle), ERROR_SUCCESS);
    ::RegSetValueExW(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    ::RegCloseKey(handle);
}

void writeString(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY handle = nullptr;
    ASSERT_EQ(::RegCreateKeyW(HKEY_CURRENT_USER, key.c_str(), &handle), ERROR_SUCCESS);
    ::RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(handle);
}

std::wstring scramble(const std::wstring& password) {
    return EncodeStoredString(password);
}

void rememberAccount(int userId, const std::wstring& account, const std::wstring& password) {
    const std::wstring key = std::wstring(kUserInfoKey) + L"\\" + std::to_wstring(userId);
    writeString(key, L"GameID", L"G" + std::to_wstring(userId));
    writeString(key, L"UserAccount", account);
    writeString(key, L"UserPassword", password.empty() ? L"" : scramble(password));
}

bool registryKeyExists(const std::wstring& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyW(HKEY_CURRENT_USER, key.c_str(), &handle) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(handle);
    return true;
}

void LauncherWindowTest::SetUp() {
    deleteLobbexKeys();
    CPaintManagerUI::SetResourcePath(executableFolder() + L"window-skin\\");
    CLauncherWnd::Seams seams;
    seams.messages = &messages;
    seams.startUpdate = [this](UpdateHost* host) {
        updateStarts.push_back(host);
        return true;
    };
    seams.openLink = [this](const std::wstring& url) { openedLinks.push_back(url); };
    window_ = std::make_unique<CLauncherWnd>(std::move(seams));
}

void LauncherWindowTest::TearDown() {
    if (window_ && window_->GetHWND() != nullptr) {
        ::DestroyWindow(window_->GetHWND());
    }
    window_.reset();
    pump();
    deleteLobbexKeys();
}

void LauncherWindowTest::createWindow() {
    ASSERT_TRUE(window_->Create());
    ::ShowWindow(window_->GetHWND(), SW_SHOWNORMAL);
    pump();
}

void LauncherWindowTest::notify(const wchar_t* type, const wchar_t* sender) {
    UiNotification notification;
    const std::optional<UiNotifyType> kind = notifyTypeFromName(type);
    ASSERT_TRUE(kind.has_value()) << "no notification type " << std::string(type, type + wcslen(type));
    notification.type = *kind;
    notification.sender = control(sender);
    ASSERT_NE(notification.sender, nullptr) << "no control named " << std::string(sender, sender + wcslen(sender));
    window_->Notify(notification);
}

void LauncherWindowTest::pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}
