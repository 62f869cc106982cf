#include "tests/support/http_test_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <string_view>
#include <stdexcept>

namespace {

struct WinsockUser {
    WinsockUser() {
        WSADATA data;
        if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) {
            throw std::runtime_error("WSAStartup failed");
        }
    }
    ~WinsockUser() { ::WSACleanup(); }
};

void sendAll(SOCKET s, const char* data, std::size_t size) {
    while (size > 0) {
        const int sent = ::send(s, data, static_cast<int>(size), 0);
        if (sent <= 0) {
            return;
        }
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
}

const char* reasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 206:
            return "Partial Content";
        case 404:
            return "Not Found";
        case 416:
            return "Range Not Satisfiable";
        case 500:
            return "Internal Server Error";
        default:
            return "Status";
    }
}

std::string headerValue(const std::string& head, const std::string& name) {
    std::size_t at = 0;
    while ((at = head.find("\r\n", at)) != std::string::npos) {
        at += 2;
        if (head.size() - at >= name.size() + 1 && _strnicmp(head.c_str() + at, name.c_str(), name.size()) == 0 &&
            head[at + name.size()] == ':') {
            std::size_t begin = at + name.size() + 1;
            while (begin < head.size() && head[begin] == ' ') {
                ++begin;
            }
            return head.substr(begin, head.find("\r\n", begin) - begin);
        }
    }
    return {};
}

// The path as a server looks it up: %XX escapes turned into their bytes.
std::string percentDecoded(const std::string& path) {
    std::string bytes;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '%' && i + 2 < path.size() && std::isxdigit(static_cast<unsigned char>(path[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(path[i + 2]))) {
            bytes.push_back(static_cast<char>(std::stoi(path.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            bytes.push_back(path[i]);
        }
    }
    return bytes;
}

}  // namespace

HttpTestServer::HttpTestServer() {
    static WinsockUser winsock;
    SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET) {
        throw std::runtime_error("socket failed");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener, SOMAXCONN) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::closesocket(listener);
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    listener_ = listener;
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

HttpTestServer::~HttpTestServer() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    ::closesocket(static_cast<SOCKET>(listener_));
    acceptor_.join();
    {
        // A connection kept alive waits for a next request that may never come.
        std::lock_guard<std::mutex> lock(mutex_);
        for (unsigned long long client : clients_) {
            ::shutdown(static_cast<SOCKET>(client), SD_BOTH);
        }
    }
    for (std::thread& connection : connections_) {
        connection.join();
    }
}

std::wstring HttpTestServer::baseUrl() const {
    return L"http://127.0.0.1:" + std::to_wstring(port_);
}

void HttpTestServer::serve(const std::string& path, HttpResponse response) {
    serveSequence(path, {response});
}

void HttpTestServer::serveSequence(const std::string& path, std::vector<HttpResponse> responses) {
    std::lock_guard<std::mutex> lock(mutex_);
    responses_[path] = std::move(responses);
    served_[path] = 0;
}

std::vector<HttpRequestRecord> HttpTestServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

int HttpTestServer::requestCount(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    int count = 0;
    for (const HttpRequestRecord& request : requests_) {
        count += request.path == path ? 1 : 0;
    }
    return count;
}

std::size_t HttpTestServer::bodyBytesSent(const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::size_t bytes = 0;
    for (const HttpRequestRecord& request : requests_) {
        bytes += request.path == path ? request.bodyBytesSent : 0;
    }
    return bytes;
}

void HttpTestServer::setKeepAlive(bool keepAlive) {
    std::lock_guard<std::mutex> lock(mutex_);
    keepAlive_ = keepAlive;
}

int HttpTestServer::connectionCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return connectionsAccepted_;
}

int HttpTestServer::mostAnswersAtOnce() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return mostAnswering_;
}

HttpResponse HttpTestServer::responseFor(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = responses_.find(path);
    if (found == responses_.end() || found->second.empty()) {
        return HttpResponse{404, "<html>not found</html>"};
    }
    std::size_t& next = served_[path];
    const HttpResponse response = found->second[next < found->second.size() ? next : found->second.size() - 1];
    ++next;
    return response;
}

void HttpTestServer::acceptLoop() {
    for (;;) {
        const SOCKET client = ::accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
        if (client == INVALID_SOCKET) {
            return;  // the listener was closed
        }
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_) {
            ::closesocket(client);
            return;
        }
        ++connectionsAccepted_;
        clients_.push_back(client);
        connections_.emplace_back([this, client] { handle(client); });
    }
}

