#include "update/replacement_order.h"

#include <gtest/gtest.h>

namespace {

UpdateQueue queueOf(std::initializer_list<const wchar_t*> listPaths) {
    UpdateQueue queue;
    for (const wchar_t* path : listPaths) {
        queue.push_back(makeEntry(parseItemLine(std::wstring(L"File,") + path + L",1,X", 0)));
    }
    return queue;
}

TEST(ReplacementOrder, InstalledVersionFilesComeLastInListOrder) {
    const UpdateQueue queue = queueOf({L"Test_mainfold\\data\\Server.inf", L"a.txt", L"DATA\\launch.INF",
                                       L"data\\Server.ini", L"b\\data\\Server.inf", L"z.txt"});
    EXPECT_EQ(replacementOrder(queue), (std::vector<std::size_t>{1, 3, 4, 5, 0, 2}));
}

TEST(ReplacementOrder, QueuesWithoutThemKeepListOrder) {
    EXPECT_EQ(replacementOrder(queueOf({L"b.txt", L"a.txt"})), (std::vector<std::size_t>{0, 1}));
    EXPECT_TRUE(replacementOrder({}).empty());
}

}  // namespace
