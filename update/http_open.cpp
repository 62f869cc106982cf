#include "update/http_open.h"

#include <type_traits>

#include "update/http_rules.h"

namespace {

// The library's InternetOpenUrl gives no way to set the send and receive time-outs of the
// request it makes before it sends it (and root-handle time-outs are not inherited
// everywhere), so the request is built step by step: connection, request, time-outs, send.
template <typename Char>
bool openUrlParts(HINTERNET root, const std::basic_string<Char>& url, DWORD timeoutMs, OpenedUrl& opened) {
    constexpr bool wide = std::is_same_v<Char, wchar_t>;
    using Components = std::conditional_t<wide, URL_COMPONENTSW, URL_COMPONENTSA>;
    Components parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = 1;
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    BOOL cracked;
    if constexpr (wide) {
        cracked = ::InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts);
    } else {
        cracked = ::InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts);
    }
    if (!cracked || (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) ||
        parts.dwHostNameLength == 0) {
        return false;
    }
    const std::basic_string<Char> host(parts.lpszHostName, parts.dwHostNameLength);
    std::basic_string<Char> object(parts.lpszUrlPath, parts.dwUrlPathLength);
    object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (object.empty()) {
        object.push_back(Char('/'));
    }
    DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) {
        flags |= INTERNET_FLAG_SECURE;
    }

    OpenedUrl result;
    if constexpr (wide) {
        result.connection.reset(
            ::InternetConnectW(root, host.c_str(), parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    } else {
        result.connection.reset(
            ::InternetConnectA(root, host.c_str(), parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    }
    if (!result.connection) {
        return false;
    }
    if constexpr (wide) {
        result.request.reset(
            ::HttpOpenRequestW(result.connection.get(), L"GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    } else {
        result.request.reset(
            ::HttpOpenRequestA(result.connection.get(), "GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    }
    if (!result.request) {
        return false;
    }
    for (DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        ::InternetSetOptionW(result.request.get(), option, &timeoutMs, sizeof timeoutMs);
    }
    if (!::HttpSendRequestW(result.request.get(), nullptr, 0, nullptr, 0)) {
        return false;
    }
    DWORD size = sizeof result.status;
    if (!::HttpQueryInfoW(result.request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &result.status, &size,
                          nullptr) ||
        result.status == 0) {
        return false;
    }
    wchar_t length[32];
    DWORD lengthBytes = sizeof length;
    if (::HttpQueryInfoW(result.request.get(), HTTP_QUERY_CONTENT_LENGTH, length, &lengthBytes, nullptr)) {
        result.contentLength = parseContentLength(std::wstring_view(length, lengthBytes / sizeof(wchar_t)));
    }
    opened = std::move(result);
    return true;
}

}  // namespace

bool openUrl(HINTERNET root, const std::string& url, DWORD timeoutMs, OpenedUrl& opened) {
    return openUrlParts(root, url, timeoutMs, opened);
}

bool openUrl(HINTERNET root, const std::wstring& url, DWORD timeoutMs, OpenedUrl& opened) {
    return openUrlParts(root, url, timeoutMs, opened);
}
