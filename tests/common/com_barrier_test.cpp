// The edge of our COM methods: what a body returns passes through, what it throws does not.
#include "common/com_barrier.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

namespace {

struct BarrierCase {
    const char* what;
    std::function<HRESULT()> body;
    HRESULT expected;
};

const BarrierCase kBarrierCases[] = {
    {"success passes through", [] { return S_OK; }, S_OK},
    {"a second success passes through", [] { return S_FALSE; }, S_FALSE},
    {"a failure the body chose passes through", [] { return DISP_E_BADPARAMCOUNT; }, DISP_E_BADPARAMCOUNT},
    {"running out of memory", []() -> HRESULT { throw std::bad_alloc(); }, E_OUTOFMEMORY},
    {"an array length new cannot allocate", []() -> HRESULT { throw std::bad_array_new_length(); }, E_OUTOFMEMORY},
    {"a standard exception", []() -> HRESULT { throw std::runtime_error("lost"); }, E_UNEXPECTED},
    {"a string's own range check", []() -> HRESULT { return static_cast<HRESULT>(std::wstring(L"ab").at(5)); },
     E_UNEXPECTED},
    {"something that is no exception class", []() -> HRESULT { throw 42; }, E_UNEXPECTED},
};

TEST(ComBarrier, ReturnsTheBodysResultOrAFailureForWhatItThrew) {
    for (const BarrierCase& test : kBarrierCases) {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(comBarrier(test.body), test.expected);
    }
}

TEST(ComBarrier, RunsTheBodyOnceWithTheCallersState) {
    int runs = 0;
    EXPECT_EQ(comBarrier([&] {
                  ++runs;
                  return S_FALSE;
              }),
              S_FALSE);
    EXPECT_EQ(runs, 1);
    static_assert(noexcept(comBarrier([]() -> HRESULT { throw 1; })));
}

}  // namespace
