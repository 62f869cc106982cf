#include "update/url_downloader.h"

#include <optional>
#include <vector>

#include "common/text_codec.h"
#include "update/http_rules.h"
#include "update/list_path_rules.h"
#include "update/local_files.h"
#include "update/local_path.h"
#include "update/read_pacing.h"
#include "update/write_behind.h"

namespace {

// The longest validator worth keeping: an ETag or a date, never a page.
constexpr std::size_t kMaxValidatorBytes = 512;

std::wstring readValidator(const std::wstring& path) {
    const std::optional<std::string> bytes = readSmallFile(path, kMaxValidatorBytes);
    if (!bytes) {
        return {};
    }
    for (char c : *bytes) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
            return {};  // not a header value this launcher wrote
        }
    }
    return std::wstring(bytes->begin(), bytes->end());
}

// Keeps the validator of the answer that began a download beside it; without one there is
// none to keep, and an older one must not survive.
void keepValidator(const std::wstring& path, const std::wstring& validator) {
    (void)deleteFileEvenReadOnly(path);
    if (validator.empty() || validator.size() > kMaxValidatorBytes) {
        return;
    }
    UniqueFileHandle file(::CreateFileW(extendedLengthPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;  // the next resume is only unvalidated: the digest still decides
    }
    const std::string bytes(validator.begin(), validator.end());  // header values are ASCII
    DWORD written = 0;
    if (!::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        file.reset();
        (void)deleteFileEvenReadOnly(path);
    }
}

}  // namespace

std::optional<std::string> downloadUrlBytes(const std::wstring& url) {
    std::wstring text = url;
    for (wchar_t& c : text) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    const std::optional<std::string> bytes = encodeText(text, kListCodePage);
    if (!bytes || bytes->size() > kMaxUrlBytes) {
        return std::nullopt;  // never a cut or garbled URL
    }
    return escapeUrlBytes(*bytes);
}

std::wstring validatorPath(const std::wstring& download) {
    std::wstring path = download;
    if (path.size() >= kDownloadSuffix.size() &&
        std::wstring_view(path).substr(path.size() - kDownloadSuffix.size()) == kDownloadSuffix) {
        path.resize(path.size() - kDownloadSuffix.size());
    }
    return path + std::wstring(kValidatorSuffix);
}

UrlDownloader::UrlDownloader(DownloadOptions options, HttpSession* session)
    : options_(options),
      ownSession_(session == nullptr ? std::make_unique<HttpSession>(options.timeoutMs) : nullptr),
      session_(session == nullptr ? ownSession_.get() : session) {}

std::int32_t UrlDownloader::openTarget(const std::wstring& path) {
    reset();
    UniqueFileHandle file(::CreateFileW(extendedLengthPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return 1;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size)) {
        return 2;
    }
    LARGE_INTEGER zero{};
    ::SetFilePointerEx(file.get(), zero, nullptr, FILE_END);
    openedLength_ = static_cast<std::uint64_t>(size.QuadPart);
    target_ = std::move(file);
    return 0;
}

void UrlDownloader::reset() {
    target_.reset();
}

std::int32_t UrlDownloader::guardedTransfer(const std::wstring& url, const std::wstring& path, bool rest,
                                            TransferWatch* watch) {
    failure_ = ERROR_SUCCESS;
    try {
        return transfer(url, path, rest, watch);
    } catch (...) {
        // An unexpected failure (memory for a conversion, say) is a failed try; its error
        // code must not read as success.
        const DWORD code = ::GetLastError();
        failure_ = code != 0 ? code : static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY);
        return static_cast<std::int32_t>(failure_);
    }
}

std::int32_t UrlDownloader::fetch(const std::wstring& url, const std::wstring& path) {
    const std::int32_t result = guardedTransfer(url, path, false, nullptr);
    if (result != FetchOk) {
        if (target_) {
            (void)truncateTo(openedLength_);
        }
        ::SetLastError(failure_);
    }
    reset();
    return result;
}

std::int32_t UrlDownloader::fetchRest(const std::wstring& url, const std::wstring& path, TransferWatch* watch) {
    resumed_ = false;
    beganWith_.reset();
    const std::int32_t result = guardedTransfer(url, path, true, watch);
    if (result != FetchOk && beganWith_ && target_) {
        // What arrived stays for the next try, with what can tell whether the file it is a
        // beginning of is still the one on the server. A whole transfer needs none of this: a
        // small file costs no file besides itself.
        LARGE_INTEGER size{};
        if (::GetFileSizeEx(target_.get(), &size) && size.QuadPart > 0) {
            keepValidator(validatorPath(path), *beganWith_);
        }
    }
    reset();
    if (result != FetchOk) {
        ::SetLastError(failure_);
    }
    return result;
}

std::int32_t UrlDownloader::failed(std::int32_t result, DWORD code) {
    failure_ = code != ERROR_SUCCESS ? code : static_cast<DWORD>(ERROR_INTERNET_INTERNAL_ERROR);
    return result;
}

std::int32_t UrlDownloader::openRequest(const std::string& wire, std::uint64_t offset, const std::wstring& validator,
                                        OpenedUrl& opened) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (session_->open(wire, offset > 0 ? resumeHeaders(offset, validator) : std::wstring(), opened)) {
            return FetchOk;
        }
        if (session_->hasRoot()) {
            return failed(FetchUrlFailed);
        }
    }
    return failed(FetchNoRoot);
}

