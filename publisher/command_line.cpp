#include "publisher/command_line.h"

#include <optional>

#include "publisher/platform_text.h"

namespace fs = std::filesystem;

const char kUsage[] =
    "Usage: lobbex-publish --version V [options] RELEASE_FOLDER SITE_FOLDER\n"
    "\n"
    "Publishes RELEASE_FOLDER (the installation as it should be) and patch packages into\n"
    "SITE_FOLDER, whose folder \"current\" a web server serves as the launchers' update base URL.\n"
    "\n"
    "  --version V           the release's version, a decimal number such as 1.26\n"
    "  --patch V=FILE        a patch package for patch level V (repeatable)\n"
    "  --list-prefix NAME    put NAME\\ before every list path (the launcher leaves out\n"
    "                        Test_mainfold; other names become folders of the installation)\n"
    "  --base-url URL        the launchers' update base URL: checks that every download URL\n"
    "                        fits the launcher (259 bytes)\n"
    "  --keep N              earlier releases to keep for going back (default 2)\n"
    "  --sign-key KEY.pem    sign the list with this EC P-256 private key (openssl ecparam\n"
    "                        -name prime256v1 -genkey writes one): patchlist.dat.sig beside it\n"
    "  --check               check the release and report what would be published; write nothing\n"
    "  --quiet               no progress lines\n"
    "  --help                this text\n"
    "\n"
    "Exit status: 0 published (or checked), 1 refused, 2 wrong usage, 3 failed, 4 interrupted.\n";

namespace {

bool isOption(const fs::path& arg, const char* name) {
    return arg.native() == fs::path(name).native();
}

}  // namespace

bool parseCommandLine(const std::vector<fs::path>& args, CommandLine& line, std::string& error) {
    CommandLine parsed;
    std::vector<fs::path> folders;
    bool hasVersion = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const fs::path& arg = args[i];
        const auto value = [&](const char* option) -> std::optional<std::wstring> {
            if (i + 1 >= args.size()) {
                error = std::string(option) + " needs a value";
                return std::nullopt;
            }
            std::optional<std::wstring> text = pathText(args[++i]);
            if (!text) {
                error = std::string("the value of ") + option + " is not UTF-8 text";
            }
            return text;
        };
        if (isOption(arg, "--help") || isOption(arg, "-h")) {
            parsed.help = true;
        } else if (isOption(arg, "--check")) {
            parsed.checkOnly = true;
        } else if (isOption(arg, "--quiet")) {
            parsed.quiet = true;
        } else if (isOption(arg, "--version")) {
            const std::optional<std::wstring> text = value("--version");
            if (!text) {
                return false;
            }
            parsed.request.version = *text;
            hasVersion = true;
        } else if (isOption(arg, "--list-prefix")) {
            const std::optional<std::wstring> text = value("--list-prefix");
            if (!text) {
                return false;
            }
            parsed.request.listPrefix = *text;
        } else if (isOption(arg, "--base-url")) {
            const std::optional<std::wstring> text = value("--base-url");
            if (!text) {
                return false;
            }
            parsed.request.baseUrl = *text;
        } else if (isOption(arg, "--keep")) {
            const std::optional<std::wstring> text = value("--keep");
            if (!text) {
                return false;
            }
            int keep = 0;
            for (wchar_t c : *text) {
                if (c < L'0' || c > L'9' || keep > 9999) {
                    error = "--keep needs a number of releases";
                    return false;
                }
                keep = keep * 10 + (c - L'0');
            }
            if (text->empty()) {
                error = "--keep needs a number of releases";
                return false;
            }
            parsed.request.keepReleases = keep;
        } else if (isOption(arg, "--sign-key")) {
            if (i + 1 >= args.size()) {
                error = "--sign-key needs the private key's file";
                return false;
            }
            parsed.request.signingKey = args[++i];
        } else if (isOption(arg, "--patch")) {
            if (i + 1 >= args.size()) {
                error = "--patch needs VERSION=FILE";
                return false;
            }
            const auto& spec = args[++i].native();
            const std::size_t cut = spec.find(fs::path::value_type('='));
            const std::optional<std::wstring> version =
                cut == spec.npos ? std::nullopt : pathText(fs::path(spec.substr(0, cut)));
            if (!version || cut + 1 == spec.size()) {
                error = "--patch needs VERSION=FILE";
                return false;
            }
            parsed.request.patches.push_back(PatchPackage{*version, fs::path(spec.substr(cut + 1))});
        } else if (arg.native().starts_with(fs::path("-").native()) && arg.native().size() > 1) {
            error = "unknown option " + utf8Text(pathText(arg).value_or(L"?"));
            return false;
        } else {
            folders.push_back(arg);
        }
    }
    if (parsed.help) {
        line = std::move(parsed);
        return true;
    }
    if (folders.size() != 2) {
        error = "give the release folder and the site folder";
        return false;
    }
    if (!hasVersion) {
        error = "give the release's version with --version";
        return false;
    }
    parsed.request.releaseFolder = folders[0];
    parsed.request.siteFolder = folders[1];
    line = std::move(parsed);
    return true;
}
