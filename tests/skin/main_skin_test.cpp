// The launcher's main skin (LobbexUpdate/LobbexUpdate.xml) as the window builds it: the
// controls the program finds by name, with the classes it relies on, on the right pages; the
// option groups; the window attributes; the images it names; a layout that fits the window.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/text_codec.h"
#include "common/ascii_case.h"
#include "uilib/combo.h"
#include "uilib/container.h"
#include "uilib/dialog_builder.h"
#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/paint_manager.h"
#include "uilib/web_browser.h"
#include "uilib/xml_document.h"
#include "window/click_table.h"

namespace {

constexpr wchar_t kSkin[] = L"LobbexUpdate//LobbexUpdate.xml";

std::string utf8(std::wstring_view text) {
    return encodeText(text, CP_UTF8).value_or("?");
}

// A control as a failure message names it: its class, name and text.
std::string describe(const CControlUI* control) {
    return utf8(control->GetClass()) + " '" + utf8(control->GetName()) + "' '" + utf8(control->GetText()) + "'";
}

// Makes the browser controls of the skin, as the launcher's window does.
class BrowserFactory : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(const wchar_t* className) override {
        asked.push_back(className);
        return equalsIgnoringAsciiCase(className, L"WebBrowserEx") ? new CWebBrowserUI() : nullptr;
    }
    std::vector<std::wstring> asked;
};

class MainSkin : public ::testing::Test {
protected:
    void SetUp() override {
        CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath());
        CDialogBuilder builder;
        ASSERT_TRUE(manager.AttachDialog(builder.Create(kSkin, nullptr, &factory, &manager)))
            << "the skin is copied beside the test program";
    }

    // Every control of the tree with that name.
    std::vector<CControlUI*> allNamed(std::wstring_view name) {
        std::vector<CControlUI*> found;
        manager.GetRoot()->FindControl(
            [&](CControlUI* c) {
                if (c->GetName() == name) {
                    found.push_back(c);
                }
                return false;
            },
            true);
        return found;
    }

    CTabLayoutUI* pages() { return dynamic_cast<CTabLayoutUI*>(manager.FindControl(L"LogonRegister")); }

    // The page of LogonRegister that holds a control; -1 when it is on none.
    int pageOf(const CControlUI* control) {
        CTabLayoutUI* tabs = pages();
        for (const CControlUI* c = control; c != nullptr; c = c->GetParent()) {
            if (c->GetParent() == tabs) {
                return tabs->GetItemIndex(c);
            }
        }
        return -1;
    }

    BrowserFactory factory;
    CPaintManagerUI manager;
};

struct Required {
    const wchar_t* name;
    const wchar_t* cls;
    int page;     // the page of LogonRegister it stands on; -1 outside the pages
    bool clicks;  // a name of the window's click table
};

// What the window and the registration form find by name, and what the user clicks.
constexpr Required kRequired[] = {
    {L"backlayout", L"ContainerUI", -1, false},
    {L"LogonRegister", L"TabLayoutUI", -1, false},
    {L"UpdateState", L"LabelUI", -1, false},
    {L"AllFileProgress", L"ProgressUI", -1, false},
    {L"CloseWindow", L"ButtonUI", -1, true},
    {L"MinWindow", L"ButtonUI", -1, true},
    {L"WebIndex", L"ButtonUI", -1, true},
    {L"Pay", L"ButtonUI", -1, true},
    {L"QQOnline", L"ButtonUI", -1, true},
    {L"RegisterTop", L"ButtonUI", -1, true},
    // Account logon.
    {L"web", L"WebBrowserUI", 0, false},
    {L"Logon-Teb", L"ButtonUI", 0, true},
    {L"QQLogon", L"ButtonUI", 0, true},
    {L"WeiLogon", L"ButtonUI", 0, true},
    {L"Account", L"ComboUI", 0, false},
    {L"LogonAccount", L"EditUI", 0, false},
    {L"DeletAccount", L"ButtonUI", 0, true},
    {L"PassWord", L"EditUI", 0, false},
    {L"SavePassword", L"OptionUI", 0, false},
    {L"GetPassword", L"ButtonUI", 0, true},
    {L"Logon", L"ButtonUI", 0, true},
    {L"Register", L"ButtonUI", 0, true},
    // Registration.
    {L"edit_Account", L"EditUI", 1, false},
    {L"Image_Account", L"ControlUI", 1, false},
    {L"Text_Account", L"LabelUI", 1, false},
    {L"edit_GameName", L"EditUI", 1, false},
    {L"Image_GameName", L"ControlUI", 1, false},
    {L"Text_GameName", L"LabelUI", 1, false},
    {L"edit_PassWord_1", L"EditUI", 1, false},
    {L"Image_PassWord_1", L"ControlUI", 1, false},
    {L"Text_PassWord_1", L"LabelUI", 1, false},
    {L"passlv0_option", L"OptionUI", 1, false},
    {L"passlv1_option", L"OptionUI", 1, false},
    {L"passlv2_option", L"OptionUI", 1, false},
    {L"passlv3_option", L"OptionUI", 1, false},
    {L"edit_PassWord_2", L"EditUI", 1, false},
    {L"Image_PassWord_2", L"ControlUI", 1, false},
    {L"Text_PassWord_2", L"LabelUI", 1, false},
    {L"Option_boy", L"OptionUI", 1, true},
    {L"Option_gorig", L"OptionUI", 1, true},
    {L"edit_OK", L"EditUI", 1, false},
    {L"Text_Number", L"LabelUI", 1, false},
    {L"But_Ok", L"ButtonUI", 1, true},
    {L"Image_OK", L"ControlUI", 1, false},
    {L"Option_OK", L"OptionUI", 1, true},
    {L"Register_Ok", L"ButtonUI", 1, true},
    {L"Register_Clost", L"ButtonUI", 1, true},
    {L"RegisterLogonWeb", L"WebBrowserUI", 1, false},
    // Web logons.
    {L"QQLogonWeb", L"WebBrowserUI", 2, false},
    {L"WeixLogonWeb", L"WebBrowserUI", 3, false},
};

