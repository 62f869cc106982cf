#include "uilib/dialog_builder.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "tests/uilib/test_host.h"
#include "uilib/container.h"
#include "uilib/progress.h"

namespace {

const char kSkin[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="300,200" caption="0,0,0,30" sizebox="4,5,6,7" roundcorner="5,6">
  <Font id="0" name="NoSuchFace;微软雅黑" size="13" default="true"/>
  <Font id="1" name="微软雅黑" size="15" bold="true"/>
  <VerticalLayout name="root" bkcolor="#FFFFFFFF">
    <HorizontalLayout name="top" height="30">
      <Button name="ok" text="确定" width="80" font="1"/>
      <Label name="title" text="标题"/>
    </HorizontalLayout>
    <Container name="body">
      <Text name="link" float="true" pos="10,10,110,30" text="链接"/>
      <WebBrowserEx name="web" float="true" pos="10,40,200,150"/>
    </Container>
    <Progress name="bar" height="10" value="150"/>
  </VerticalLayout>
</Window>)";

class CustomUI : public CControlUI {
public:
    std::wstring_view GetClass() const override { return L"CustomUI"; }
};

class RecordingFactory : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(const wchar_t* className) override {
        asked.push_back(className);
        return std::wstring_view(className) == L"WebBrowserEx" ? new CustomUI() : nullptr;
    }
    std::vector<std::wstring> asked;
};

TEST(DialogBuilder, BuildsNestedControlsWithTheirAttributes) {
    CPaintManagerUI manager;
    RecordingFactory factory;
    ASSERT_TRUE(attachSkin(manager, kSkin, &factory));

    EXPECT_EQ(manager.GetInitSize().cx, 300);
    EXPECT_EQ(manager.GetInitSize().cy, 200);
    EXPECT_EQ(manager.GetCaptionRect().bottom, 30);
    const RECT box = manager.GetSizeBox();
    EXPECT_EQ((std::vector<LONG>{box.left, box.top, box.right, box.bottom}), (std::vector<LONG>{4, 5, 6, 7}));
    EXPECT_EQ(manager.GetRoundCorner().cx, 5);
    EXPECT_EQ(manager.GetRoundCorner().cy, 6);

    CControlUI* ok = manager.FindControl(L"ok");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->GetClass(), L"ButtonUI");
    EXPECT_EQ(ok->GetText(), L"确定");
    EXPECT_EQ(ok->GetParent(), manager.FindControl(L"top"));
    EXPECT_EQ(ok->GetParent()->GetParent(), manager.GetRoot());
    EXPECT_EQ(manager.FindControl(L"link")->GetClass(), L"TextUI");
    EXPECT_EQ(manager.FindControl(L"title")->GetClass(), L"LabelUI");
    EXPECT_EQ(manager.FindControl(L"root")->GetBkColor(), 0xFFFFFFFFu);
    EXPECT_EQ(static_cast<CProgressUI*>(manager.FindControl(L"bar"))->GetValue(), 100);

    // Laid out at the skin's size without a window.
    EXPECT_EQ(ok->GetX(), 0);
    EXPECT_EQ(ok->GetWidth(), 80);
    EXPECT_EQ(manager.FindControl(L"title")->GetX(), 80);
    EXPECT_EQ(manager.FindControl(L"title")->GetWidth(), 220);
    EXPECT_EQ(manager.FindControl(L"body")->GetY(), 30);
    EXPECT_EQ(manager.FindControl(L"body")->GetHeight(), 160);
    EXPECT_EQ(manager.FindControl(L"bar")->GetY(), 190);
    EXPECT_EQ(manager.FindControl(L"link")->GetX(), 10);
    EXPECT_EQ(manager.FindControl(L"link")->GetY(), 40);
}

TEST(DialogBuilder, HandsOnlyUnknownClassesToTheCallback) {
    CPaintManagerUI manager;
    RecordingFactory factory;
    ASSERT_TRUE(attachSkin(manager, kSkin, &factory));
    EXPECT_EQ(factory.asked, (std::vector<std::wstring>{L"WebBrowserEx"}));
    CControlUI* web = manager.FindControl(L"web");
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->GetClass(), L"CustomUI");
    EXPECT_EQ(web->GetY(), 70);
}

TEST(DialogBuilder, LeavesOutUnknownClassesWithoutACallback) {
    CPaintManagerUI manager;
    ASSERT_TRUE(attachSkin(manager, kSkin));
    EXPECT_EQ(manager.FindControl(L"web"), nullptr);
    EXPECT_NE(manager.FindControl(L"link"), nullptr);
}

TEST(DialogBuilder, RefusesBrokenSkins) {
    CDialogBuilder builder;
    CPaintManagerUI manager;
    EXPECT_EQ(builder.CreateFromText("<Window><Button name='a'></Window>", nullptr, &manager), nullptr);
    EXPECT_EQ(builder.CreateFromText("<Window size='10,10'/>", nullptr, &manager), nullptr);
    EXPECT_EQ(builder.CreateFromText("", nullptr, &manager), nullptr);
    EXPECT_EQ(builder.CreateFromText("<!DOCTYPE Window [<!ENTITY e 'x'>]><Window><Label text='&e;'/></Window>", nullptr,
                                     &manager),
              nullptr);
    EXPECT_EQ(builder.Create(L"no//such//skin.xml", nullptr, nullptr, &manager), nullptr);
    EXPECT_EQ(builder.Create(L"res//Lobbex//MessageBox/MessageBox.xml", L"XML", nullptr, &manager), nullptr);
}

TEST(DialogBuilder, ReadsSkinFilesRelativeToTheResourcePath) {
    TempDir folder;
    writeFileBytes(folder.file(L"skins\\a.xml"),
                   "\xEF\xBB\xBF<Window size='50,40'><Container name='\xE8\x83\x8C\xE6\x99\xAF'/></Window>");
    CPaintManagerUI::SetResourcePath(folder.path());
    CDialogBuilder builder;
    CPaintManagerUI manager;
    CControlUI* root = builder.Create(L"skins//a.xml", nullptr, nullptr, &manager);
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), L"背景");
    EXPECT_EQ(manager.GetInitSize().cx, 50);
    delete root;
}

TEST(DialogBuilder, AddsTheRootToAGivenParent) {
    CPaintManagerUI manager;
    ASSERT_TRUE(attachSkin(manager, "<Window size='100,100'><Container name='host'/></Window>"));
    auto* host = static_cast<CContainerUI*>(manager.FindControl(L"host"));
    CDialogBuilder builder;
    CControlUI* part = builder.CreateFromText("<Label name='inner' text='x'/>", nullptr, nullptr, host);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(host->GetCount(), 1);
    EXPECT_EQ(manager.FindControl(L"inner"), part);
}

}  // namespace
