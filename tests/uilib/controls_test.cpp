// The control tree without a native window: finding, clicking through the paint manager's
// message handling, options, combo items, tabs, progress, edits.
#include <gtest/gtest.h>

#include "tests/uilib/test_host.h"
#include "uilib/combo.h"
#include "uilib/container.h"
#include "uilib/edit.h"
#include "uilib/option.h"
#include "uilib/progress.h"

namespace {

const char kForm[] = R"(<Window size="400,300">
  <Container name="back">
    <Button name="ok" float="true" pos="10,10,90,40" text="OK"/>
    <Button name="off" float="true" pos="100,10,180,40" enabled="false"/>
    <Label name="cover" float="true" pos="200,10,300,40"/>
    <Button name="under" float="true" pos="200,10,300,40" visible="false"/>
    <Option name="boy" group="gender" float="true" pos="10,50,60,70"/>
    <Option name="girl" group="gender" float="true" pos="70,50,120,70" selected="true"/>
    <Option name="remember" float="true" pos="130,50,180,70"/>
    <Combo name="accounts" float="true" pos="10,80,200,104">
      <ListLabelElement name="first" text="alpha" height="20"/>
    </Combo>
    <Edit name="user" float="true" pos="10,110,200,134" text="abc"/>
    <Edit name="pass" float="true" pos="10,140,200,164" password="true"/>
    <Progress name="bar" float="true" pos="10,170,200,180"/>
    <TabLayout name="pages" float="true" pos="210,50,390,290">
      <Container name="page0"><Button name="inPage0" float="true" pos="0,0,50,20"/></Container>
      <Container name="page1"><Button name="inPage1" float="true" pos="0,0,50,20"/></Container>
    </TabLayout>
  </Container>
</Window>)";

class ControlTree : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(attachSkin(manager, kForm));
        manager.AddNotifier(&notes);
    }
    void mouse(UINT message, int x, int y) {
        LRESULT result = 0;
        manager.MessageHandler(message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y), result);
    }
    void click(int x, int y) {
        mouse(WM_MOUSEMOVE, x, y);
        mouse(WM_LBUTTONDOWN, x, y);
        mouse(WM_LBUTTONUP, x, y);
    }
    template <typename T>
    T* find(const wchar_t* name) {
        return static_cast<T*>(manager.FindControl(name));
    }

    CPaintManagerUI manager;
    RecordingNotifier notes;
};

TEST_F(ControlTree, FindsControlsByExactNameAndByPoint) {
    EXPECT_NE(manager.FindControl(L"ok"), nullptr);
    EXPECT_EQ(manager.FindControl(L"OK"), nullptr);
    EXPECT_EQ(manager.FindControl(L""), nullptr);
    EXPECT_EQ(manager.FindControl(POINT{20, 20}), manager.FindControl(L"ok"));
    // The hidden button over the label does not count; the container shows where nothing else is.
    EXPECT_EQ(manager.FindControl(POINT{250, 20}), manager.FindControl(L"cover"));
    EXPECT_EQ(manager.FindControl(POINT{395, 5}), manager.FindControl(L"back"));
    EXPECT_EQ(manager.FindControl(POINT{500, 5}), nullptr);
}

TEST_F(ControlTree, AClickSendsClickToTheNotifier) {
    click(20, 20);
    EXPECT_EQ(notes.take(), L"setfocus:ok click:ok");
    click(25, 25);
    EXPECT_EQ(notes.take(), L"click:ok");
}

TEST_F(ControlTree, NoClickForDisabledHiddenOrAbandonedPresses) {
    click(120, 20);
    EXPECT_EQ(notes.take(), L"");
    // Pressed on the button, released elsewhere.
    mouse(WM_LBUTTONDOWN, 20, 20);
    mouse(WM_MOUSEMOVE, 300, 200);
    EXPECT_FALSE(manager.FindControl(L"ok")->IsPushed());
    mouse(WM_LBUTTONUP, 300, 200);
    EXPECT_EQ(notes.take(), L"setfocus:ok");
    // A control that hides drops the focus without a word and takes no more clicks.
    manager.FindControl(L"ok")->SetVisible(false);
    click(20, 20);
    EXPECT_EQ(notes.take(), L"");
    EXPECT_EQ(manager.GetFocus(), nullptr);
    manager.FindControl(L"off")->SetEnabled(true);
    click(120, 20);
    EXPECT_EQ(notes.take(), L"setfocus:off click:off");
}