TEST_F(MainSkin, EveryControlTheLauncherFindsIsThereWithItsClassOnItsPage) {
    for (const Required& required : kRequired) {
        SCOPED_TRACE(required.name);
        const std::vector<CControlUI*> controls = allNamed(required.name);
        ASSERT_FALSE(controls.empty());
        // A click name may stand on several pages; every one of them must act alike.
        for (CControlUI* control : controls) {
            EXPECT_EQ(std::wstring(control->GetClass()), required.cls);
        }
        EXPECT_EQ(pageOf(controls.front()), required.page);
        if (required.clicks) {
            EXPECT_NE(clickActionFor(required.name), ClickAction::NotHandled) << "not a name of the click table";
        }
    }
    EXPECT_EQ(factory.asked, (std::vector<std::wstring>(4, L"WebBrowserEx")));
}

TEST_F(MainSkin, EveryPageLeadsBackToTheAccountLogon) {
    CTabLayoutUI* tabs = pages();
    ASSERT_EQ(tabs->GetCount(), 4);
    EXPECT_EQ(tabs->GetCurSel(), 0);
    // Page 0 leads to the others; each other page has a way back of its own, beside the close
    // button of the title band.
    std::set<std::pair<std::wstring, int>> ways;
    for (const wchar_t* name : {L"Register", L"QQLogon", L"WeiLogon", L"Register_Clost"}) {
        for (CControlUI* control : allNamed(name)) {
            ways.emplace(name, pageOf(control));
        }
    }
    for (const auto& way : std::set<std::pair<std::wstring, int>>{{L"Register", 0},
                                                                  {L"QQLogon", 0},
                                                                  {L"WeiLogon", 0},
                                                                  {L"Register_Clost", 1},
                                                                  {L"Register_Clost", 2},
                                                                  {L"Register_Clost", 3},
                                                                  {L"WeiLogon", 2},
                                                                  {L"QQLogon", 3}}) {
        EXPECT_TRUE(ways.count(way)) << "no " << utf8(way.first) << " on page " << way.second;
    }
}

