#pragma once
// A check box or, with a "group", a radio button: options of one group in one window exclude
// each other. A click selects it (a grouped option) or toggles it, sends "selectchanged" when
// the state changed and then "click".
#include "uilib/button.h"

class COptionUI : public CButtonUI {
public:
    std::wstring_view GetClass() const override { return L"OptionUI"; }
    bool IsSelected() const { return selected_; }
    // Selecting an option of a group deselects the others of the group.
    void SetSelected(bool selected);
    const std::wstring& GetGroup() const { return group_; }
    std::wstring_view GetGroupName() const override { return group_; }
    void SetAttribute(std::wstring_view name, std::wstring_view value) override;
    bool Activate() override;

protected:
    void PaintStatusImage(HDC dc) override;

private:
    bool selected_ = false;
    std::wstring group_;
    std::wstring selectedImage_;
    std::wstring selectedHotImage_;
    std::uint32_t selectedBkColor_ = 0;
};
