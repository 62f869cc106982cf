#pragma once
// A drop-down list of CListLabelElementUI entries. It shows the text of the selected entry;
// a click opens the list below it (with a window), choosing an entry selects it and sends
// "itemselect". The entries are owned by the combo box.
#include <memory>
#include <vector>

#include "uilib/button.h"
#include "uilib/list_label.h"

class CComboPopup;

class CComboUI : public CButtonUI {
public:
    CComboUI();
    ~CComboUI() override;
    std::wstring_view GetClass() const override { return L"ComboUI"; }

    // The selected entry's text; the control's own text when nothing is selected.
    std::wstring GetText() const override;
    // -1 when nothing is selected.
    int GetCurSel() const { return current_; }
    // Selects the entry (-1 selects none) and sends "itemselect"; false for a bad index.
    bool SelectItem(int index);
    int GetCount() const { return static_cast<int>(items_.size()); }
    CListLabelElementUI* GetItemAt(int index) const;
    int GetItemIndex(const CControlUI* item) const;
    // Adds an entry at the end and takes ownership; false when item is null.
    bool Add(CListLabelElementUI* item);
    // Only list entries are children of a combo box.
    bool AddChild(CControlUI* child) override;
    // Deletes the entry; the selection follows its entry or becomes none.
    bool Remove(CControlUI* item);
    bool RemoveAt(int index);
    void RemoveAll();

    bool IsDropped() const { return popup_ != nullptr; }
    // Closes the drop-down list if it is open.
    void CloseDropDown();
    int GetDropHeight() const { return dropHeight_; }
    std::uint32_t GetItemHotColor() const { return itemHotColor_; }
    std::uint32_t GetItemSelectedColor() const { return itemSelectedColor_; }
    std::uint32_t GetListBkColor() const { return listBkColor_; }

    void SetAttribute(std::wstring_view name, std::wstring_view value) override;
    void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
    bool Activate() override;

protected:
    void PaintStatusImage(HDC dc) override;

private:
    friend class CComboPopup;
    void PopupClosed();

    std::vector<std::unique_ptr<CListLabelElementUI>> items_;
    int current_ = -1;
    int dropHeight_ = 150;
    std::wstring arrowImage_;
    std::uint32_t itemHotColor_ = 0xFFE8F1FB;
    std::uint32_t itemSelectedColor_ = 0xFFCCE4F7;
    std::uint32_t listBkColor_ = 0xFFFFFFFF;
    CComboPopup* popup_ = nullptr;
};
