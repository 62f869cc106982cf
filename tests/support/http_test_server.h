#pragma once
// A small HTTP server on 127.0.0.1 for the tests, in the test process. It serves scripted
// answers per path and misbehaves on request: refuses connections, breaks them after some
// bytes, stalls, answers with errors. It records every request.
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct HttpResponse {
    int status = 200;
    std::string body;
    long closeAfterBytes = -1;  // >= 0: send the headers and this many body bytes, then close
    bool stall = false;         // read the request, then answer nothing until the server stops
    bool refuse = false;        // read the request, then reset the connection
    // Answer "Range: bytes=N-" with 206 and the body from N (416 from its end on), unless an
    // If-Range names another validator than etag: then the whole body with 200.
    bool ranges = false;
    std::string etag = "";  // sent as ETag when not empty
    int pieceDelayMs = 0;   // > 0: the body goes in pieces of 64 KiB with this pause after each
};

struct HttpRequestRecord {
    std::string method;
    std::string path;     // without the query, %XX escapes decoded, as a server looks it up
    std::string rawPath;  // as sent
    std::string query;
    std::string userAgent;
    std::string range;    // the Range header, empty when there was none
    std::string ifRange;  // the If-Range header
    int status = 0;       // of the answer
    std::size_t bodyBytesSent = 0;
};

class HttpTestServer {
public:
    HttpTestServer();
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    // "http://127.0.0.1:<port>"
    std::wstring baseUrl() const;
    // Every request for path gets this answer.
    void serve(const std::string& path, HttpResponse response);
    // Requests for path get these answers in order; the last one repeats.
    void serveSequence(const std::string& path, std::vector<HttpResponse> responses);
    std::vector<HttpRequestRecord> requests() const;
    int requestCount(const std::string& path) const;
    // The body bytes sent for a path over all its requests.
    std::size_t bodyBytesSent(const std::string& path) const;
    // Whether a connection stays open for further requests after an answer sent whole (off:
    // every answer closes its connection).
    void setKeepAlive(bool keepAlive);
    // The connections accepted so far.
    int connectionCount() const;
    // The most answers that were being sent at the same time.
    int mostAnswersAtOnce() const;

private:
    void acceptLoop();
    void handle(unsigned long long socket);
    // Answers one request of the connection; false when the connection is to end.
    bool answer(unsigned long long socket, std::string& pending);
    HttpResponse responseFor(const std::string& path);

    unsigned long long listener_;
    unsigned short port_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    bool keepAlive_ = false;
    int connectionsAccepted_ = 0;
    std::vector<unsigned long long> clients_;
    int answering_ = 0;
    int mostAnswering_ = 0;
    std::map<std::string, std::vector<HttpResponse>> responses_;
    std::map<std::string, std::size_t> served_;
    std::vector<HttpRequestRecord> requests_;
    std::vector<std::thread> connections_;
    std::thread acceptor_;
};
