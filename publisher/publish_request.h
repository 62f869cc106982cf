#pragma once
// What an operator asks the publisher to publish.
#include <filesystem>
#include <string>
#include <vector>

struct PatchPackage {
    std::wstring version;  // the patch level it brings, a decimal number such as 1.26
    std::filesystem::path file;
};

struct PublishRequest {
    std::filesystem::path releaseFolder;  // the installation as it should be
    std::filesystem::path siteFolder;     // the update server's folder (see site.h)
    std::wstring version;                 // the release's version number, such as 1.26
    std::vector<PatchPackage> patches;
    std::wstring listPrefix;           // folders put before every list path, such as Test_mainfold; empty: none
    std::wstring baseUrl;              // the launchers' update base URL; when given, download URLs are checked
    int keepReleases = 2;              // earlier releases kept in the site for going back
    std::filesystem::path signingKey;  // the PEM private key that signs the list; empty: unsigned
};