TEST_F(ControlTree, HoverFollowsTheMouse) {
    mouse(WM_MOUSEMOVE, 20, 20);
    EXPECT_TRUE(manager.FindControl(L"ok")->IsHot());
    mouse(WM_MOUSEMOVE, 300, 250);
    EXPECT_FALSE(manager.FindControl(L"ok")->IsHot());
}

TEST_F(ControlTree, OptionsOfAGroupExcludeEachOther) {
    auto* boy = find<COptionUI>(L"boy");
    auto* girl = find<COptionUI>(L"girl");
    auto* remember = find<COptionUI>(L"remember");
    EXPECT_TRUE(girl->IsSelected());
    click(20, 60);
    EXPECT_TRUE(boy->IsSelected());
    EXPECT_FALSE(girl->IsSelected());
    EXPECT_EQ(notes.take(), L"setfocus:boy selectchanged:girl selectchanged:boy click:boy");
    click(20, 60);  // a grouped option stays selected
    EXPECT_TRUE(boy->IsSelected());
    notes.take();

    click(140, 60);
    EXPECT_TRUE(remember->IsSelected());
    click(140, 60);
    EXPECT_FALSE(remember->IsSelected());
    EXPECT_TRUE(boy->IsSelected());

    girl->SetSelected(true);
    EXPECT_FALSE(boy->IsSelected());
    girl->SetSelected(false);
    EXPECT_FALSE(girl->IsSelected());
}

TEST_F(ControlTree, ComboItemsCanBeAddedSelectedAndRemoved) {
    auto* combo = find<CComboUI>(L"accounts");
    EXPECT_EQ(combo->GetClass(), L"ComboUI");
    EXPECT_EQ(combo->GetCount(), 1);
    EXPECT_EQ(combo->GetCurSel(), -1);
    for (int i = 0; i < 3; ++i) {
        auto* item = new CListLabelElementUI();
        item->SetName(L"AccountsCount_Index_" + std::to_wstring(i));
        item->SetText(L"player" + std::to_wstring(i));
        item->SetFixedHeight(20);
        EXPECT_TRUE(combo->Add(item));
    }
    ASSERT_EQ(combo->GetCount(), 4);
    EXPECT_EQ(combo->GetItemAt(2)->GetName(), L"AccountsCount_Index_1");
    EXPECT_EQ(combo->GetItemAt(2)->GetFixedHeight(), 20);
    EXPECT_EQ(combo->GetItemAt(4), nullptr);

    EXPECT_TRUE(combo->SelectItem(2));
    EXPECT_EQ(notes.take(), L"itemselect:accounts");
    EXPECT_EQ(combo->GetText(), L"player1");
    EXPECT_FALSE(combo->SelectItem(7));

    EXPECT_TRUE(combo->Remove(combo->GetItemAt(0)));
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(combo->GetText(), L"player1");
    EXPECT_TRUE(combo->RemoveAt(1));
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(combo->GetCount(), 2);
    EXPECT_FALSE(combo->RemoveAt(5));

    // Clicking the combo without a window sends "click" and opens nothing.
    click(20, 90);
    EXPECT_EQ(notes.take(), L"setfocus:accounts click:accounts");
    EXPECT_FALSE(combo->IsDropped());
}

TEST_F(ControlTree, TabLayoutShowsOnePageAtATime) {
    auto* pages = find<CTabLayoutUI>(L"pages");
    EXPECT_EQ(pages->GetCurSel(), 0);
    EXPECT_TRUE(manager.FindControl(L"inPage0")->IsVisible());
    EXPECT_FALSE(manager.FindControl(L"inPage1")->IsVisible());
    EXPECT_EQ(manager.FindControl(POINT{215, 55}), manager.FindControl(L"inPage0"));

    EXPECT_TRUE(pages->SelectItem(1));
    EXPECT_FALSE(manager.FindControl(L"page0")->IsVisible());
    EXPECT_FALSE(manager.FindControl(L"inPage0")->IsVisible());
    EXPECT_TRUE(manager.FindControl(L"inPage1")->IsVisible());
    EXPECT_EQ(manager.FindControl(POINT{215, 55}), manager.FindControl(L"inPage1"));
    EXPECT_EQ(notes.take(), L"tabselect:pages");
    EXPECT_FALSE(pages->SelectItem(2));
    EXPECT_EQ(pages->GetCurSel(), 1);

    // A page hidden with its tab layout stays hidden when the layout shows again.
    pages->SetVisible(false);
    EXPECT_FALSE(manager.FindControl(L"inPage1")->IsVisible());
    pages->SetVisible(true);
    EXPECT_TRUE(manager.FindControl(L"inPage1")->IsVisible());
    EXPECT_FALSE(manager.FindControl(L"inPage0")->IsVisible());
}

