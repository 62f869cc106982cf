#include "msgbox/ui_information.h"

#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <thread>

#include "msgbox/ui_message_presenter.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_driver.h"
#include "uilib/control.h"

namespace {

const wchar_t kInterfaceKey[] = L"Software\\KorvaGamePlatform\\Lobbex\\Option\\Interface";

// The colour-skin key of this test prefix, removed before and after each test.
class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kInterfaceKey); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kInterfaceKey); }

    static void storeSkin(std::optional<DWORD> type, std::optional<DWORD> color) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyW(HKEY_CURRENT_USER, kInterfaceKey, &key), ERROR_SUCCESS);
        if (type) {
            ::RegSetValueExW(key, L"InterfaceType", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*type), 4);
        }
        if (color) {
            ::RegSetValueExW(key, L"InterfaceColor", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*color), 4);
        }
        ::RegCloseKey(key);
    }
};

// A box shown on its own thread, as the update worker shows its prompt, driven from the test.
// The box always has an owner on the test thread (a hidden one unless the test gives one): the
// owner is disabled when the box's modal loop starts, so the test knows the box is ready.
class RunningBox {
public:
    RunningBox(std::wstring title, std::wstring text, std::uint32_t style, HWND owner = nullptr)
        : ownOwner_(owner == nullptr ? ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                                         nullptr, nullptr)
                                     : nullptr),
          owner_(owner != nullptr ? owner : ownOwner_),
          box_(nullptr, owner_) {
        std::promise<DWORD> started;
        threadId_ = started.get_future();
        result_ = std::async(std::launch::async, [this, title, text, style, &started]() {
            started.set_value(::GetCurrentThreadId());
            return box_.ShowMessageBox(title, text, style);
        });
        window_ = waitForThreadWindow(threadId_.get(), L"CUiInformation");
        if (window_ != nullptr && !pumpUntil([this] { return !::IsWindowEnabled(owner_); })) {
            window_ = nullptr;
        }
    }
    ~RunningBox() {
        // A box left open is closed; its thread is waited for while this one answers it.
        if (result_.valid()) {
            if (window_ != nullptr && ::IsWindow(window_)) {
                ::PostMessageW(window_, WM_CLOSE, 0, 0);
            }
            result();
        }
        if (ownOwner_ != nullptr) {
            ::DestroyWindow(ownOwner_);
        }
    }

    HWND window() const { return window_; }
    CControlUI* control(const wchar_t* name) {
        syncWithWindow(window_);
        return box_.PaintManager().FindControl(name);
    }
    void click(const wchar_t* name) {
        CControlUI* target = control(name);
        ASSERT_NE(target, nullptr) << "no control";
        clickClient(window_, centreOf(target->GetPos()));
    }
    std::optional<unsigned> result() {
        if (!result_.valid()) {
            return std::nullopt;
        }
        // The test thread keeps answering its windows: the box's thread asks the owner things.
        if (!pumpUntil([this] { return result_.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                       std::chrono::seconds(20))) {
            return std::nullopt;
        }
        return result_.get();
    }
    // What the visible buttons show, "-" for a hidden one.
    std::wstring buttons() {
        std::wstring text;
        for (const wchar_t* name : {L"button0", L"button1", L"button2"}) {
            CControlUI* button = control(name);
            if (!text.empty()) {
                text += L"|";
            }
            text += button == nullptr ? L"?" : button->IsVisible() ? button->GetText() : L"-";
        }
        return text;
    }

private:
    HWND ownOwner_;
    HWND owner_;
    CUiInformation box_;
    std::future<DWORD> threadId_;
    std::future<unsigned> result_;
    HWND window_ = nullptr;
};

