// Classes shared by the object model's two test units.
#pragma once

#include <kelvo/object/krtti.h>

namespace ObjectModelTest {

// Registered by both units: its record must still be built once.
class SharedGadget
    : public Kelvo_lib::kRTTI<SharedGadget, Kelvo_lib::kObject,
                              Kelvo_lib::kCLSID<0xA1B2C3D4, 0x1111, 0x2222, 0x3333444455556666>> {
public:
    int m_value = 42;
};

// How often record occurs in the global class list (a cycle shows as a large count).
int TimesListed(const Kelvo_lib::kClass* record);

} // namespace ObjectModelTest
