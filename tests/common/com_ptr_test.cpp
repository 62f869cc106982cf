// The COM owner against an object that counts the references it is given and takes back.
#include "common/com_ptr.h"

#include <gtest/gtest.h>

#include <objidl.h>
#include <oleidl.h>

#include <functional>
#include <type_traits>
#include <utility>

namespace {

static_assert(!std::is_copy_constructible_v<ComPtr<IPersist>>);
static_assert(!std::is_copy_assignable_v<ComPtr<IPersist>>);
static_assert(std::is_nothrow_move_constructible_v<ComPtr<IPersist>>);
static_assert(std::is_nothrow_move_assignable_v<ComPtr<IPersist>>);
static_assert(!std::is_convertible_v<ComPtr<IPersist>, bool>, "the test for emptiness is explicit");

// An object with IUnknown and IPersist that lives on the stack and counts calls. With
// `garbageOnFailure` a refused query leaves a pointer behind, as a careless object might.
class CountingObject final : public IPersist {
public:
    int addRefs = 0;
    int releases = 0;
    int queries = 0;
    bool garbageOnFailure = false;

    int held() const { return addRefs - releases; }

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        ++queries;
        if (riid == IID_IUnknown || riid == IID_IPersist) {
            *object = static_cast<IPersist*>(this);
            AddRef();
            return S_OK;
        }
        *object = garbageOnFailure ? static_cast<IPersist*>(this) : nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++addRefs - releases); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(addRefs - ++releases); }
    STDMETHODIMP GetClassID(CLSID* id) override {
        *id = CLSID_NULL;
        return S_OK;
    }
};

// How many AddRef and Release calls each use of the owner makes, counted once every owner
// the case made is gone.
struct LifetimeCase {
    const char* what;
    std::function<void(CountingObject&)> use;
    int addRefs;
    int releases;
};

const LifetimeCase kLifetimeCases[] = {
    {"adopting takes no reference and gives back the one it holds",
     [](CountingObject& object) { ComPtr<IPersist> owner(&object); }, 0, 1},
    {"retaining takes a reference of its own",
     [](CountingObject& object) { auto owner = ComPtr<IPersist>::retain(&object); }, 1, 1},
    {"an empty owner releases nothing", [](CountingObject&) { ComPtr<IPersist> owner; }, 0, 0},
    {"retaining null gives an empty owner", [](CountingObject&) { auto owner = ComPtr<IPersist>::retain(nullptr); }, 0,
     0},
    {"a moved owner is released once",
     [](CountingObject& object) {
         ComPtr<IPersist> first(&object);
         ComPtr<IPersist> second(std::move(first));
         ComPtr<IPersist> third;
         third = std::move(second);
     },
     0, 1},
    {"moving onto an owner releases what it held",
     [](CountingObject& object) {
         ComPtr<IPersist> target = ComPtr<IPersist>::retain(&object);
         ComPtr<IPersist> source = ComPtr<IPersist>::retain(&object);
         target = std::move(source);
         EXPECT_EQ(object.held(), 1);
     },
     2, 2},
    {"an owner moved onto itself keeps its reference",
     [](CountingObject& object) {
         ComPtr<IPersist> owner(&object);
         ComPtr<IPersist>& same = owner;
         owner = std::move(same);
         EXPECT_EQ(owner.get(), &object);
         EXPECT_EQ(object.releases, 0);
     },
     0, 1},
    {"reset releases at once, and only once",
     [](CountingObject& object) {
         ComPtr<IPersist> owner(&object);
         owner.reset();
         EXPECT_EQ(object.releases, 1);
         owner.reset();
     },
     0, 1},
    {"reset to another pointer releases the old one",
     [](CountingObject& object) {
         ComPtr<IPersist> owner = ComPtr<IPersist>::retain(&object);
         object.AddRef();
         owner.reset(&object);
         EXPECT_EQ(object.held(), 1);
     },
     2, 2},
    {"put releases what is held before the call fills it",
     [](CountingObject& object) {
         ComPtr<IPersist> owner = ComPtr<IPersist>::retain(&object);
         IPersist** slot = owner.put();
         EXPECT_EQ(object.held(), 0);
         ASSERT_NE(slot, nullptr);
         EXPECT_EQ(*slot, nullptr);
         object.AddRef();
         *slot = &object;
     },
     2, 2},
    {"release gives the reference to the caller",
     [](CountingObject& object) {
         ComPtr<IPersist> owner(&object);
         IPersist* raw = owner.release();
         EXPECT_EQ(raw, &object);
         EXPECT_FALSE(owner);
         EXPECT_EQ(owner.release(), nullptr);
     },
     0, 0},
    {"a query that answers holds a reference of its own",
     [](CountingObject& object) {
         ComPtr<IPersist> owner = ComPtr<IPersist>::retain(&object);
         ComPtr<IUnknown> other = owner.as<IUnknown>();
         EXPECT_EQ(object.held(), 2);
     },
     2, 2},
    {"a refused query takes nothing, whatever it leaves behind",
     [](CountingObject& object) {
         object.garbageOnFailure = true;
         ComPtr<IPersist> owner(&object);
         ComPtr<IOleWindow> none = owner.as<IOleWindow>();
         EXPECT_FALSE(none);
     },
     0, 1},
};

