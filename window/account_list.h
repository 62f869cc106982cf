#pragma once
// The accounts the lobby client remembers on this computer: read from the registry into the
// skin's account list, shown in the logon form's fields when chosen, and forgotten on request.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "uilib/control.h"
#include "window/account_record.h"
#include "window/skin_controls.h"

class AccountList {
public:
    // The index of no record.
    static constexpr std::uint8_t kNone = 255;

    explicit AccountList(const SkinControls& skin) : skin_(skin) {}

    // Reads the remembered accounts (at most 255) into the list, and fills the form with the
    // one used last (or the first).
    void load();
    // The user chose an entry of a list (the account list): its account and remembered
    // password fill the form.
    void choose(CControlUI* list);
    // Empties the form and forgets the chosen account: its entry goes from the list and its
    // key, with everything below it, from the registry. Its record keeps its place.
    void forgetChosen();

    std::size_t count() const { return records_.size(); }
    const AccountRecord& record(std::size_t index) const { return records_[index]; }
    // The record the form was filled with at start-up; kNone when there are none.
    std::uint8_t shown() const { return shown_; }

private:
    // Fills the form with a record: its account, and its password when one is remembered.
    void fillForm(const AccountRecord& record) const;

    const SkinControls& skin_;
    std::vector<AccountRecord> records_;
    std::uint8_t shown_ = kNone;
};
