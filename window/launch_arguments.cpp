#include "window/launch_arguments.h"

namespace {

class ArgumentText {
public:
    explicit ArgumentText(int logonType) { text_ = L" " + std::to_wstring(logonType); }
    ArgumentText& field(std::wstring_view value) {
        fits_ = fits_ && fitsArgumentField(value);
        text_.push_back(kArgumentSeparator);
        text_.append(value);
        return *this;
    }
    ArgumentText& field(int value) { return field(std::to_wstring(value)); }
    std::optional<std::wstring> text() const { return fits_ ? std::optional<std::wstring>(text_) : std::nullopt; }

private:
    std::wstring text_;
    bool fits_ = true;
};

constexpr int kReserved = 0;

}  // namespace

std::optional<std::wstring> accountLogonArguments(std::wstring_view account, std::wstring_view password,
                                                  bool savePassword) {
    return ArgumentText(kLogonWithAccount)
        .field(account)
        .field(password)
        .field(savePassword ? 1 : 0)
        .field(kReserved)
        .text();
}

std::optional<std::wstring> registrationArguments(std::wstring_view account, std::wstring_view password,
                                                  bool savePassword, std::wstring_view nickname, bool male) {
    return ArgumentText(kLogonAfterRegistration)
        .field(account)
        .field(password)
        .field(savePassword ? 1 : 0)
        .field(nickname)
        .field(male ? 1 : 0)
        .field(kReserved)
        .text();
}

std::optional<std::wstring> webLogonArguments(int logonType, std::wstring_view first, std::wstring_view second) {
    return ArgumentText(logonType).field(first).field(second).field(0).field(kReserved).text();
}
