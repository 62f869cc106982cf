#include "update/http_session.h"

namespace {

std::wstring widened(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());  // host names of a cracked 8-bit URL
}

const std::wstring& widened(const std::wstring& text) {
    return text;
}

}  // namespace

HINTERNET HttpSession::connectionFor(const std::wstring& host, INTERNET_PORT port) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!root_) {
        // A failed open is tried again by the next request: it costs nothing when it works.
        root_.reset(::InternetOpenW(kAgentName, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
        rootFailed_ = !root_;
        if (!root_) {
            return nullptr;
        }
    }
    UniqueInternetHandle& connection = connections_[{host, port}];
    if (!connection) {
        connection.reset(
            ::InternetConnectW(root_.get(), host.c_str(), port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    }
    return connection.get();
}

bool HttpSession::hasRoot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !rootFailed_;
}

template <typename Char>
bool HttpSession::openCracked(const std::basic_string<Char>& url, const std::wstring& headers, OpenedUrl& opened) {
    const std::optional<CrackedUrl<Char>> cracked = crackUrl(url);
    if (!cracked) {
        ::SetLastError(ERROR_INTERNET_INVALID_URL);
        return false;
    }
    const HINTERNET connection = connectionFor(widened(cracked->host), cracked->port);
    return connection != nullptr && sendGet(connection, *cracked, headers, timeoutMs_, opened);
}

bool HttpSession::open(const std::string& url, const std::wstring& headers, OpenedUrl& opened) {
    return openCracked(url, headers, opened);
}

bool HttpSession::open(const std::wstring& url, const std::wstring& headers, OpenedUrl& opened) {
    return openCracked(url, headers, opened);
}
