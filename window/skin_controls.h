#pragma once
// The narrow view the window's parts have of the skin: its controls by name, their texts and
// the state of its options. A control the skin lacks reads as empty and ignores what is set.
#include <string>
#include <string_view>

#include "uilib/control.h"
#include "uilib/paint_manager.h"

class SkinControls {
public:
    explicit SkinControls(CPaintManagerUI& manager) : manager_(manager) {}

    CControlUI* find(std::wstring_view name) const { return manager_.FindControl(name); }
    // The control with that name when it exists and is of type T; null otherwise.
    template <typename T>
    T* find(std::wstring_view name) const {
        return dynamic_cast<T*>(find(name));
    }
    std::wstring text(std::wstring_view name) const;
    void setText(std::wstring_view name, std::wstring_view text) const;
    // Whether the named option is ticked; false when there is none.
    bool isSelected(std::wstring_view name) const;
    void setSelected(std::wstring_view name, bool selected) const;
    void setEnabled(std::wstring_view name, bool enabled) const;

private:
    CPaintManagerUI& manager_;
};
