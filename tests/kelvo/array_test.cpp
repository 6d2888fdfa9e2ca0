// kArray: exact growth and shrinking, element lifetimes, values taken from the
// array itself, fixed and embedded storage, and the bitwise-move element check.
#include "live_blocks.h"

#include <kelvo/containers/karray.h>
#include <kelvo/containers/kresource.h>
#include <kelvo/containers/ksharedptr.h>
#include <kelvo/containers/kstring.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Kelvo_lib::FixedMemArrayTrait;
using Kelvo_lib::kArray;
using Kelvo_lib::kString;

// An element that counts its live instances and owns a heap text.
struct Counted {
    Counted() : Counted(0) {}
    Counted(int v) : value(v), text("counted text") { ++s_live; }
    Counted(const Counted& other) : value(other.value), text(other.text) { ++s_live; }
    ~Counted() { --s_live; }
    Counted& operator=(const Counted&) = default;
    bool operator==(const Counted& other) const { return value == other.value; }

    int value;
    kString text;
    static inline int s_live = 0;
};

// Never equal to anything, itself included, so AddUniqueElement always appends.
struct Unequal {
    int value;
    bool operator==(const Unequal&) const { return false; }
};

struct Bytes12 {
    char bytes[12];
};
struct Bytes24 {
    char bytes[24];
};

std::vector<int> Values(const kArray<Counted>& array) {
    std::vector<int> values;
    for (s32 i = 0; i < array.Size(); ++i) {
        values.push_back(array(i).value);
    }
    return values;
}

kArray<Counted> MakeArray(std::initializer_list<int> values) {
    kArray<Counted> array;
    for (int v : values) {
        array.Push(v);
    }
    return array;
}

static_assert(Kelvo_lib::kIsBitwiseMovable<int*>::value);
static_assert(Kelvo_lib::kIsBitwiseMovable<Bytes12>::value);
static_assert(Kelvo_lib::kIsBitwiseMovable<kString>::value);
static_assert(Kelvo_lib::kIsBitwiseMovable<Kelvo_lib::kSharedPtr<Counted>>::value);
static_assert(Kelvo_lib::kIsBitwiseMovable<Kelvo_lib::kWeakPtr<Counted>>::value);
static_assert(Kelvo_lib::kIsBitwiseMovable<Kelvo_lib::RcPtr<Kelvo_lib::kResource>>::value);
static_assert(Kelvo_lib::kIsBitwiseMovable<kArray<kString>>::value);
static_assert(!Kelvo_lib::kIsBitwiseMovable<std::string>::value);
static_assert(!Kelvo_lib::kIsBitwiseMovable<std::function<void()>>::value);
static_assert(!Kelvo_lib::kIsBitwiseMovable<kArray<int, FixedMemArrayTrait<64>>>::value);

} // namespace

template <>
struct Kelvo_lib::kIsBitwiseMovable<Counted> : std::true_type {};

