// Real windows under the test display: mouse and keyboard input through window messages,
// native edit boxes, the combo box's list, modal loops and placement.
#include <gtest/gtest.h>

#include "tests/support/window_driver.h"
#include "tests/uilib/test_host.h"
#include "uilib/combo.h"
#include "uilib/container.h"
#include "uilib/edit.h"
#include "uilib/font_table.h"
#include "uilib/render.h"
#include "uilib/image_loader.h"
#include "uilib/gdi_handles.h"

namespace {

const char kForm[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="320,240">
  <Font id="0" name="微软雅黑" size="13" default="true"/>
  <Container name="back" bkcolor="#FFF4F6F9">
    <Edit name="user" float="true" pos="10,10,200,36" bkcolor="#FFFFFFFF"/>
    <Edit name="pass" float="true" pos="10,46,200,72" password="true"/>
    <Button name="go" float="true" pos="210,10,300,36" text="登录"/>
    <Combo name="accounts" float="true" pos="10,90,200,116" dropheight="100"/>
  </Container>
</Window>)";

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(window.Open(kForm)); }
    void TearDown() override {
        if (window.GetHWND() != nullptr) {
            ::DestroyWindow(window.GetHWND());
        }
    }
    POINT centre(const wchar_t* name) { return centreOf(window.manager.FindControl(name)->GetPos()); }
    void settle() {
        pumpUntil([] { return true; });
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    HWND native(const wchar_t* name) {
        return static_cast<CEditUI*>(window.manager.FindControl(name))->GetNativeWindow();
    }

    TestWindow window;
};

TEST_F(WindowTest, ClicksArriveThroughWindowMessages) {
    clickClient(window.GetHWND(), centre(L"go"));
    settle();
    EXPECT_EQ(window.notes.take(), L"setfocus:go click:go");
    ::PostMessageW(window.GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(centre(L"go").x, centre(L"go").y));
    settle();
    EXPECT_TRUE(window.manager.FindControl(L"go")->IsHot());
}

TEST_F(WindowTest, TypingInAnEditSendsTextChangedAndTabMovesTheFocus) {
    ASSERT_NE(native(L"user"), nullptr);
    clickClient(window.GetHWND(), centre(L"user"));
    settle();
    EXPECT_EQ(window.notes.take(), L"setfocus:user");
    EXPECT_EQ(::GetFocus(), native(L"user"));

    for (wchar_t c : std::wstring(L"玩家a")) {
        ::SendMessageW(native(L"user"), WM_CHAR, c, 1);
    }
    settle();
    EXPECT_EQ(window.manager.FindControl(L"user")->GetText(), L"玩家a");
    EXPECT_EQ(window.notes.take(), L"textchanged:user textchanged:user textchanged:user");

    ::SendMessageW(native(L"user"), WM_KEYDOWN, VK_TAB, 1);
    settle();
    EXPECT_EQ(window.notes.take(), L"killfocus:user setfocus:pass");
    EXPECT_EQ(::GetFocus(), native(L"pass"));

    // Enter belongs to the window: its logon form acts on it.
    ::SendMessageW(native(L"pass"), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(window.enterKeys, 1);
}

TEST_F(WindowTest, PasswordEditsHideTheirTextAndCodeSetsTextSilently) {
    EXPECT_NE(::SendMessageW(native(L"pass"), EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(native(L"user"), EM_GETPASSWORDCHAR, 0, 0), 0);
    window.manager.FindControl(L"pass")->SetText(L"secret");
    settle();
    EXPECT_EQ(window.manager.FindControl(L"pass")->GetText(), L"secret");
    EXPECT_EQ(window.notes.take(), L"");
    // A hidden edit hides its native box; a disabled one disables it.
    window.manager.FindControl(L"pass")->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(native(L"pass")));
    window.manager.FindControl(L"user")->SetEnabled(false);
    EXPECT_FALSE(::IsWindowEnabled(native(L"user")));
}

TEST_F(WindowTest, TheComboListOpensAndSelectsWithTheMouse) {
    auto* combo = static_cast<CComboUI*>(window.manager.FindControl(L"accounts"));
    for (const wchar_t* text : {L"alpha", L"beta", L"gamma"}) {
        auto* item = new CListLabelElementUI();
        item->SetText(text);
        item->SetFixedHeight(20);
        combo->Add(item);
    }
    clickClient(window.GetHWND(), centre(L"accounts"));
    settle();
    ASSERT_TRUE(combo->IsDropped());
    HWND list = waitForThreadWindow(::GetCurrentThreadId(), L"LobbexUiComboPopup", std::chrono::seconds(5));
    ASSERT_NE(list, nullptr);
    RECT listRect;
    ::GetClientRect(list, &listRect);
    EXPECT_EQ(listRect.bottom, 62);  // three entries of 20 and the frame
    window.notes.take();
    // The second entry: 1 pixel of frame, then 20 per entry.
    clickClient(list, POINT{30, 31});
    settle();
    EXPECT_FALSE(combo->IsDropped());
    EXPECT_FALSE(::IsWindow(list));
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(combo->GetText(), L"beta");
    EXPECT_EQ(window.notes.take(), L"itemselect:accounts");

    // A press outside the list closes it without a selection.
    clickClient(window.GetHWND(), centre(L"accounts"));
    settle();
    list = waitForThreadWindow(::GetCurrentThreadId(), L"LobbexUiComboPopup", std::chrono::seconds(5));
    ASSERT_NE(list, nullptr);
    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-50, -50));
    settle();
    EXPECT_FALSE(combo->IsDropped());
    EXPECT_EQ(combo->GetCurSel(), 1);
}

