#pragma once
// The plain control: a rectangle of the window with a name, a text, a background (colour,
// image) and a border. Every other control derives from it. Controls work without a native
// window: they can be built, found, changed and send notifications; drawing and native child
// windows come when their paint manager has a window.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "uilib/attribute_text.h"
#include "uilib/notify.h"

class CPaintManagerUI;
class CListLabelElementUI;
class CContainerUI;

class CControlUI {
public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;
    virtual ~CControlUI();

    virtual std::wstring_view GetClass() const { return L"ControlUI"; }

    const std::wstring& GetName() const { return name_; }
    void SetName(std::wstring_view name) { name_ = name; }
    virtual std::wstring GetText() const { return text_; }
    virtual void SetText(std::wstring_view text);

    bool IsVisible() const { return visible_ && internVisible_; }
    virtual void SetVisible(bool visible);
    // Visibility imposed by the parent (a tab layout hides its other pages).
    virtual void SetInternVisible(bool visible);
    bool IsEnabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    bool IsFloat() const { return float_; }

    // Reads one skin attribute; unknown names are ignored.
    virtual void SetAttribute(std::wstring_view name, std::wstring_view value);
    // An empty text removes the image.
    void SetBkImage(std::wstring_view description);
    const std::wstring& GetBkImage() const { return bkImage_; }
    // 0xAARRGGBB; 0 paints no background.
    void SetBkColor(std::uint32_t color);
    std::uint32_t GetBkColor() const { return bkColor_; }
    std::uint32_t GetTextColor() const { return textColor_; }
    void SetTextColor(std::uint32_t color);

    // Asks for a new layout and a repaint of the window.
    void NeedUpdate();
    // Asks for a repaint of this control only.
    void Invalidate();

    // Position in the window's client area, laid out first when a layout is pending.
    const RECT& GetPos() const;
    virtual void SetPos(const RECT& pos);
    // Position in the window, laid out first when a layout is pending.
    int GetX() const;
    int GetY() const;
    int GetWidth() const { return GetPos().right - GetPos().left; }
    int GetHeight() const { return GetPos().bottom - GetPos().top; }
    // Placement inside the parent for floating controls ("pos"), relative to its top-left.
    const UiRect& GetFloatPos() const { return floatPos_; }
    int GetFixedWidth() const { return fixedWidth_; }
    int GetFixedHeight() const { return fixedHeight_; }
    void SetFixedWidth(int width);
    void SetFixedHeight(int height);
    const UiRect& GetPadding() const { return padding_; }
    // The size the control wants inside the available space; 0 means "whatever is left".
    virtual SIZE EstimateSize(SIZE available);

    CPaintManagerUI* GetManager() const { return manager_; }
    CControlUI* GetParent() const { return parent_; }
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent);

    // Depth-first search over this control and its children; visits in paint order and
    // returns the last match when lastMatch is set (the topmost one for points).
    virtual CControlUI* FindControl(const std::function<bool(CControlUI*)>& match, bool lastMatch);

    // Input from the paint manager.
    virtual void DoEvent(UiEvent& event);
    // Whether the control takes the keyboard focus when clicked.
    virtual bool IsFocusable() const { return false; }
    bool IsFocused() const { return focused_; }
    bool IsHot() const { return hot_; }
    bool IsPushed() const { return pushed_; }
    // The control's action ("click" for buttons); false when it did not act.
    virtual bool Activate();

    // Painting in client coordinates on the paint manager's back buffer.
    virtual void DoPaint(HDC dc, const RECT& paint);

    // Called when the paint manager gets or loses its native window, and when the control's
    // visibility or position changes, for controls with native child windows.
    virtual void OnWindowAttached() {}
    virtual void OnWindowDetached() {}
    // The window has painted its first frame: what the first frame does without (an embedded
    // browser) is made now, so that the window is on screen before it.
    virtual void OnWindowPainted() {}
    virtual void OnNativeCommand(WORD /*code*/) {}
    // The native child window the control edits in; null for controls that draw themselves.
    virtual HWND GetNativeWindow() const { return nullptr; }
    // The brush the native child window is painted with (WM_CTLCOLOREDIT); null: the system's.
    virtual HBRUSH NativeBackground(HDC /*dc*/) { return nullptr; }
    // The group of options the control belongs to; empty for controls of no group.
    virtual std::wstring_view GetGroupName() const { return {}; }

    // Takes a child built from a skin and owns it from then on; false, with the child deleted,
    // when the control holds no such children (a plain control holds none).
    virtual bool AddChild(CControlUI* child);
    // The list entry the control is, for a list that holds entries; null for other controls.
    virtual CListLabelElementUI* AsListEntry() { return nullptr; }

protected:
    // Drops hover and press, and makes the paint manager forget the control (hidden, disabled).
    void ForgetInput();
    void PaintBkColor(HDC dc);
    void PaintBkImage(HDC dc);
    virtual void PaintStatusImage(HDC /*dc*/) {}
    virtual void PaintText(HDC /*dc*/) {}
    void PaintBorder(HDC dc);
    // Draws an image description into rect (the control's own position when null).
    bool DrawImage(HDC dc, std::wstring_view description, const RECT* rect = nullptr);
    void DrawTextIn(HDC dc, const RECT& rect, std::wstring_view text, std::uint32_t color, UINT format);
    RECT TextRect() const;

    std::wstring name_;
    std::wstring text_;
    RECT pos_{};
    UiRect floatPos_;
    UiRect padding_;
    UiRect textPadding_;
    int fixedWidth_ = 0;
    int fixedHeight_ = 0;
    bool visible_ = true;
    bool internVisible_ = true;
    bool enabled_ = true;
    bool float_ = false;
    bool focused_ = false;
    bool hot_ = false;
    bool pushed_ = false;
    std::uint32_t bkColor_ = 0;
    std::uint32_t borderColor_ = 0;
    int borderSize_ = 0;
    int borderRound_ = 0;
    std::wstring bkImage_;
    std::uint32_t textColor_ = 0xFF000000;
    std::uint32_t disabledTextColor_ = 0xFFA0A0A0;
    int font_ = -1;
    UINT textFormat_ = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
    CPaintManagerUI* manager_ = nullptr;
    CControlUI* parent_ = nullptr;

    friend class CPaintManagerUI;
};
