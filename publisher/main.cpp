// lobbex-publish: turns a release folder and patch packages into an update server's folder.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "publisher/command_line.h"
#include "publisher/publish.h"
#include "publisher/platform_text.h"
#include "publisher/release_scan.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

std::atomic<bool> interrupted{false};

extern "C" void onInterrupt(int) {
    interrupted = true;
}

std::string count(std::size_t n, const char* thing) {
    return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

std::string amount(std::uint64_t bytes) {
    char text[32];
    if (bytes >= (1ull << 30)) {
        std::snprintf(text, sizeof text, "%.2f GiB", static_cast<double>(bytes) / (1ull << 30));
    } else if (bytes >= (1ull << 20)) {
        std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1ull << 20));
    } else {
        std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
    }
    return text;
}

// Warnings and, once a publish has taken a while, a progress line every few seconds on stderr.
class ConsoleObserver : public PublishObserver {
public:
    explicit ConsoleObserver(bool quiet) : quiet_(quiet) {}

    void warn(std::string_view text) override {
        std::fprintf(stderr, "lobbex-publish: warning: %.*s\n", static_cast<int>(text.size()), text.data());
    }

    bool progress(const PublishProgress& p) override {
        const auto now = std::chrono::steady_clock::now();
        if (!quiet_ && now - last_ >= std::chrono::seconds(2)) {
            last_ = now;
            const double share = p.bytesTotal > 0 ? 100.0 * static_cast<double>(p.bytesDone) / p.bytesTotal : 100.0;
            std::fprintf(stderr, "lobbex-publish: %zu of %zu files, %s of %s (%.0f%%)\n", p.itemsDone, p.itemsTotal,
                         amount(p.bytesDone).c_str(), amount(p.bytesTotal).c_str(), share > 100 ? 100.0 : share);
        }
        return !interrupted;
    }

private:
    bool quiet_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

int run(const std::vector<std::filesystem::path>& args) {
    CommandLine line;
    std::string error;
    if (!parseCommandLine(args, line, error)) {
        std::fprintf(stderr, "lobbex-publish: %s\n\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (line.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);

    ConsoleObserver observer(line.quiet);
    const PublishResult result = publishRelease(line.request, observer, line.checkOnly);
    const PublishReport& report = result.report;
    const std::string what =
        count(report.files, "file") + " and " + count(report.packages, "patch package") + ", " + amount(report.bytes);
    switch (result.outcome) {
        case PublishOutcome::Published:
            std::printf("published %s as %s: %s in %.1f s, %s; served from %s\n",
                        utf8Text(line.request.version).c_str(), report.releaseName.c_str(), what.c_str(),
                        report.seconds, report.signedList ? "the list signed" : "the list unsigned",
                        displayPath(report.servedFolder).c_str());
            for (const std::string& name : report.removedReleases) {
                std::printf("removed the earlier release %s\n", name.c_str());
            }
            return 0;
        case PublishOutcome::Checked:
            std::printf("the release can be published: %s (checked in %.1f s)\n", what.c_str(), report.seconds);
            if (report.signedList) {
                std::printf("signing key: %s loads (EC P-256); the list will be signed\n",
                            displayPath(line.request.signingKey).c_str());
            } else {
                std::printf("signing key: none given (--sign-key); the list will not be signed\n");
            }
            return 0;
        case PublishOutcome::Refused:
            for (const Refusal& refusal : result.refusals) {
                std::fprintf(stderr, "lobbex-publish: refused: %s\n", refusalMessage(refusal).c_str());
            }
            std::fprintf(stderr, "lobbex-publish: nothing was written (%zu problems)\n", result.refusals.size());
            return 1;
        case PublishOutcome::Failed:
            std::fprintf(stderr, "lobbex-publish: failed: %s; the site serves what it served before\n",
                         result.failure.c_str());
            return 3;
        case PublishOutcome::Stopped:
            std::fprintf(stderr, "lobbex-publish: interrupted; the site serves what it served before\n");
            return 4;
    }
    return 3;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    // Messages are UTF-8, as on other systems.
    ::SetConsoleOutputCP(CP_UTF8);
    std::vector<std::filesystem::path> args(argv + 1, argv + argc);
    return run(args);
}
#else
int main(int argc, char** argv) {
    std::vector<std::filesystem::path> args(argv + 1, argv + argc);
    return run(args);
}
#endif
