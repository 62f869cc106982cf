#pragma once
// One entry of a combo box's list: a name, a text and a fixed height.
#include "uilib/label.h"

class CListLabelElementUI : public CLabelUI {
public:
    CListLabelElementUI() { textPadding_ = UiRect{6, 0, 6, 0}; }
    std::wstring_view GetClass() const override { return L"ListLabelElementUI"; }
    CListLabelElementUI* AsListEntry() override { return this; }
};