TEST_F(MessageBoxTest, ShowsTitleTextAndTheStyleButtons) {
    RunningBox box(L"错误提示", L"下载文件错误,是否重新下载?\n错误代码：12", 4);
    ASSERT_NE(box.window(), nullptr);
    EXPECT_EQ(box.control(L"title")->GetText(), L"错误提示");
    EXPECT_EQ(box.control(L"content")->GetText(), L"下载文件错误,是否重新下载?\n错误代码：12");
    EXPECT_EQ(box.buttons(), L"是|否|-");
    RECT client;
    ::GetClientRect(box.window(), &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(::GetWindowLongPtrW(box.window(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    box.click(L"button0");
    EXPECT_EQ(box.result(), 6u);
}

TEST_F(MessageBoxTest, EachButtonOfEachStyleReturnsItsCode) {
    struct Case {
        std::uint32_t style;
        std::wstring buttons;
        const wchar_t* click;
        unsigned result;
    };
    const Case cases[] = {
        {0, L"-|确定|-", L"button1", 7},       {0, L"-|确定|-", L"closebtn", 1},
        {1, L"确定|取消|关闭", L"button2", 2}, {1, L"确定|取消|关闭", L"button0", 6},
        {2, L"中止|重试|忽略", L"button1", 7}, {2, L"中止|重试|忽略", L"button2", 2},
        {3, L"是|否|取消", L"button2", 2},     {4, L"是|否|-", L"button1", 7},
        {4, L"是|否|-", L"closebtn", 1},       {5, L"重试|取消|-", L"button0", 6},
        {0x14, L"是|否|-", L"button0", 6},     {9, L"-|确定|-", L"button1", 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style);
        RunningBox box(L"提示", L"text", c.style);
        ASSERT_NE(box.window(), nullptr);
        EXPECT_EQ(box.buttons(), c.buttons);
        box.click(c.click);
        EXPECT_EQ(box.result(), c.result);
    }
}

TEST_F(MessageBoxTest, TheTopBandDragsExceptAboveTheCloseButton) {
    RunningBox box(L"提示", L"正在更新请稍后尝试", 0);
    ASSERT_NE(box.window(), nullptr);
    const auto hitTest = [&](int x, int y) {
        POINT point{x, y};
        ::ClientToScreen(box.window(), &point);
        return ::SendMessageW(box.window(), WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    };
    EXPECT_EQ(hitTest(100, 20), HTCAPTION);
    EXPECT_EQ(hitTest(349, 49), HTCAPTION);
    EXPECT_EQ(hitTest(375, 20), HTCLIENT);
    EXPECT_EQ(hitTest(100, 120), HTCLIENT);
    box.click(L"closebtn");
    EXPECT_EQ(box.result(), 1u);
}

TEST_F(MessageBoxTest, ColourSkinComesFromTheRegistry) {
    const std::wstring skin2 = L"file='res\\Lobbex\\ColorSkin\\2\\bkg.jpg' corner='1000,750,1,1'";
    const std::wstring skin0 = L"file='res\\Lobbex\\ColorSkin\\0\\bkg.jpg' corner='1000,750,1,1'";
    {
        RunningBox box(L"提示", L"no key", 0);
        EXPECT_EQ(box.control(L"MessageBox_back")->GetBkImage(), skin0);
    }
    storeSkin(3, std::nullopt);
    {
        RunningBox box(L"提示", L"skin 3", 0);
        EXPECT_EQ(box.control(L"MessageBox_back")->GetBkImage(), skin2);
    }
    storeSkin(0xFFFF, 0xFF2E8B57);
    {
        RunningBox box(L"提示", L"colour", 0);
        CControlUI* back = box.control(L"MessageBox_back");
        EXPECT_EQ(back->GetBkImage(), L"");
        EXPECT_EQ(back->GetBkColor(), 0xFF2E8B57u);
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kInterfaceKey);
    storeSkin(0xFFFF, std::nullopt);
    {
        RunningBox box(L"提示", L"skin's own", 0);
        EXPECT_EQ(box.control(L"MessageBox_back")->GetBkImage(), L"res/Lobbex/MessageBox/title.jpg");
    }
}

TEST_F(MessageBoxTest, DisablesItsOwnerWhileItIsUp) {
    HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr,
                                   nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    {
        RunningBox box(L"提示", L"owned", 0, owner);
        ASSERT_NE(box.window(), nullptr);
        EXPECT_EQ(::GetWindow(box.window(), GW_OWNER), owner);
        EXPECT_FALSE(::IsWindowEnabled(owner));
        box.click(L"button1");
        EXPECT_EQ(box.result(), 7u);
    }
    EXPECT_TRUE(::IsWindowEnabled(owner));
    ::DestroyWindow(owner);
}

TEST_F(MessageBoxTest, PresenterShowsTheSkinnedBox) {
    UiMessagePresenter presenter;
    std::promise<DWORD> started;
    auto answer = std::async(std::launch::async, [&] {
        started.set_value(::GetCurrentThreadId());
        return static_cast<unsigned>(
            presenter.show(L"错误提示", L"下载文件错误,是否重新下载?\n错误代码：5", MessageButtons::YesNo));
    });
    HWND window = waitForThreadWindow(started.get_future().get(), L"CUiInformation");
    ASSERT_NE(window, nullptr);
    // Keyboard only: Tab past the close button to "是", then Space.
    for (WPARAM key : {VK_TAB, VK_TAB, VK_SPACE}) {
        ::PostMessageW(window, WM_KEYDOWN, key, 1);
        ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    }
    ASSERT_EQ(answer.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(answer.get(), 6u);
}

TEST_F(MessageBoxTest, AltF4AnswersLikeTheCloseButton) {
    RunningBox box(L"提示", L"text", 4);
    ASSERT_NE(box.window(), nullptr);
    ::PostMessageW(box.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(box.result(), 1u);
}

TEST_F(MessageBoxTest, EnterAndEscapeAnswerWithoutTheMouse) {
    // A player who presses Enter on a fresh box gets its default button; Escape closes it.
    struct Case {
        std::uint32_t style;
        WPARAM key;
        unsigned result;
    };
    for (const Case& c : {Case{0, VK_RETURN, 7}, Case{4, VK_RETURN, 6}, Case{4, VK_ESCAPE, 1}, Case{1, VK_ESCAPE, 1}}) {
        RunningBox box(L"提示", L"正在更新请稍后尝试", c.style);
        ASSERT_NE(box.window(), nullptr);
        ::PostMessageW(box.window(), WM_KEYDOWN, c.key, 1);
        ::PostMessageW(box.window(), WM_KEYUP, c.key, 0xC0000001);
        EXPECT_EQ(box.result(), c.result) << "style " << c.style << ", key " << c.key;
    }
}

TEST_F(MessageBoxTest, WithoutItsSkinTheSystemBoxAnswersInstead) {
    // A box that cannot be built would be a modal window nobody can answer.
    TempDir empty;
    CPaintManagerUI::SetResourcePath(empty.path());
    struct Case {
        std::uint32_t style;
        WPARAM press;
        unsigned result;
    };
    for (const Case& c : {Case{4, IDNO, 7}, Case{4, IDYES, 6}, Case{0, IDOK, 7}, Case{2, IDIGNORE, 2}}) {
        CUiInformation box;
        std::promise<DWORD> started;
        auto answer = std::async(std::launch::async, [&] {
            started.set_value(::GetCurrentThreadId());
            return box.ShowMessageBox(L"错误提示", L"网络异常！", c.style);
        });
        HWND system = waitForThreadWindow(started.get_future().get(), L"#32770");
        ASSERT_NE(system, nullptr);
        ::PostMessageW(system, WM_COMMAND, c.press, 0);
        ASSERT_EQ(answer.wait_for(std::chrono::seconds(20)), std::future_status::ready);
        EXPECT_EQ(answer.get(), c.result) << "style " << c.style;
    }
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath());
}

}  // namespace
