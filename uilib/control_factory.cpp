#include "uilib/control_factory.h"
#include "common/ascii_case.h"

#include "uilib/attribute_text.h"
#include "uilib/button.h"
#include "uilib/combo.h"
#include "uilib/container.h"
#include "uilib/edit.h"
#include "uilib/label.h"
#include "uilib/list_label.h"
#include "uilib/option.h"
#include "uilib/progress.h"
#include "uilib/web_browser.h"

namespace {

template <typename T>
CControlUI* make() {
    return new T();
}

struct Entry {
    std::wstring_view name;
    CControlUI* (*create)();
};

constexpr Entry kControls[] = {
    {L"Control", &make<CControlUI>},
    {L"Container", &make<CContainerUI>},
    {L"VerticalLayout", &make<CVerticalLayoutUI>},
    {L"HorizontalLayout", &make<CHorizontalLayoutUI>},
    {L"TabLayout", &make<CTabLayoutUI>},
    {L"Label", &make<CLabelUI>},
    {L"Text", &make<CTextUI>},
    {L"Button", &make<CButtonUI>},
    {L"Option", &make<COptionUI>},
    {L"Edit", &make<CEditUI>},
    {L"Combo", &make<CComboUI>},
    {L"ListLabelElement", &make<CListLabelElementUI>},
    {L"Progress", &make<CProgressUI>},
    {L"WebBrowser", &make<CWebBrowserUI>},
};

}  // namespace

CControlUI* createBuiltinControl(std::wstring_view elementName) {
    for (const Entry& entry : kControls) {
        if (equalsIgnoringAsciiCase(entry.name, elementName)) {
            return entry.create();
        }
    }
    return nullptr;
}
