#pragma once
// A button: state images ("normalimage", "hotimage", "pushedimage", "focusedimage",
// "disabledimage") or state colours over the background, its text on top. A click sends
// "click"; so does Space or Enter while it has the focus.
#include "uilib/label.h"

class CButtonUI : public CLabelUI {
public:
    CButtonUI();
    std::wstring_view GetClass() const override { return L"ButtonUI"; }
    void SetAttribute(std::wstring_view name, std::wstring_view value) override;
    void DoEvent(UiEvent& event) override;
    bool IsFocusable() const override { return true; }
    bool Activate() override;

protected:
    void PaintStatusImage(HDC dc) override;
    void PaintText(HDC dc) override;
    // The image description and colour for the current state.
    const std::wstring& StateImage() const;
    std::uint32_t StateColor() const;

    std::wstring normalImage_;
    std::wstring hotImage_;
    std::wstring pushedImage_;
    std::wstring focusedImage_;
    std::wstring disabledImage_;
    std::uint32_t hotBkColor_ = 0;
    std::uint32_t pushedBkColor_ = 0;
    std::uint32_t hotTextColor_ = 0;
    std::uint32_t pushedTextColor_ = 0;
};
