#pragma once
// An update host for the tests: it keeps every call in order and answers the run's questions
// from a script.
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "common/message_presenter.h"
#include "update/update_host.h"

struct ShownMessage {
    std::wstring title;
    std::wstring text;
    unsigned style = 0;
};

class ScriptedMessages : public MessagePresenter {
public:
    // Answers given in order; when they run out, the close button (1).
    std::deque<unsigned> answers;
    std::vector<ShownMessage> shown;
    // Called as each message is shown, on the thread that shows it.
    std::function<void()> onShow;

    MessageAnswer show(const std::wstring& title, const std::wstring& text, MessageButtons buttons) override {
        if (onShow) {
            onShow();
        }
        shown.push_back({title, text, static_cast<unsigned>(buttons)});
        if (answers.empty()) {
            return MessageAnswer::CloseButton;
        }
        const unsigned answer = answers.front();
        answers.pop_front();
        return static_cast<MessageAnswer>(answer);
    }
};

class RecordingHost : public UpdateHost {
public:
    bool skinReady = true;
    ScriptedMessages prompts;

    // "state:<text>", "progress:<done>/<total>", "quit", "finish:<0|1>"
    std::vector<std::wstring> calls() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }
    std::vector<std::wstring> states() const {
        std::vector<std::wstring> texts;
        for (const std::wstring& call : calls()) {
            if (call.rfind(L"state:", 0) == 0) {
                texts.push_back(call.substr(6));
            }
        }
        return texts;
    }
    std::vector<std::wstring> progress() const {
        std::vector<std::wstring> values;
        for (const std::wstring& call : calls()) {
            if (call.rfind(L"progress:", 0) == 0) {
                values.push_back(call.substr(9));
            }
        }
        return values;
    }

    void showUpdateState(const std::wstring& text) override { record(L"state:" + text); }
    void showAllFileProgress(std::int32_t done, std::int32_t total) override {
        record(L"progress:" + std::to_wstring(done) + L"/" + std::to_wstring(total));
    }
    void quitProcess() override { record(L"quit"); }
    void finishUpdate(bool allowLogon) override { record(allowLogon ? L"finish:1" : L"finish:0"); }
    bool isSkinReady() override { return skinReady; }
    HWND windowHandle() override { return nullptr; }
    MessagePresenter& messages() override { return prompts; }

private:
    void record(std::wstring call) {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(std::move(call));
    }
    mutable std::mutex mutex_;
    std::vector<std::wstring> calls_;
};
