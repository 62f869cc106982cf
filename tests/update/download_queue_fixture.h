#pragma once
// An update engine pointed at a test server and a temporary installation, with a queue of
// files to fetch, for the tests of downloading a queue.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "identity/md5.h"
#include "tests/support/http_test_server.h"
#include "tests/support/recording_host.h"
#include "tests/support/temp_dir.h"
#include "update/update_engine.h"

inline const HttpResponse kRefused{0, "", -1, false, true};

inline std::wstring digestOf(const std::string& content) {
    return digestText(md5Of(content.data(), content.size()));
}

inline std::string urlPath(const std::string& folder, std::string listPath) {
    for (char& c : listPath) {
        c = c == '\\' ? '/' : c;
    }
    return "/" + folder + "/" + listPath;
}

class DownloadQueue : public testing::Test {
protected:
    void SetUp() override {
        engine.exeDir = dir.path();
        engine.updateBaseUrl = server.baseUrl();
        engine.host = &host;
        engine.timeoutMs = 2000;
    }

    // Queues an installation file whose published content is content.
    UpdateFileEntry& queueFile(const std::string& listPath, const std::string& content, UpdateQueue& queue) {
        const std::wstring line = L"File," + std::wstring(listPath.begin(), listPath.end()) + L"," +
                                  std::to_wstring(content.size()) + L"," + digestOf(content);
        queue.push_back(makeEntry(parseItemLine(line, 0)));
        engine.totalBytes += content.size();
        return queue.back();
    }
    UpdateFileEntry& queueFile(const std::string& listPath, const std::string& content) {
        return queueFile(listPath, content, engine.fileQueue);
    }

    HttpTestServer server;
    TempDir dir;
    RecordingHost host;
    UpdateEngine engine;
};