TEST_F(ControlTree, AButtonThatHidesUnderTheMouseComesBackLookingNormal) {
    // As a page tab does: the click on a button of page 0 switches to page 1, under the mouse.
    auto* pages = find<CTabLayoutUI>(L"pages");
    CControlUI* button = manager.FindControl(L"inPage0");
    mouse(WM_MOUSEMOVE, 215, 55);
    ASSERT_TRUE(button->IsHot());
    mouse(WM_LBUTTONDOWN, 215, 55);
    ASSERT_TRUE(button->IsPushed());
    pages->SelectItem(1);
    pages->SelectItem(0);
    EXPECT_FALSE(button->IsHot());
    EXPECT_FALSE(button->IsPushed());

    CControlUI* ok = manager.FindControl(L"ok");
    mouse(WM_MOUSEMOVE, 20, 20);
    ASSERT_TRUE(ok->IsHot());
    ok->SetVisible(false);
    ok->SetVisible(true);
    EXPECT_FALSE(ok->IsHot());
}

TEST_F(ControlTree, ProgressKeepsItsValueInRange) {
    auto* bar = find<CProgressUI>(L"bar");
    EXPECT_EQ(bar->GetClass(), L"ProgressUI");
    for (const auto& [given, kept] : {std::pair{50, 50}, {0, 0}, {100, 100}, {101, 100}, {-5, 0}}) {
        bar->SetValue(given);
        EXPECT_EQ(bar->GetValue(), kept) << given;
    }
}

TEST_F(ControlTree, EditsKeepTextAndFocusWithoutAWindow) {
    auto* user = find<CEditUI>(L"user");
    auto* pass = find<CEditUI>(L"pass");
    EXPECT_EQ(user->GetClass(), L"EditUI");
    EXPECT_EQ(user->GetText(), L"abc");
    EXPECT_TRUE(pass->IsPasswordMode());
    pass->SetText(L"secret");
    EXPECT_EQ(pass->GetText(), L"secret");
    EXPECT_EQ(notes.take(), L"");  // text set by code is no "textchanged"

    click(20, 120);
    EXPECT_EQ(notes.take(), L"setfocus:user");
    manager.MoveFocus(true);
    EXPECT_EQ(notes.take(), L"killfocus:user setfocus:pass");
    click(390, 20);  // nothing focusable there
    EXPECT_EQ(notes.take(), L"killfocus:pass");
}

TEST_F(ControlTree, BackgroundsCanBeSetAndCleared) {
    CControlUI* back = manager.FindControl(L"back");
    back->SetAttribute(L"bkimage", L"file='res\\Lobbex\\ColorSkin\\2\\bkg.jpg' corner='1000,750,1,1'");
    EXPECT_EQ(back->GetBkImage(), L"file='res\\Lobbex\\ColorSkin\\2\\bkg.jpg' corner='1000,750,1,1'");
    back->SetBkImage(L"");
    back->SetBkColor(0xFF2E8B57);
    back->NeedUpdate();
    EXPECT_EQ(back->GetBkImage(), L"");
    EXPECT_EQ(back->GetBkColor(), 0xFF2E8B57u);
}

TEST(Layouts, HiddenChildrenGiveTheirSpaceToTheOthers) {
    CPaintManagerUI manager;
    ASSERT_TRUE(attachSkin(manager, R"(<Window size="300,100">
      <HorizontalLayout childpadding="10">
        <Control name="a"/><Button name="b" width="80"/><Control name="c"/>
      </HorizontalLayout></Window>)"));
    EXPECT_EQ(manager.FindControl(L"a")->GetWidth(), 100);
    EXPECT_EQ(manager.FindControl(L"b")->GetX(), 110);
    EXPECT_EQ(manager.FindControl(L"c")->GetX(), 200);
    manager.FindControl(L"b")->SetVisible(false);
    EXPECT_EQ(manager.FindControl(L"a")->GetWidth(), 145);
    EXPECT_EQ(manager.FindControl(L"c")->GetX(), 155);
}

}  // namespace