// A window that closes itself with a code when its button is clicked.
class ClosingWindow : public TestWindow, public INotifyUI {
public:
    void Notify(UiNotification& notification) override {
        if (notification.type == UiNotifyType::Click) {
            Close(42);
        }
    }
};

const char kPages[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="320,240">
  <Font id="0" name="微软雅黑" size="13" default="true"/>
  <TabLayout name="pages">
    <Container><Button name="first" float="true" pos="10,10,100,36" text="1"/></Container>
    <Container><Edit name="later" float="true" pos="10,10,200,36"/></Container>
  </TabLayout>
</Window>)";

TEST(HiddenPages, AnEditBoxOnAHiddenPageIsMadeWhenThePageShows) {
    TestWindow window;
    ASSERT_TRUE(window.Open(kPages));
    auto* later = static_cast<CEditUI*>(window.manager.FindControl(L"later"));
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(later->GetNativeWindow(), nullptr) << "made for a page no one sees";
    later->SetText(L"早先");
    EXPECT_EQ(later->GetText(), L"早先");

    ASSERT_TRUE(static_cast<CTabLayoutUI*>(window.manager.FindControl(L"pages"))->SelectItem(1));
    const HWND box = later->GetNativeWindow();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(::IsWindowVisible(box));
    wchar_t shown[16] = {};
    ::GetWindowTextW(box, shown, 16);
    EXPECT_STREQ(shown, L"早先");
    RECT placed{};
    ::GetWindowRect(box, &placed);
    EXPECT_GT(placed.right - placed.left, 100) << "placed in its control";

    clickClient(window.GetHWND(), centreOf(later->GetPos()));
    pumpUntil([&] { return ::GetFocus() == box; });
    window.notes.take();
    ::SendMessageW(box, EM_SETSEL, 2, 2);
    ::SendMessageW(box, WM_CHAR, L'x', 0);
    EXPECT_EQ(later->GetText(), L"早先x");
    EXPECT_EQ(window.notes.take(), L"textchanged:later");

    ASSERT_TRUE(static_cast<CTabLayoutUI*>(window.manager.FindControl(L"pages"))->SelectItem(0));
    EXPECT_FALSE(::IsWindowVisible(box));
    ::DestroyWindow(window.GetHWND());
}

const char kImageButton[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="200,100">
  <Container bkcolor="#FF204060">
    <Button name="image" float="true" pos="10,10,110,46"
        normalimage="res\Lobbex\MessageBox\button_normal.png" hotimage="res\Lobbex\MessageBox\button_hot.png"/>
  </Container>
</Window>)";

// What the window shows at a client point.
COLORREF shownAt(HWND window, POINT point) {
    const HDC dc = ::GetDC(window);
    const COLORREF colour = ::GetPixel(dc, point.x, point.y);
    ::ReleaseDC(window, dc);
    return colour;
}

// The image's pixel at point of the button's rectangle, drawn over the window's background colour.
COLORREF expectedAt(const wchar_t* file, const RECT& button, POINT point) {
    UiImage image;
    EXPECT_TRUE(decodeImageFile(CPaintManagerUI::GetInstancePath() + file, image));
    const UniqueGdiObject owned(image.bitmap);
    const UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    void* bits = nullptr;
    const UniqueGdiObject canvas = createPixelBitmap(200, 100, bits);
    SelectObjectGuard selected(dc.get(), canvas.get());
    fillColor(dc.get(), RECT{0, 0, 200, 100}, 0xFF204060);
    drawImage(dc.get(), image, button, UiRect{0, 0, image.width, image.height}, UiRect{}, 255);
    return ::GetPixel(dc.get(), point.x, point.y);
}

