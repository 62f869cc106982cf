#pragma once
// Why a release cannot be published: one refusal per file, folder or option at fault.
#include <string>

enum class RefusalKind {
    Comma,               // a comma in a name: the list has no quoting
    NotWindowsName,      // a character that Windows file names cannot hold
    UrlCharacter,        // "#" or "%": the launcher requests files by unescaped URLs
    TrailingDotOrBlank,  // Windows drops them from names
    DeviceName,          // CON, NUL, COM1, ...: devices on Windows
    LauncherName,        // a name holding ".rkx", which marks the launcher's own files
    NotCodePage936,      // a character that code page 936 cannot represent
    BackslashByte,       // a character whose code page 936 form holds the byte of "\"
    TooLong,             // a list path of more than 259 characters
    LauncherRefuses,     // a list path that the launcher's own rules refuse
    NotText,             // a file name that is not valid UTF-8
    NotAFile,            // a link to a folder, a device, a pipe, a missing file
    Unreadable,          // a folder or file that cannot be read
    SamePlace,           // two items that the launcher would install at one place
    ListFileName,        // "patchlist.dat" at the top, where the launcher keeps its list
    AliasClash,          // code page 936 name of one entry equals the UTF-8 name of another
    VersionNotANumber,   // a version text that does not begin with a number
    VersionNotAscii,     // a version text with characters other than printable ASCII
    SameVersion,         // two patch packages of the same version number
    UrlTooLong,          // a download URL longer than the launcher sends
    NothingToPublish,    // no file and no patch package
    SiteInsideRelease,   // the output would be published as part of the release
    LinkOutside,         // a link that leads out of the release folder
    SigningKey,          // the signing key cannot be used, or would be published
};

struct Refusal {
    RefusalKind kind;
    std::string subject;  // the file, folder or option refused, as the operator knows it (UTF-8)
    std::string reason;   // what is wrong with it
};

// "subject: reason"
inline std::string refusalMessage(const Refusal& refusal) {
    return refusal.subject + ": " + refusal.reason;
}
