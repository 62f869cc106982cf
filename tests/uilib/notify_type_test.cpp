#include "uilib/notify_type.h"

#include <gtest/gtest.h>

namespace {

TEST(NotifyType, EveryTypeHasANameThatReadsBack) {
    for (UiNotifyType type :
         {UiNotifyType::Click, UiNotifyType::SetFocus, UiNotifyType::KillFocus, UiNotifyType::TextChanged,
          UiNotifyType::ItemSelect, UiNotifyType::SelectChanged, UiNotifyType::TabSelect}) {
        const std::wstring_view name = notifyTypeName(type);
        ASSERT_FALSE(name.empty());
        EXPECT_EQ(notifyTypeFromName(name), type);
    }
    EXPECT_EQ(notifyTypeName(UiNotifyType::KillFocus), L"killfocus");
    EXPECT_EQ(notifyTypeFromName(L"KillFocus"), UiNotifyType::KillFocus) << "ASCII case does not matter";
    EXPECT_EQ(notifyTypeFromName(L"kill focus"), std::nullopt);
    EXPECT_EQ(notifyTypeFromName(L""), std::nullopt);
}

}  // namespace