// Images are decoded ahead on a thread of the cache's own; the first frame and a state that
// comes later (hover) show each image as decoded on the spot.
TEST(ImagesAhead, TheFirstFrameAndTheHoverImageShowWhatTheFilesHold) {
    TestWindow window;
    ASSERT_TRUE(window.Open(kImageButton));
    CControlUI* button = window.manager.FindControl(L"image");
    const RECT pos = button->GetPos();
    const POINT centre = centreOf(pos);
    const COLORREF normal = expectedAt(L"res\\Lobbex\\MessageBox\\button_normal.png", pos, centre);
    const COLORREF hot = expectedAt(L"res\\Lobbex\\MessageBox\\button_hot.png", pos, centre);
    ASSERT_NE(normal, hot) << "the fixture's two states must differ where it looks";
    EXPECT_EQ(shownAt(window.GetHWND(), centre), normal);

    ::PostMessageW(window.GetHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
    pumpUntil([&] { return button->IsHot(); });
    ::UpdateWindow(window.GetHWND());
    EXPECT_EQ(shownAt(window.GetHWND(), centre), hot);
    ::DestroyWindow(window.GetHWND());
}

const char kImagePages[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="200,100">
  <TabLayout name="pages" bkcolor="#FF204060">
    <Container><Control name="here" float="true" pos="120,10,160,40" bkcolor="#FFFF0000"/></Container>
    <Container><Control name="picture" float="true" pos="10,10,110,46"
        bkimage="res\Lobbex\MessageBox\button_hot.png"/></Container>
  </TabLayout>
</Window>)";

// A hidden page's images wait for the first frame; the page shows them once it is selected. A
// control that the layout moves leaves its old place repainted.
TEST(ImagesAhead, AHiddenPagesImageShowsWithThePageAndAMovedControlLeavesNoTrace) {
    TestWindow window;
    ASSERT_TRUE(window.Open(kImagePages));
    CControlUI* here = window.manager.FindControl(L"here");
    const POINT old = centreOf(here->GetPos());
    EXPECT_EQ(shownAt(window.GetHWND(), old), RGB(0xFF, 0, 0));

    here->SetAttribute(L"pos", L"120,50,160,90");
    here->NeedUpdate();
    ::UpdateWindow(window.GetHWND());
    EXPECT_EQ(shownAt(window.GetHWND(), old), RGB(0x20, 0x40, 0x60)) << "the old place is background again";
    EXPECT_EQ(shownAt(window.GetHWND(), centreOf(here->GetPos())), RGB(0xFF, 0, 0));

    ASSERT_TRUE(static_cast<CTabLayoutUI*>(window.manager.FindControl(L"pages"))->SelectItem(1));
    ::UpdateWindow(window.GetHWND());
    const RECT pos = window.manager.FindControl(L"picture")->GetPos();
    EXPECT_EQ(shownAt(window.GetHWND(), centreOf(pos)),
              expectedAt(L"res\\Lobbex\\MessageBox\\button_hot.png", pos, centreOf(pos)));
    ::DestroyWindow(window.GetHWND());
}

TEST(ModalWindow, ShowModalReturnsTheCodeGivenToClose) {
    TestWindow owner;
    ASSERT_TRUE(owner.Open("<Window size='200,100'><Control/></Window>"));
    ClosingWindow dialog;
    ASSERT_TRUE(dialog.Open("<Window size='120,60'><Button name='x'/></Window>", owner.GetHWND()));
    dialog.manager.AddNotifier(&dialog);
    dialog.CenterWindow();
    RECT ownerRect, dialogRect;
    ::GetWindowRect(owner.GetHWND(), &ownerRect);
    ::GetWindowRect(dialog.GetHWND(), &dialogRect);
    EXPECT_EQ((ownerRect.left + ownerRect.right) / 2, (dialogRect.left + dialogRect.right) / 2);
    EXPECT_EQ((ownerRect.top + ownerRect.bottom) / 2, (dialogRect.top + dialogRect.bottom) / 2);

    clickClient(dialog.GetHWND(), POINT{60, 30});
    EXPECT_EQ(dialog.ShowModal(), 42u);
    EXPECT_EQ(dialog.GetHWND(), nullptr);
    EXPECT_TRUE(::IsWindowEnabled(owner.GetHWND()));
    ::DestroyWindow(owner.GetHWND());
}

TEST(ModalWindow, WithoutAnOwnerTheWindowIsCentredOnTheWorkArea) {
    TestWindow window;
    ASSERT_TRUE(window.Open("<Window size='300,200'><Control/></Window>"));
    window.CenterWindow();
    RECT area;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT placed;
    ::GetWindowRect(window.GetHWND(), &placed);
    EXPECT_EQ(placed.left, area.left + (area.right - area.left - (placed.right - placed.left)) / 2);
    EXPECT_EQ(placed.top, area.top + (area.bottom - area.top - (placed.bottom - placed.top)) / 2);
    ::DestroyWindow(window.GetHWND());
}

TEST(Fonts, ChineseSkinFacesHaveChineseGlyphs) {
    const std::wstring face = FontTable::ResolveFace(L"NoSuchFace;微软雅黑");
    ASSERT_FALSE(face.empty());
    FontTable fonts;
    fonts.Add(0, FontSpec{L"微软雅黑", 14}, true);
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ previous = ::SelectObject(screen, fonts.Get(0));
    WORD glyphs[4] = {};
    const wchar_t text[] = L"确定取消";
    ::GetGlyphIndicesW(screen, text, 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
    ::SelectObject(screen, previous);
    ::ReleaseDC(nullptr, screen);
    for (WORD glyph : glyphs) {
        EXPECT_NE(glyph, 0xFFFF);
    }
}

}  // namespace
