// A class record as the program should register it, and the check of a record against it:
// name, base, factory, GUID, and the fields every record shares (version 0, no metadata,
// an initialiser).
#pragma once

#include <kelvo/object/kobject.h>

#include <gtest/gtest.h>

namespace test_support {

struct ExpectedRecord {
    Kelvo_lib::kClass* record;
    const char* name;
    Kelvo_lib::kClass* base;
    bool bFactory;
    Kelvo_lib::kGUID guid;
};

inline void ExpectRecord(const ExpectedRecord& row) {
    SCOPED_TRACE(row.name);
    EXPECT_STREQ(row.record->m_className, row.name);
    EXPECT_EQ(row.record->m_superClass, row.base);
    EXPECT_EQ(row.record->m_classConstructor != nullptr, row.bFactory);
    EXPECT_EQ(row.record->m_guid, row.guid);
    EXPECT_EQ(row.record->m_classVersion, 0u);
    EXPECT_EQ(row.record->m_metaData, nullptr);
    EXPECT_NE(row.record->m_classInitialiser, nullptr);
}

} // namespace test_support
