#pragma once
// Owns the control tree of one window: lays it out, paints it double-buffered, turns the
// window's mouse and keyboard messages into control events (hover, press, focus) and sends the
// controls' notifications to the registered notifiers on the window's thread. Without a window
// (Init never called) the tree can still be built, laid out at the skin's size, searched,
// changed and clicked through MessageHandler.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "uilib/attribute_text.h"
#include "uilib/control.h"
#include "uilib/font_table.h"
#include "uilib/image_loader.h"
#include "uilib/notify.h"

class COptionUI;

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    // The module whose window classes and resources the library uses (the executable when unset).
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();
    // The folder of that module, ending in "\".
    static std::wstring GetInstancePath();
    // The folder that skin files and image paths are relative to (ends in "\" once set).
    static void SetResourcePath(std::wstring_view path);
    static std::wstring GetResourcePath();
    // Gives keyboard messages to an embedded browser that has the focus; true when consumed.
    static bool TranslateMessage(const MSG* message);

    // Binds the manager to its native window.
    void Init(HWND window);
    HWND GetPaintWindow() const { return window_; }
    // Whether the window has painted its first frame (and the controls have been told).
    bool HasPainted() const { return painted_; }
    // Takes ownership of the built root (replacing any earlier one) and lays it out.
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return root_.get(); }
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    // Delivers a notification to every notifier now, on the calling thread.
    void SendNotify(CControlUI* sender, UiNotifyType type, WPARAM wParam = 0, LPARAM lParam = 0);

    // The control with exactly that name; null when there is none.
    CControlUI* FindControl(std::wstring_view name);
    // The topmost visible control at a client point; null outside the tree.
    CControlUI* FindControl(POINT point);
    // The controls of a group of options, in tree order; none for the empty group.
    std::vector<CControlUI*> GetGroup(std::wstring_view group);

    // Window attributes of the skin.
    SIZE GetInitSize() const { return initSize_; }
    void SetInitSize(int cx, int cy);
    SIZE GetRoundCorner() const { return roundCorner_; }
    // left, top, right measured from the right edge, bottom measured from the top edge.
    RECT GetCaptionRect() const { return caption_; }
    // Widths of the sizing bands at left, top, right, bottom.
    RECT GetSizeBox() const { return sizeBox_; }
    // Reads one attribute of the skin's Window element.
    void SetWindowAttribute(std::wstring_view name, std::wstring_view value);

    void AddFont(int id, const FontSpec& spec, bool isDefault) { fonts_.Add(id, spec, isDefault); }
    HFONT GetFont(int id) { return fonts_.Get(id); }
    // A decoded image by its path relative to the resource path; null when it cannot be read.
    const UiImage* GetImage(std::wstring_view file);
    // Starts decoding an image the window is going to draw (an image description, as GetImage's
    // file is given), so that the painting thread finds it ready.
    void PrefetchImage(std::wstring_view description, ImageNeed need);

    // The window's messages; true when handled, with the result in result.
    bool MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Queued messages before they are dispatched; true when consumed (Tab moves the focus).
    bool PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void NeedUpdate();
    void Invalidate(const RECT& rect);
    // Lays the tree out now when something asked for it.
    void UpdateLayout();

    CControlUI* GetFocus() const { return focus_; }
    void SetFocus(CControlUI* control);
    // Moves the focus to the next (or previous) focusable control.
    void MoveFocus(bool forward);
    CControlUI* GetHotControl() const { return hot_; }
    // Forgets a control that goes away or hides (hover, press, focus).
    void ReleaseControl(CControlUI* control);

private:
    void Paint();
    void OnMouseMove(POINT point);
    void OnButtonDown(POINT point, bool doubleClick);
    void OnButtonUp(POINT point);
    void SetHot(CControlUI* control, POINT point);
    CControlUI* FindNative(HWND child);

    HWND window_ = nullptr;
    std::unique_ptr<CControlUI> root_;
    std::vector<INotifyUI*> notifiers_;
    CControlUI* hot_ = nullptr;
    CControlUI* pushed_ = nullptr;
    CControlUI* focus_ = nullptr;
    bool needLayout_ = true;
    bool painted_ = false;
    bool layingOut_ = false;
    RECT movedArea_{};  // what the controls moved by the layout under way cover
    bool paintPosted_ = false;
    bool trackingMouse_ = false;
    SIZE initSize_{};
    SIZE roundCorner_{};
    RECT caption_{};
    RECT sizeBox_{};
    FontTable fonts_;
    ImageCache images_;
    UniqueGdiObject backBuffer_;
    SIZE backSize_{};
};
