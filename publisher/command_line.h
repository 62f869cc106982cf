#pragma once
// The command line of lobbex-publish.
#include <filesystem>
#include <string>
#include <vector>

#include "publisher/publish_request.h"

struct CommandLine {
    PublishRequest request;
    bool checkOnly = false;  // --check: plan and report, write nothing
    bool quiet = false;      // --quiet: no progress lines
    bool help = false;
};

extern const char kUsage[];

// Reads the arguments that follow the program's name (paths, because names are bytes on
// some systems and UTF-16 on others). False with error when they make no sense; line is then
// untouched.
[[nodiscard]] bool parseCommandLine(const std::vector<std::filesystem::path>& args, CommandLine& line,
                                    std::string& error);