std::int32_t UrlDownloader::transfer(const std::wstring& url, const std::wstring& path, bool rest,
                                     TransferWatch* watch) {
    if (openTarget(path) != 0) {
        const DWORD code = ::GetLastError();
        reset();
        return failed(FetchTargetFailed, code);
    }
    const std::optional<std::string> wire = downloadUrlBytes(url);
    if (!wire) {
        return failed(FetchUrlFailed, ERROR_INTERNET_INVALID_URL);
    }
    const std::wstring validatorFile = rest ? validatorPath(path) : std::wstring();
    std::uint64_t offset = rest ? openedLength_ : 0;
    if (watch != nullptr) {
        watch->held = openedLength_;
    }
    // A resumed request whose answer is not the rest is asked once more for the whole file.
    for (int request = 0; request < 2; ++request) {
        OpenedUrl opened;
        const std::int32_t result = openRequest(*wire, offset, offset > 0 ? readValidator(validatorFile) : L"", opened);
        if (result != FetchOk) {
            return result;
        }
        ResumeAnswer answer = resumeAnswer(opened.status, offset, opened.contentRange);
        if (!rest && answer != ResumeAnswer::Failed) {
            answer = ResumeAnswer::Append;  // the appending way takes any 2xx body as it comes
        }
        if (answer == ResumeAnswer::Failed) {
            // An error page is not the file: stored, it would read as a list without items or
            // fail its digest only after the whole transfer.
            return failed(FetchUrlFailed, ERROR_INTERNET_INVALID_OPERATION);
        }
        // The file starts again from its first byte: what it held goes, and the validator that
        // named it.
        auto startAgain = [&] {
            if (offset > 0) {
                if (!truncateTo(0)) {
                    return false;
                }
                (void)deleteFileEvenReadOnly(validatorFile);
            }
            offset = 0;
            if (watch != nullptr) {
                watch->held = 0;
            }
            return true;
        };
        if (answer == ResumeAnswer::AskWhole) {
            if (request > 0 || !startAgain()) {
                return failed(FetchUrlFailed, ERROR_INTERNET_INVALID_OPERATION);
            }
            continue;
        }
        Md5 hash;
        if (rest) {
            if (answer == ResumeAnswer::Whole) {
                if (!startAgain()) {
                    return failed(FetchIncomplete);
                }
                beganWith_ = opened.validator;
            } else if (!hashKept(offset, hash)) {
                return failed(FetchIncomplete);
            }
            resumed_ = offset > 0;
        }
        if (opened.contentLength && *opened.contentLength > options_.maxBytes) {
            return failed(FetchIncomplete, ERROR_FILE_TOO_LARGE);
        }
        const std::int32_t copied = copyBody(opened.request.get(), opened.contentLength, rest ? &hash : nullptr, watch);
        if (copied == FetchOk && rest) {
            digest_ = hash.finish();
            // Made durable here, on the transfer's thread, so that putting it in place later
            // costs only the rename.
            (void)::FlushFileBuffers(target_.get());
        }
        return copied;
    }
    return failed(FetchUrlFailed, ERROR_INTERNET_INVALID_OPERATION);
}

bool UrlDownloader::hashKept(std::uint64_t length, Md5& hash) {
    LARGE_INTEGER zero{};
    if (!::SetFilePointerEx(target_.get(), zero, nullptr, FILE_BEGIN)) {
        return false;
    }
    std::vector<char> buffer(kMaxReadBytes);
    std::uint64_t left = length;
    while (left > 0) {
        const DWORD want = static_cast<DWORD>(left < buffer.size() ? left : buffer.size());
        DWORD got = 0;
        if (!::ReadFile(target_.get(), buffer.data(), want, &got, nullptr) || got != want) {
            return false;
        }
        hash.update(buffer.data(), got);
        left -= got;
    }
    return true;  // the position is at the end of what was kept
}

std::int32_t UrlDownloader::copyBody(HINTERNET request, const std::optional<std::uint64_t>& announced, Md5* hash,
                                     TransferWatch* watch) {
    WriteBehind writer(target_.get(), hash);
    std::uint32_t readBytes = kFirstReadBytes;
    std::uint64_t received = 0;
    std::int32_t result = FetchOk;
    DWORD code = ERROR_SUCCESS;
    for (;;) {
        if (watch != nullptr && watch->interrupt != nullptr && watch->interrupt->load()) {
            result = FetchInterrupted;
            code = ERROR_OPERATION_ABORTED;
            break;
        }
        std::vector<char> buffer = writer.freeBuffer(readBytes);
        DWORD got = 0;
        const ULONGLONG started = ::GetTickCount64();
        if (!::InternetReadFile(request, buffer.data(), readBytes, &got)) {
            result = FetchIncomplete;
            code = ::GetLastError();
            break;
        }
        if (got == 0) {
            break;
        }
        readBytes = nextReadBytes(readBytes, static_cast<std::uint32_t>(::GetTickCount64() - started));
        received += got;
        if (received > options_.maxBytes) {
            result = FetchIncomplete;
            code = ERROR_FILE_TOO_LARGE;
            break;
        }
        if (!writer.write(std::move(buffer), got)) {
            break;  // the writer's error follows
        }
        if (watch != nullptr) {
            watch->held += got;
        }
    }
    const DWORD written = writer.finish();
    if (written != ERROR_SUCCESS) {
        return failed(FetchIncomplete, written);
    }
    if (result != FetchOk) {
        return failed(result, code);
    }
    if (announced && received != *announced) {
        // The connection ended before the whole body arrived.
        return failed(FetchIncomplete, ERROR_INTERNET_CONNECTION_ABORTED);
    }
    return FetchOk;
}

bool UrlDownloader::truncateTo(std::uint64_t length) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(length);
    return ::SetFilePointerEx(target_.get(), position, nullptr, FILE_BEGIN) && ::SetEndOfFile(target_.get());
}
