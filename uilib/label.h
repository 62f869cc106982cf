#pragma once
// Text controls: CLabelUI draws its text in one or more lines, CTextUI is a label that the
// window treats as interactive text (a link-like caption).
#include "uilib/control.h"

class CLabelUI : public CControlUI {
public:
    std::wstring_view GetClass() const override { return L"LabelUI"; }

protected:
    void PaintText(HDC dc) override;
};

class CTextUI : public CLabelUI {
public:
    std::wstring_view GetClass() const override { return L"TextUI"; }
};
