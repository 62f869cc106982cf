#pragma once
// Controls that hold controls. CContainerUI places each child at its "pos" (free placement)
// or, without one, over its whole inner area; the layouts stack children; the tab layout
// shows one child at a time.
#include <memory>
#include <vector>

#include "uilib/control.h"

class CContainerUI : public CControlUI {
public:
    std::wstring_view GetClass() const override { return L"ContainerUI"; }

    // Takes ownership; false (and the control deleted) when it cannot be added.
    bool Add(CControlUI* control);
    bool AddAt(CControlUI* control, int index);
    bool AddChild(CControlUI* child) override { return Add(child); }
    // Deletes the child; false when it is not a child.
    bool Remove(CControlUI* control);
    bool RemoveAt(int index);
    void RemoveAll();
    int GetCount() const { return static_cast<int>(items_.size()); }
    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(const CControlUI* control) const;

    void SetAttribute(std::wstring_view name, std::wstring_view value) override;
    void SetPos(const RECT& pos) override;
    void SetVisible(bool visible) override;
    void SetInternVisible(bool visible) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
    CControlUI* FindControl(const std::function<bool(CControlUI*)>& match, bool lastMatch) override;
    void DoPaint(HDC dc, const RECT& paint) override;
    void OnWindowAttached() override;
    void OnWindowDetached() override;
    void OnWindowPainted() override;

protected:
    // The area inside the inset.
    RECT InnerRect() const;
    // Places the children that are not stacked by a layout.
    void PlaceFloating(const RECT& inner, bool everyChild);
    RECT FloatRect(const CControlUI& child, const RECT& inner) const;
    // Whether a child is on show as far as this container is concerned.
    virtual bool ShowsChild(int /*index*/) const { return true; }
    void UpdateChildVisibility();

    std::vector<std::unique_ptr<CControlUI>> items_;
    UiRect inset_;
    int childPadding_ = 0;
};

class CVerticalLayoutUI : public CContainerUI {
public:
    std::wstring_view GetClass() const override { return L"VerticalLayoutUI"; }
    void SetPos(const RECT& pos) override;
};

class CHorizontalLayoutUI : public CContainerUI {
public:
    std::wstring_view GetClass() const override { return L"HorizontalLayoutUI"; }
    void SetPos(const RECT& pos) override;
};

class CTabLayoutUI : public CContainerUI {
public:
    std::wstring_view GetClass() const override { return L"TabLayoutUI"; }
    // Shows the child at index and hides the others; false for an index out of range.
    bool SelectItem(int index);
    int GetCurSel() const { return current_; }
    void SetAttribute(std::wstring_view name, std::wstring_view value) override;

protected:
    bool ShowsChild(int index) const override { return index == current_; }

private:
    int current_ = 0;
};