TEST_F(MainSkin, OptionGroupsAndStartingStates) {
    auto option = [this](const wchar_t* name) { return dynamic_cast<COptionUI*>(manager.FindControl(name)); };
    // The strength levels are one group of exactly four: selecting one clears the others.
    const std::wstring strength = option(L"passlv0_option")->GetGroup();
    ASSERT_FALSE(strength.empty());
    EXPECT_EQ(manager.GetGroup(strength).size(), 4u);
    for (const wchar_t* name : {L"passlv1_option", L"passlv2_option", L"passlv3_option"}) {
        EXPECT_EQ(option(name)->GetGroup(), strength);
    }
    option(L"passlv1_option")->SetSelected(true);
    option(L"passlv3_option")->SetSelected(true);
    EXPECT_FALSE(option(L"passlv1_option")->IsSelected());
    EXPECT_TRUE(option(L"passlv3_option")->IsSelected());

    // The genders are another group of two, one chosen from the start.
    const std::wstring gender = option(L"Option_boy")->GetGroup();
    ASSERT_FALSE(gender.empty());
    EXPECT_NE(gender, strength);
    EXPECT_EQ(option(L"Option_gorig")->GetGroup(), gender);
    EXPECT_EQ(manager.GetGroup(gender).size(), 2u);
    EXPECT_TRUE(option(L"Option_boy")->IsSelected() != option(L"Option_gorig")->IsSelected());

    // Check boxes: the agreement starts accepted, as the window's flag does.
    EXPECT_TRUE(option(L"Option_OK")->GetGroup().empty());
    EXPECT_TRUE(option(L"Option_OK")->IsSelected());
    EXPECT_TRUE(option(L"SavePassword")->GetGroup().empty());
}

TEST_F(MainSkin, PasswordsAreHidden) {
    for (const wchar_t* name : {L"PassWord", L"edit_PassWord_1", L"edit_PassWord_2"}) {
        EXPECT_TRUE(static_cast<CEditUI*>(manager.FindControl(name))->IsPasswordMode()) << name;
    }
    EXPECT_FALSE(static_cast<CEditUI*>(manager.FindControl(L"LogonAccount"))->IsPasswordMode());
}

TEST_F(MainSkin, TabGoesFromFieldToFieldInReadingOrder) {
    // Each list: the page, then controls that Tab visits one after the other.
    const std::vector<std::pair<int, std::vector<const wchar_t*>>> chains{
        {0, {L"LogonAccount", L"PassWord", L"SavePassword"}},
        {1, {L"edit_Account", L"edit_GameName", L"edit_PassWord_1", L"edit_PassWord_2", L"Option_boy"}},
        {1, {L"edit_OK", L"But_Ok", L"Option_OK", L"Register_Ok"}},
    };
    for (const auto& [page, chain] : chains) {
        ASSERT_TRUE(pages()->SelectItem(page));
        manager.SetFocus(manager.FindControl(chain.front()));
        for (std::size_t i = 1; i < chain.size(); ++i) {
            manager.MoveFocus(true);
            ASSERT_NE(manager.GetFocus(), nullptr);
            EXPECT_EQ(manager.GetFocus()->GetName(), chain[i]) << "after " << utf8(chain[i - 1]);
        }
    }
}

TEST_F(MainSkin, WindowAttributesShapeAFixedBorderlessWindow) {
    const SIZE size = manager.GetInitSize();
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
    // The colour-skin backgrounds are 1000x750 and drawn unscaled from the top-left.
    EXPECT_LE(size.cx, 1000);
    EXPECT_LE(size.cy, 750);
    EXPECT_GT(manager.GetRoundCorner().cx, 0);
    EXPECT_GT(manager.GetRoundCorner().cy, 0);
    const RECT caption = manager.GetCaptionRect();
    EXPECT_EQ(caption.left, 0);
    EXPECT_EQ(caption.top, 0);
    EXPECT_EQ(caption.right, 0);
    EXPECT_GE(caption.bottom, 30);
    EXPECT_LE(caption.bottom, 60);
    const RECT box = manager.GetSizeBox();
    EXPECT_EQ(box.left + box.top + box.right + box.bottom, 0) << "the launcher has a fixed size";

    // Minimise and close sit at the top right, inside the band.
    const RECT minimise = manager.FindControl(L"MinWindow")->GetPos();
    const RECT close = manager.FindControl(L"CloseWindow")->GetPos();
    EXPECT_LE(close.bottom, caption.bottom);
    EXPECT_GE(close.right, size.cx - 16);
    EXPECT_LT(minimise.right, close.right);
    EXPECT_LE(minimise.bottom, caption.bottom);
}

TEST_F(MainSkin, WhatIsClickedInTheCaptionBandDoesNotDragTheWindow) {
    // The window drags by any point of the band except on buttons, edits, combo boxes, texts
    // and progress bars; an option or a clickable control of another class there would drag.
    const RECT band{0, 0, manager.GetInitSize().cx, manager.GetCaptionRect().bottom};
    const std::set<std::wstring_view> active{L"ButtonUI", L"EditUI", L"ComboUI", L"TextUI", L"ProgressUI"};
    int clickable = 0;
    manager.GetRoot()->FindControl(
        [&](CControlUI* c) {
            RECT overlap;
            const RECT pos = c->GetPos();
            if (c->IsVisible() && ::IntersectRect(&overlap, &pos, &band) &&
                (c->IsFocusable() || dynamic_cast<COptionUI*>(c) != nullptr)) {
                ++clickable;
                EXPECT_TRUE(active.count(c->GetClass())) << describe(c);
            }
            return false;
        },
        true);
    EXPECT_GE(clickable, 6);
}

