// The object model: GUIDs, the registered records and their names, creation by class
// (libraries, the Transient library, name counter, instance sizes, presets that survive
// construction) and the memory it returns.
#include "class_record_check.h"
#include "object_test_classes.h"

#include <kelvo/object/kguid.h>
#include <kelvo/object/klibrary.h>
#include <kelvo/object/krtti.h>
#include <kelvo/platform/kmemory.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace ObjectModelTest {

using Kelvo_lib::kAbstractRTTI;
using Kelvo_lib::kClass;
using Kelvo_lib::kCLSID;
using Kelvo_lib::kGUID;
using Kelvo_lib::kLibrary;
using Kelvo_lib::kObject;
using Kelvo_lib::kRTTI;

class Widget
    : public kRTTI<Widget, kObject, kCLSID<0x12345678, 0x9ABC, 0xDEF0, 0x0123456789ABCDEF>> {
public:
    int m_value = 7;
};

// Created through Widget's class operators, without a record of its own.
class BigWidget : public Widget {
public:
    char m_payload[512] = {};
};

class Shape : public kAbstractRTTI<Shape, kObject, kCLSID<0, 0, 0, 0>> {
public:
    virtual int Sides() const = 0;
};

class Square : public kRTTI<Square, Shape, kCLSID<0, 0, 0, 1>> {
public:
    int Sides() const override { return 4; }
};

// Owns a widget that may be created while the holder's own memory awaits construction.
class Holder : public kRTTI<Holder, kObject, kCLSID<0, 0, 0, 2>> {
public:
    Holder() = default;
    explicit Holder(Widget* inner) : m_inner(inner) {}
    Holder(const Holder&) = delete;
    Holder& operator=(const Holder&) = delete;
    ~Holder() override { delete m_inner; }

    Widget* m_inner = nullptr;
};

} // namespace ObjectModelTest

namespace kCore_lib {
class CoreThing
    : public Kelvo_lib::kRTTI<CoreThing, Kelvo_lib::kObject, Kelvo_lib::kCLSID<0, 0, 0, 3>> {};
} // namespace kCore_lib

