// Libraries and the Transient library; registers the kLibrary and kClassMetaData records.
#include <kelvo/object/klibrary.h>

#include <new>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {kLibrary::StaticClass(),
                                                        kClassMetaData::StaticClass()};

} // namespace

kLibrary::List kLibrary::s_libraryList;
kLibrary* kLibrary::s_transientLibrary = nullptr;

kLibrary::kLibrary() {
    s_libraryList.Push(this);
}

kLibrary::~kLibrary() {
    s_libraryList.RemoveElement(this);
    if (s_transientLibrary == this) {
        s_transientLibrary = nullptr;
    }
}

kLibrary* kLibrary::Transient() {
    if (s_transientLibrary == nullptr) {
        // Named "Transient", so that the library itself belongs to no library.
        void* memory = kObject::Allocate(StaticClass(), nullptr, "Transient");
        s_transientLibrary = ::new (memory) kLibrary();
    }
    return s_transientLibrary;
}

} // namespace Kelvo_lib
