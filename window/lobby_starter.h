#pragma once
// Starts the lobby client, Lobbex.exe from the launcher's own folder, and ends the launcher.
#include <optional>
#include <string>

#include "common/message_presenter.h"

class LobbyStarter {
public:
    explicit LobbyStarter(MessagePresenter& messages) : messages_(messages) {}

    // Starts it with the arguments and ends the process at once; when it cannot be started
    // (or there are no arguments), tells the user and returns.
    void start(const std::optional<std::wstring>& arguments);

private:
    MessagePresenter& messages_;
};