TEST_F(MainSkin, EveryPageFitsTheWindowAndItsContainers) {
    const RECT window{0, 0, manager.GetInitSize().cx, manager.GetInitSize().cy};
    for (int page = 0; page < pages()->GetCount(); ++page) {
        SCOPED_TRACE(page);
        ASSERT_TRUE(pages()->SelectItem(page));
        manager.UpdateLayout();
        int shown = 0;
        manager.GetRoot()->FindControl(
            [&](CControlUI* c) {
                if (!c->IsVisible()) {
                    return false;
                }
                ++shown;
                const RECT pos = c->GetPos();
                const RECT outer = c->GetParent() != nullptr ? c->GetParent()->GetPos() : window;
                RECT inside;
                ::IntersectRect(&inside, &pos, &outer);
                EXPECT_TRUE(::EqualRect(&inside, &pos)) << "cut off: " << describe(c);
                EXPECT_GT(pos.right, pos.left);
                EXPECT_GT(pos.bottom, pos.top);
                return false;
            },
            true);
        EXPECT_GT(shown, 20);
    }
}

// The image-bearing attributes of the controls.
bool namesImage(std::wstring_view attribute) {
    for (const wchar_t* name : {L"bkimage", L"normalimage", L"hotimage", L"pushedimage", L"focusedimage",
                                L"disabledimage", L"selectedimage", L"selectedhotimage", L"foreimage", L"arrowimage"}) {
        if (attribute == name) {
            return true;
        }
    }
    return false;
}

TEST_F(MainSkin, EveryImageItNamesIsThereAndHoldsItsSourceRectangle) {
    XmlElement document;
    ASSERT_TRUE(loadXmlFile(CPaintManagerUI::GetInstancePath() + L"LobbexUpdate\\LobbexUpdate.xml", document));
    int images = 0;
    std::vector<const XmlElement*> open{&document};
    while (!open.empty()) {
        const XmlElement* element = open.back();
        open.pop_back();
        for (const XmlElement& child : element->children) {
            open.push_back(&child);
        }
        for (const auto& [attribute, value] : element->attributes) {
            if (!namesImage(attribute)) {
                continue;
            }
            SCOPED_TRACE(utf8(value));
            const std::optional<ImageDescription> description = parseImageDescription(value);
            ASSERT_TRUE(description.has_value());
            const UiImage* image = manager.GetImage(description->file);
            ASSERT_NE(image, nullptr);
            ++images;
            const UiRect source = description->source.value_or(UiRect{0, 0, image->width, image->height});
            EXPECT_TRUE(source.left >= 0 && source.top >= 0 && source.right <= image->width &&
                        source.bottom <= image->height && source.left < source.right && source.top < source.bottom);
        }
    }
    EXPECT_GT(images, 40);

    // The registration form draws its status icons from one strip: invalid left, valid right.
    const UiImage* tooltip = manager.GetImage(L"LobbexUpdate\\tooltip.png");
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(tooltip->width, 32);
    EXPECT_EQ(tooltip->height, 16);
    // The colour skins the window may put on backlayout.
    for (int folder = 0; folder < 4; ++folder) {
        const UiImage* background =
            manager.GetImage(L"res\\Lobbex\\ColorSkin\\" + std::to_wstring(folder) + L"\\bkg.jpg");
        ASSERT_NE(background, nullptr) << folder;
        EXPECT_EQ(background->width, 1000);
        EXPECT_EQ(background->height, 750);
    }
}

TEST_F(MainSkin, ChineseTextsArriveWhole) {
    int texts = 0;
    manager.GetRoot()->FindControl(
        [&](CControlUI* c) {
            const std::wstring text = c->GetText();
            if (!text.empty()) {
                ++texts;
                EXPECT_EQ(text.find(L'\xFFFD'), std::wstring::npos) << describe(c);
            }
            return false;
        },
        true);
    EXPECT_GT(texts, 40);
    EXPECT_EQ(manager.FindControl(L"Text_Account")->GetText(), L"6~18个字母/数字组成，不能全为数字，不区分大小写");
}

}  // namespace
