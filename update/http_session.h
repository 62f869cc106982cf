#pragma once
// One WinINet session for a whole update run: the root handle and one connection handle per
// server, shared by every request and every transfer thread, so that the library keeps the
// connections to a server open from one request to the next (keep-alive).
#include <windows.h>

#include <map>
#include <mutex>
#include <string>

#include "update/http_open.h"

class HttpSession {
public:
    explicit HttpSession(DWORD timeoutMs = kDefaultTimeoutMs) : timeoutMs_(timeoutMs) {}
    HttpSession(const HttpSession&) = delete;
    HttpSession& operator=(const HttpSession&) = delete;

    // Opens a GET for the URL (in 8-bit form as it goes on the wire, or UTF-16) with extra
    // request header lines, each ending in CRLF. False, with the thread's last error saying
    // why, when the URL cannot be cracked, the root or connection handle cannot be had, the
    // server cannot be reached or no answer with a status begins.
    [[nodiscard]] bool open(const std::string& url, const std::wstring& headers, OpenedUrl& opened);
    [[nodiscard]] bool open(const std::wstring& url, const std::wstring& headers, OpenedUrl& opened);
    // Whether a root handle was had: false after a failure of InternetOpen.
    [[nodiscard]] bool hasRoot() const;

    DWORD timeoutMs() const { return timeoutMs_; }

private:
    template <typename Char>
    bool openCracked(const std::basic_string<Char>& url, const std::wstring& headers, OpenedUrl& opened);
    // The connection handle for a server, made on first use; null when it cannot be had.
    HINTERNET connectionFor(const std::wstring& host, INTERNET_PORT port);

    const DWORD timeoutMs_;
    mutable std::mutex mutex_;
    UniqueInternetHandle root_;
    bool rootFailed_ = false;
    std::map<std::pair<std::wstring, INTERNET_PORT>, UniqueInternetHandle> connections_;
};
