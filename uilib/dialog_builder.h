#pragma once
// Builds a control tree from a skin file. The root element "Window" carries the window
// attributes and the fonts; its first control element becomes the root control. Class names
// the library does not know go to the callback.
#include <string>
#include <string_view>
#include <vector>

#include "uilib/attribute_text.h"

#include "uilib/control.h"

class CPaintManagerUI;
struct XmlElement;

class IDialogBuilderCallback {
public:
    // A new control for className, owned by the caller from then on; null when unknown.
    virtual CControlUI* CreateControl(const wchar_t* className) = 0;

protected:
    ~IDialogBuilderCallback() = default;
};

class CDialogBuilder {
public:
    // Builds skin (relative to the resource path, or absolute). type must be null: skins are
    // read from files. The window attributes and fonts go to manager when given; the root is
    // added to parent (a container) when given. Returns the root, owned by the caller (or by
    // parent), or null when the file cannot be read or holds no control.
    CControlUI* Create(std::wstring_view skin, const wchar_t* type = nullptr,
                       IDialogBuilderCallback* callback = nullptr, CPaintManagerUI* manager = nullptr,
                       CControlUI* parent = nullptr);
    // The same from a skin held in memory.
    CControlUI* CreateFromText(std::string_view xml, IDialogBuilderCallback* callback = nullptr,
                               CPaintManagerUI* manager = nullptr, CControlUI* parent = nullptr);

private:
    CControlUI* Build(const XmlElement& document, IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                      CControlUI* parent);
    CControlUI* BuildControl(const XmlElement& element, IDialogBuilderCallback* callback);

    // The image attributes met while building, decoded ahead once the tree is complete.
    struct NamedImage {
        CControlUI* control;
        std::wstring description;
        ImageNeed need;
    };
    std::vector<NamedImage> images_;
};
