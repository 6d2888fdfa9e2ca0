// A second unit that registers SharedGadget's record, as the first unit does.
#include "object_test_classes.h"

#include <gtest/gtest.h>

namespace ObjectModelTest {

using Kelvo_lib::kClass;

int TimesListed(const kClass* record) {
    constexpr int kMaxLinks = 100000;
    int times = 0;
    int links = 0;
    for (const kClass* c = kClass::s_classHead; c != nullptr && links < kMaxLinks;
         c = c->m_nextClass, ++links) {
        times += c == record ? 1 : 0;
    }
    return times;
}

namespace {

TEST(ObjectSecondUnitTest, RecordRegisteredByTwoUnitsIsBuiltOnce) {
    const kClass* record = SharedGadget::StaticClass();
    EXPECT_EQ(TimesListed(record), 1);
    EXPECT_NE(record->m_nextClass, record);
    EXPECT_STREQ(record->m_className, "ObjectModelTest::SharedGadget");
    auto* gadget = new SharedGadget;
    EXPECT_EQ(gadget->Class(), record);
    EXPECT_EQ(gadget->m_value, 42);
    delete gadget;
}

} // namespace
} // namespace ObjectModelTest