TEST(ComPtr, CountsReferencesAsTheyAreTakenAndGiven) {
    for (const LifetimeCase& test : kLifetimeCases) {
        SCOPED_TRACE(test.what);
        CountingObject object;
        test.use(object);
        EXPECT_EQ(object.addRefs, test.addRefs);
        EXPECT_EQ(object.releases, test.releases);
    }
}

TEST(ComPtr, MovesLeaveTheSourceEmpty) {
    CountingObject object;
    ComPtr<IPersist> first(&object);
    ComPtr<IPersist> second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(first.get(), nullptr);
    EXPECT_TRUE(second);
    EXPECT_EQ(second.get(), &object);

    ComPtr<IPersist> third;
    third = std::move(second);
    EXPECT_FALSE(second);
    EXPECT_EQ(third.get(), &object);
    EXPECT_EQ(object.addRefs, 0);
    EXPECT_EQ(object.releases, 0);
}

TEST(ComPtr, ReachesTheObjectThroughTheArrow) {
    CountingObject object;
    auto owner = ComPtr<IPersist>::retain(&object);
    CLSID id = IID_IPersist;
    EXPECT_EQ(owner->GetClassID(&id), S_OK);
    EXPECT_EQ(id, CLSID_NULL);
    EXPECT_EQ(owner.get(), static_cast<IPersist*>(&object));
}

TEST(ComPtr, PutHandsOutAnAddressThatCallsFill) {
    CountingObject object;
    ComPtr<IUnknown> owner;
    ASSERT_EQ(object.QueryInterface(IID_IUnknown, owner.putVoid()), S_OK);
    EXPECT_EQ(owner.get(), static_cast<IUnknown*>(&object));
    EXPECT_EQ(object.held(), 1);
    owner.reset();
    EXPECT_EQ(object.held(), 0);
}

TEST(ComPtr, QueriesAnswerOrComeBackEmpty) {
    CountingObject object;
    ComPtr<IPersist> owner(&object);
    const ComPtr<IUnknown> unknown = owner.as<IUnknown>();
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown.get(), static_cast<IUnknown*>(&object));
    EXPECT_EQ(owner.get(), &object) << "the queried owner keeps its own reference";

    object.garbageOnFailure = true;
    const ComPtr<IOleWindow> window = owner.as<IOleWindow>();
    EXPECT_FALSE(window);
    EXPECT_EQ(window.get(), nullptr);

    const ComPtr<IPersist> fromRaw = comAs<IPersist>(static_cast<IUnknown*>(&object));
    EXPECT_EQ(fromRaw.get(), &object);
    EXPECT_EQ(object.queries, 3);

    // Nothing to ask: no call is made.
    const ComPtr<IPersist> empty;
    EXPECT_FALSE(empty.as<IUnknown>());
    EXPECT_FALSE(comAs<IUnknown>(nullptr));
    EXPECT_EQ(object.queries, 3);
}

}  // namespace