namespace {

TEST(ArrayTest, EveryGrowthStepIsOneExactReallocation) {
    kArray<int> array;
    for (int i = 1; i <= 3; ++i) {
        const kMemStats before = kPlatform_GetMemStats();
        array.Push(i);
        const kMemStats after = kPlatform_GetMemStats();
        EXPECT_EQ(array.ReservedSize(), i);
        EXPECT_EQ(after.totalReallocs - before.totalReallocs, 1);
        EXPECT_EQ(after.totalAllocs - before.totalAllocs, 0);
    }
    const kMemStats before = kPlatform_GetMemStats();
    EXPECT_EQ(array.Add(4), 3);
    array.SetSize(9);
    EXPECT_EQ(array.ReservedSize(), 9);
    EXPECT_EQ(kPlatform_GetMemStats().totalReallocs - before.totalReallocs, 2);
    EXPECT_EQ(array.NumBytes(), 9 * 4);
}

TEST(ArrayTest, RemovingTheOnlyElementReleasesTheStorage) {
    const s32 blocks = LiveBlocks();
    kArray<int> array;
    array.Push(7);
    EXPECT_EQ(LiveBlocks(), blocks + 1);
    array.Remove(0, 1);
    EXPECT_EQ(array.Data(), nullptr);
    EXPECT_EQ(array.ReservedSize(), 0);
    EXPECT_EQ(LiveBlocks(), blocks);
}

TEST(ArrayTest, RemoveElementTakesEveryMatchAndShrinksToFit) {
    kArray<Counted> array = MakeArray({5, 1, 5, 2, 5, 3});
    EXPECT_EQ(array.RemoveElement(Counted(5)), 3);
    EXPECT_EQ(Values(array), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(array.ReservedSize(), 3);
    EXPECT_EQ(Counted::s_live, 3);
}

TEST(ArrayTest, AddUniqueElementFindsPresentValueWithoutGrowing) {
    kArray<Counted> array = MakeArray({4, 6});
    EXPECT_EQ(array.AddUniqueElement(Counted(6)), 1);
    EXPECT_EQ(array.ReservedSize(), 2);
    EXPECT_EQ(array.AddUniqueElement(Counted(8)), 2);
    EXPECT_EQ(Values(array), (std::vector<int>{4, 6, 8}));
}

TEST(ArrayTest, ValuesTakenFromTheArrayItselfSurviveGrowthAndRemoval) {
    kArray<kString> strings;
    strings.Push("first");
    for (int i = 0; i < 4; ++i) {
        strings.Push(strings.Last());
    }
    EXPECT_STREQ(strings(4), "first");
    EXPECT_EQ(strings.AddUniqueElement(strings(2)), 0);
    EXPECT_EQ(strings.RemoveElement(strings(1)), 5);
    EXPECT_EQ(strings.Size(), 0);

    kArray<Unequal> unequal;
    unequal.Push({11});
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(unequal.AddUniqueElement(unequal(0)), i + 1);
    }
    EXPECT_EQ(unequal.Last().value, 11);
}

TEST(ArrayTest, EveryOperationDestroysExactlyTheElementsItDrops) {
    const s32 blocks = LiveBlocks();
    {
        kArray<Counted> array = MakeArray({0, 1, 2, 3, 4, 5, 6, 7});
        const std::vector<std::pair<std::function<void()>, int>> steps = {
            {[&] { array.Remove(1, 2); }, 6},
            {[&] { array.RemoveElement(Counted(7)); }, 5},
            {[&] { array.SetSize(3); }, 3},
            {[&] { array.SetSize(6); }, 6},
            {[&] {
                 array = MakeArray({9, 9});
             },
             2},
            {[&] {
                 array = MakeArray({1, 2, 3, 4});
             },
             4},
            {[&] { array.SetReserve(1); }, 1},
            {[&] { array.Clear(); }, 0},
            {[&] { array.Add(2); }, 2},
            {[&] { array.Empty(5); }, 0},
            {[&] { array.Push(3); }, 1},
        };
        for (const auto& [step, size] : steps) {
            step();
            EXPECT_EQ(array.Size(), size);
            EXPECT_EQ(Counted::s_live, size);
        }
        EXPECT_EQ(array.ReservedSize(), 5);
        const kArray<Counted> copy(array);
        EXPECT_EQ(Counted::s_live, 2);
    }
    EXPECT_EQ(Counted::s_live, 0);
    EXPECT_EQ(LiveBlocks(), blocks);
}

TEST(ArrayTest, AssignmentMakesTheReserveExactlyTheSourceSize) {
    kArray<int> array;
    array.SetSize(2);
    kArray<int> larger;
    larger.SetSize(6);
    array = larger;
    EXPECT_EQ(array.ReservedSize(), 6);
    array = kArray<int>();
    EXPECT_EQ(array.ReservedSize(), 0);
    EXPECT_EQ(array.Data(), nullptr);
}

TEST(ArrayTest, FixedArrayAcceptsRemovalsWithoutShrinking) {
    int storage[4] = {};
    kArray<int> fixed(storage, 4);
    for (int i = 0; i < 4; ++i) {
        fixed.Push(i);
    }
    fixed.Remove(1, 2);
    EXPECT_EQ(fixed.Size(), 2);
    EXPECT_EQ(fixed.ReservedSize(), 4);
    EXPECT_EQ(fixed.Data(), storage);
    EXPECT_EQ(storage[1], 3);
}

TEST(ArrayTest, EmbeddedStorageHoldsItsByteSizeInElementsWithoutAllocating) {
    const kMemStats before = kPlatform_GetMemStats();
    kArray<Bytes12, FixedMemArrayTrait<20480>> small;
    kArray<Bytes24, FixedMemArrayTrait<20480>> large;
    small.Add(1706);
    large.Push({});
    EXPECT_EQ(small.ReservedSize(), 1706);
    EXPECT_EQ(large.ReservedSize(), 853);
    EXPECT_EQ(static_cast<void*>(small.Data()), static_cast<void*>(&small));
    const kMemStats after = kPlatform_GetMemStats();
    EXPECT_EQ(after.totalReallocs, before.totalReallocs);
    EXPECT_EQ(after.numAllocs, before.numAllocs);
}

TEST(ArrayDeathTest, FixedStorageRefusesToGrow) {
    int storage[2] = {};
    kArray<int> fixed(storage, 2);
    fixed.Add(2);
    EXPECT_DEATH(fixed.Push(1), "kArray::CheckReserveGrow: Cannot grow a fixed memory array");
    EXPECT_DEATH(fixed.SetReserve(2),
                 "kArray::SetReserve: Cannot set reserve of a fixed memory array");
    EXPECT_DEATH(fixed.SetSize(1),
                 "kArray::SetReserve: Cannot set reserve of a fixed memory array");
    kArray<Bytes24, FixedMemArrayTrait<20480>> embedded;
    embedded.Add(853);
    EXPECT_DEATH(embedded.Add(1), "kArray::CheckReserveGrow: Cannot grow a fixed memory array");
}

} // namespace
