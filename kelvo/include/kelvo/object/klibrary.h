// Libraries, named groups of objects created by class, and class metadata records. Every
// library is listed in kLibrary::s_libraryList while it exists; objects allocated without
// a library belong to the Transient library, made on first need and kept until exit.
// Main thread only.
#pragma once

#include <kelvo/containers/karray.h>
#include <kelvo/object/krtti.h>

namespace Kelvo_lib {

class kLibrary
    : public kRTTI<kLibrary, kObject, kCLSID<0xB66232F6, 0xABFE, 0x4868, 0xAE4E9E73B2442C92>> {
public:
    using List = kArray<kLibrary*, TArrayTrait<3, 8, 16, K_MEM_TAG_CLASS>>;

    // An empty library, appended to s_libraryList.
    kLibrary();
    kLibrary(const kLibrary&) = delete;
    kLibrary& operator=(const kLibrary&) = delete;
    // Leaves s_libraryList (and stops being the Transient library).
    ~kLibrary() override;

    // The Transient library, created (without a library of its own) on the first call.
    static kLibrary* Transient();

    // Declared for the library's objects; Allocate does not add to it.
    kArray<kObject*, TArrayTrait<3, 8, 16, K_MEM_TAG_CLASS>> m_objectList;

    static List s_libraryList;
    static kLibrary* s_transientLibrary;
};

class kClassMetaData : public kRTTI<kClassMetaData, kObject,
                                    kCLSID<0x586EB10C, 0x7E67, 0x49C8, 0xBA5C1AEB4A2AD7E8>> {
public:
    kClassMetaData* m_next = nullptr;
};

} // namespace Kelvo_lib