namespace ObjectModelTest {
namespace {

bool ListsLibrary(const kLibrary* library) {
    for (int i = 0; i < kLibrary::s_libraryList.Size(); ++i) {
        if (kLibrary::s_libraryList(i) == library) {
            return true;
        }
    }
    return false;
}

// Builds an object by class, as the framework does.
kObject* CreateByClass(kClass* record, kLibrary* library, const char* name) {
    kObject* memory = kObject::Allocate(record, library, name);
    record->m_classConstructor(memory);
    return memory;
}

TEST(ObjectTest, GuidStoresData4MostSignificantByteFirst) {
    const kGUID guid(0x12345678, 0x9ABC, 0xDEF0, 0x0123456789ABCDEF);
    const unsigned char expected[8] = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(guid.data1, 0x12345678u);
    EXPECT_EQ(guid.data2, 0x9ABC);
    EXPECT_EQ(guid.data3, 0xDEF0);
    EXPECT_EQ(std::memcmp(guid.data4, expected, 8), 0);
    EXPECT_EQ(Widget::StaticClass()->m_guid, guid);
    EXPECT_EQ((kCLSID<0, 0, 0, 0>::value), kGUID::Null);
}

TEST(ObjectTest, EngineRecordsAreRegisteredWithTheirNamesBasesAndGuids) {
    const test_support::ExpectedRecord table[] = {
        {kObject::StaticClass(), "Kelvo_lib::kObject", nullptr, false,
         kGUID(0xF369CB7A, 0x882E, 0x4268, 0x94BC8217F86F475B)},
        {kClass::StaticClass(), "Kelvo_lib::kClass", nullptr, false,
         kGUID(0x56DADCBF, 0x7661, 0x4FFE, 0x9D531DD8D1581E13)},
        {kLibrary::StaticClass(), "Kelvo_lib::kLibrary", kObject::StaticClass(), true,
         kGUID(0xB66232F6, 0xABFE, 0x4868, 0xAE4E9E73B2442C92)},
        {Kelvo_lib::kClassMetaData::StaticClass(), "Kelvo_lib::kClassMetaData",
         kObject::StaticClass(), true, kGUID(0x586EB10C, 0x7E67, 0x49C8, 0xBA5C1AEB4A2AD7E8)},
    };
    for (const test_support::ExpectedRecord& row : table) {
        test_support::ExpectRecord(row);
        EXPECT_EQ(TimesListed(row.record), 1) << row.name;
    }
    EXPECT_EQ(kClass::StaticClass()->Class(), kClass::StaticClass());
    EXPECT_EQ(kLibrary::StaticClass()->m_classSize, sizeof(kLibrary));
}

TEST(ObjectTest, TemplateRecordsDescribeTheirClass) {
    const kClass* widget = Widget::StaticClass();
    EXPECT_STREQ(widget->m_className, "ObjectModelTest::Widget");
    EXPECT_EQ(widget->m_classSize, sizeof(Widget));
    EXPECT_EQ(widget->m_superClass, kObject::StaticClass());
    EXPECT_EQ(Shape::StaticClass()->m_classConstructor, nullptr);
    EXPECT_EQ(Square::StaticClass()->m_superClass, Shape::StaticClass());
    EXPECT_STREQ(kCore_lib::CoreThing::StaticClass()->m_className, "CoreThing");
    EXPECT_EQ(TimesListed(Square::StaticClass()), 1);

    Square square;
    const Shape& shape = square;
    EXPECT_EQ(shape.Class(), Square::StaticClass());
    EXPECT_EQ(shape.m_library, nullptr);
    EXPECT_STREQ(shape.m_name, "");
}

TEST(ObjectTest, ClassNamePrefixesAreStrippedExceptTheEngineNamespace) {
    const struct {
        const char* given;
        const char* stored;
    } table[] = {
        {"class kFoo", "kFoo"},
        {"struct kFoo", "kFoo"},
        {"kCore_lib::kFoo", "kFoo"},
        {"class kCore_lib::kFoo", "kFoo"},
        {"struct kCore_lib::kFoo", "kFoo"},
        {"Kelvo_lib::kFoo", "Kelvo_lib::kFoo"},
        {"class Kelvo_lib::kFoo", "Kelvo_lib::kFoo"},
        {"classic", "classic"},
        {"class struct kFoo", "struct kFoo"},
        {nullptr, ""},
    };
    for (const auto& row : table) {
        const kClass record(row.given, 8, nullptr, nullptr, 0, kGUID::Null, nullptr);
        EXPECT_STREQ(record.m_className, row.stored) << (row.given ? row.given : "(null)");
    }
}

TEST(ObjectTest, DestroyedRecordLeavesTheClassList) {
    kClass* const newest = kClass::s_classHead;
    {
        kClass record("Scoped", 8, nullptr, nullptr, 0, kGUID::Null, Widget::StaticClass());
        EXPECT_EQ(kClass::s_classHead, &record);
        EXPECT_EQ(kClass::s_registerClassHead, &record);
        EXPECT_EQ(record.m_nextClass, newest);
    }
    EXPECT_EQ(kClass::s_classHead, newest);
    EXPECT_EQ(TimesListed(Widget::StaticClass()), 1);
}

TEST(ObjectTest, AllocatePresetsTheLibraryTheNameCounterAndAnEmptyName) {
    kClass* record = Widget::StaticClass();
    kLibrary own;
    kLibrary* transient = kLibrary::Transient();
    const struct {
        kLibrary* library;
        const char* name;
        kLibrary* expected;
        s32 counterStep;
    } table[] = {
        {nullptr, "Transient", nullptr, 0},
        {nullptr, nullptr, transient, 1},
        {nullptr, "button", transient, 0},
        {&own, nullptr, &own, 1},
    };
    for (const auto& row : table) {
        const s32 counter = record->m_classObjectNameId;
        kObject* object = CreateByClass(record, row.library, row.name);
        EXPECT_EQ(object->m_library, row.expected) << (row.name ? row.name : "(null)");
        EXPECT_STREQ(object->m_name, "");
        EXPECT_EQ(object->Class(), record);
        EXPECT_EQ(record->m_classObjectNameId, counter + row.counterStep);
        delete object;
    }
    EXPECT_EQ(kLibrary::Transient(), transient);
    EXPECT_EQ(transient->m_library, nullptr);
    EXPECT_TRUE(ListsLibrary(transient));
    EXPECT_EQ(kObject::Allocate(nullptr, nullptr, nullptr), nullptr);
    Widget::classFactory(nullptr);
}

TEST(ObjectTest, LibrariesAreListedWhileTheyExist) {
    auto* library = new kLibrary;
    EXPECT_TRUE(ListsLibrary(library));
    EXPECT_EQ(library->m_library, kLibrary::Transient());
    kObject* object = CreateByClass(Square::StaticClass(), library, nullptr);
    EXPECT_EQ(object->m_library, library);
    EXPECT_EQ(static_cast<Shape*>(object)->Sides(), 4);
    delete object;
    delete library;
    EXPECT_FALSE(ListsLibrary(library));
}

// Bytes the tracked allocator hands out while running make.
template <class Make>
s32 BytesTaken(Make make) {
    const s32 before = kPlatform_GetMemStats().actualSize;
    make();
    return kPlatform_GetMemStats().actualSize - before;
}

TEST(ObjectTest, ClassNewNeverHandsOutLessThanAsked) {
    kLibrary::Transient();
    BigWidget* big = nullptr;
    EXPECT_EQ(BytesTaken([&] { big = new BigWidget; }), static_cast<s32>(sizeof(BigWidget)));
    std::memset(big->m_payload, 0x5A, sizeof(big->m_payload));
    EXPECT_EQ(big->Class(), Widget::StaticClass());
    EXPECT_EQ(big->m_library, kLibrary::Transient());
    delete big;

    kObject* memory = nullptr;
    EXPECT_EQ(BytesTaken([&] {
                  memory = kObject::Allocate(Widget::StaticClass(), nullptr, "Transient", 1);
              }),
              static_cast<s32>(sizeof(Widget)));
    kObject::Free(memory);
}

TEST(ObjectTest, PresetLibrarySurvivesConstruction) {
    kLibrary library;
    kObject* memory = kObject::Allocate(Holder::StaticClass(), &library, "holder");
    std::memset(static_cast<void*>(memory), 0xAB, sizeof(Holder));
    Holder::classFactory(memory);
    EXPECT_EQ(memory->m_library, &library);
    EXPECT_STREQ(memory->m_name, "");
    delete memory;

    // A class new allocates the holder before its argument creates the widget.
    auto* holder =
        new Holder(static_cast<Widget*>(CreateByClass(Widget::StaticClass(), &library, "w")));
    EXPECT_EQ(holder->m_library, kLibrary::Transient());
    EXPECT_EQ(holder->m_inner->m_library, &library);
    delete holder;
}

TEST(ObjectTest, CreationByClassLeavesNoBlockBehind) {
    kLibrary::Transient();
    const s32 before = kPlatform_GetMemStats().numAllocs;
    for (int i = 0; i < 20; ++i) {
        kObject::Free(kObject::Allocate(Holder::StaticClass(), nullptr, nullptr));
    }
    delete CreateByClass(kLibrary::StaticClass(), nullptr, nullptr);
    delete new Holder(new Widget);
    delete new SharedGadget;
    kObject::Free(nullptr);
    EXPECT_EQ(kPlatform_GetMemStats().numAllocs, before);

    auto* widget = new Widget;
    EXPECT_EQ(widget->m_library, kLibrary::Transient());
    delete widget;
}

} // namespace
} // namespace ObjectModelTest
