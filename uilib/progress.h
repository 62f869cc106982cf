#pragma once
// A horizontal progress bar: the background, then the done part ("foreimage" cut to the value,
// or "forecolor") from the left.
#include "uilib/label.h"

class CProgressUI : public CLabelUI {
public:
    std::wstring_view GetClass() const override { return L"ProgressUI"; }
    int GetValue() const { return value_; }
    // Clamped to the range (0 to 100 unless the skin sets "min" and "max").
    void SetValue(int value);
    int GetMinValue() const { return min_; }
    int GetMaxValue() const { return max_; }
    void SetAttribute(std::wstring_view name, std::wstring_view value) override;

protected:
    void PaintStatusImage(HDC dc) override;

private:
    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    std::wstring foreImage_;
    std::uint32_t foreColor_ = 0;
};
