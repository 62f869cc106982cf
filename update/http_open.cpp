#include "update/http_open.h"

#include <type_traits>

namespace {

template <typename Char>
std::optional<CrackedUrl<Char>> crack(const std::basic_string<Char>& url) {
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
        return std::nullopt;
    }
    CrackedUrl<Char> result;
    result.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    result.port = parts.nPort;
    result.object.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    result.object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (result.object.empty()) {
        result.object.push_back(Char('/'));
    }
    result.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    return result;
}

std::wstring headerText(HINTERNET request, DWORD query) {
    wchar_t text[256];
    DWORD bytes = sizeof text;
    if (!::HttpQueryInfoW(request, query, text, &bytes, nullptr)) {
        return {};
    }
    return std::wstring(text, bytes / sizeof(wchar_t));
}

// The library's InternetOpenUrl gives no way to set the send and receive time-outs of the
// request it makes before it sends it (and root-handle time-outs are not inherited
// everywhere), so the request is built step by step: request, time-outs, send.
template <typename Char>
bool send(HINTERNET connection, const CrackedUrl<Char>& url, const std::wstring& headers, DWORD timeoutMs,
          OpenedUrl& opened) {
    // No cookies: the update server sets none, and the library would read the cookie store for
    // every request.
    DWORD flags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD | INTERNET_FLAG_KEEP_CONNECTION |
                  INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    if (url.secure) {
        flags |= INTERNET_FLAG_SECURE;
    }
    OpenedUrl result;
    if constexpr (std::is_same_v<Char, wchar_t>) {
        result.request.reset(
            ::HttpOpenRequestW(connection, L"GET", url.object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    } else {
        result.request.reset(
            ::HttpOpenRequestA(connection, "GET", url.object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    }
    if (!result.request) {
        return false;
    }
    for (DWORD option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        ::InternetSetOptionW(result.request.get(), option, &timeoutMs, sizeof timeoutMs);
    }
    if (!::HttpSendRequestW(result.request.get(), headers.empty() ? nullptr : headers.c_str(),
                            static_cast<DWORD>(headers.size()), nullptr, 0)) {
        return false;
    }
    DWORD size = sizeof result.status;
    if (!::HttpQueryInfoW(result.request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &result.status, &size,
                          nullptr) ||
        result.status == 0) {
        return false;
    }
    const std::wstring length = headerText(result.request.get(), HTTP_QUERY_CONTENT_LENGTH);
    if (!length.empty()) {
        result.contentLength = parseContentLength(length);
    }
    if (result.status == 206) {
        result.contentRange = parseContentRange(headerText(result.request.get(), HTTP_QUERY_CONTENT_RANGE));
    }
    result.validator = rangeValidator(headerText(result.request.get(), HTTP_QUERY_ETAG),
                                      headerText(result.request.get(), HTTP_QUERY_LAST_MODIFIED));
    opened = std::move(result);
    return true;
}

}  // namespace

std::optional<CrackedUrl<char>> crackUrl(const std::string& url) {
    return crack(url);
}

std::optional<CrackedUrl<wchar_t>> crackUrl(const std::wstring& url) {
    return crack(url);
}

bool sendGet(HINTERNET connection, const CrackedUrl<char>& url, const std::wstring& headers, DWORD timeoutMs,
             OpenedUrl& opened) {
    return send(connection, url, headers, timeoutMs, opened);
}

bool sendGet(HINTERNET connection, const CrackedUrl<wchar_t>& url, const std::wstring& headers, DWORD timeoutMs,
             OpenedUrl& opened) {
    return send(connection, url, headers, timeoutMs, opened);
}