void HttpTestServer::handle(unsigned long long socketValue) {
    const auto s = static_cast<SOCKET>(socketValue);
    const DWORD timeoutMs = 20000;  // never wait for a client for ever, reading or writing
    ::setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    ::setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
    std::string pending;
    while (answer(socketValue, pending)) {
    }
}

bool HttpTestServer::answer(unsigned long long socketValue, std::string& pending) {
    const auto s = static_cast<SOCKET>(socketValue);
    char buffer[4096];
    while (pending.find("\r\n\r\n") == std::string::npos) {
        const int got = ::recv(s, buffer, sizeof buffer, 0);
        if (got <= 0) {
            ::closesocket(s);
            return false;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
    }
    const std::size_t headEnd = pending.find("\r\n\r\n") + 4;
    const std::string head = pending.substr(0, headEnd);
    pending.erase(0, headEnd);  // GET requests carry no body
    HttpRequestRecord record;
    const std::size_t methodEnd = head.find(' ');
    const std::size_t targetEnd = head.find(' ', methodEnd + 1);
    record.method = head.substr(0, methodEnd);
    const std::string target = head.substr(methodEnd + 1, targetEnd - methodEnd - 1);
    const std::size_t question = target.find('?');
    record.rawPath = target.substr(0, question);
    record.path = percentDecoded(record.rawPath);
    record.query = question == std::string::npos ? std::string() : target.substr(question + 1);
    record.userAgent = headerValue(head, "User-Agent");
    record.range = headerValue(head, "Range");
    record.ifRange = headerValue(head, "If-Range");

    const HttpResponse response = responseFor(record.path);
    std::size_t index;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        index = requests_.size();
        requests_.push_back(record);
    }
    if (response.refuse) {
        linger hard{1, 0};  // reset instead of an orderly close
        ::setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
        ::closesocket(s);
        return false;
    }
    if (response.stall) {
        std::unique_lock<std::mutex> lock(mutex_);
        stopped_.wait(lock, [this] { return stopping_; });
        ::closesocket(s);
        return false;
    }

    int status = response.status;
    std::string body = response.body;
    std::string extra;
    if (!response.etag.empty()) {
        extra += "ETag: " + response.etag + "\r\n";
    }
    constexpr std::string_view kBytes = "bytes=";
    if (response.ranges && record.range.rfind(kBytes, 0) == 0 &&
        (record.ifRange.empty() || record.ifRange == response.etag)) {
        const std::size_t first = std::stoull(record.range.substr(kBytes.size()));
        if (first >= body.size()) {
            status = 416;
            extra += "Content-Range: bytes */" + std::to_string(body.size()) + "\r\n";
            body.clear();
        } else {
            status = 206;
            extra += "Content-Range: bytes " + std::to_string(first) + "-" + std::to_string(body.size() - 1) + "/" +
                     std::to_string(body.size()) + "\r\n";
            body.erase(0, first);
        }
    }
    std::size_t bodyBytes = body.size();
    const bool cut = response.closeAfterBytes >= 0 && static_cast<std::size_t>(response.closeAfterBytes) < bodyBytes;
    if (cut) {
        bodyBytes = static_cast<std::size_t>(response.closeAfterBytes);
    }
    bool keepAlive;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        keepAlive = keepAlive_ && !cut;
        requests_[index].status = status;
        mostAnswering_ = std::max(mostAnswering_, ++answering_);
    }
    const std::string headers = "HTTP/1.1 " + std::to_string(status) + " " + reasonPhrase(status) +
                                "\r\nContent-Length: " + std::to_string(body.size()) +
                                "\r\nContent-Type: application/octet-stream\r\n" + extra +
                                (keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n");
    sendAll(s, headers.data(), headers.size());
    constexpr std::size_t kPiece = 64 * 1024;
    for (std::size_t sent = 0; sent < bodyBytes;) {
        const std::size_t piece = response.pieceDelayMs > 0 ? std::min(kPiece, bodyBytes - sent) : bodyBytes - sent;
        sendAll(s, body.data() + sent, piece);
        sent += piece;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_[index].bodyBytesSent = sent;
        }
        if (response.pieceDelayMs > 0 && sent < bodyBytes) {
            ::Sleep(static_cast<DWORD>(response.pieceDelayMs));
        }
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        --answering_;
    }
    if (keepAlive) {
        return true;
    }
    ::shutdown(s, SD_SEND);
    // Drain until the client closes, so that the close is orderly.
    while (::recv(s, buffer, sizeof buffer, 0) > 0) {
    }
    ::closesocket(s);
    return false;
}
