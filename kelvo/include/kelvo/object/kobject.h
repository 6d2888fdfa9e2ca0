// The object model's core: kClass, the run-time record of a class (name, GUID, instance
// size, factory, base record), linked into one global list by static initialisers and
// living until exit; and kObject, the root of the classes created by class. Allocate takes
// an instance of a record's size from the tracked allocator with its library preset and
// the record's factory builds the object there. Main thread only; a null class gives null.
#pragma once

#include <kelvo/object/kguid.h>

#include <console/types.h>

#include <cstddef>

namespace Kelvo_lib {

class kClass;
class kClassMetaData;
class kLibrary;
class kOldArchive;
class kStream;

using kClassConstructor = void (*)(void* memory);
using kClassInitialiser = void (*)();

class kObject {
public:
    // The library preset by Allocate when built in memory it handed out, else none; the
    // name is always empty.
    kObject();
    // A copy is a new object: it does not take over the library of the original.
    kObject(const kObject&) : kObject() {}
    kObject& operator=(const kObject&) { return *this; }
    virtual ~kObject() = default;

    virtual void Serialize(kOldArchive&) {}
    virtual kClass* Class() = 0;
    virtual const kClass* Class() const = 0;
    virtual void Serialize(kStream&) {}

    static kClass* StaticClass();
    static void ClassInitialiser() {}

    // Uninitialised memory for an instance of cls, at least minimumSize bytes, whose
    // kObject will belong to library; without one, to no library when name is
    // "Transient", else to the Transient library. A call without a name advances the
    // record's name counter. Null for a null or unregistered class.
    static kObject* Allocate(kClass* cls, kLibrary* library, const char* name,
                             std::size_t minimumSize = 0);
    // Gives memory from Allocate back; nothing for null.
    static void Free(void* memory);

    kLibrary* m_library;
    const char* m_name;
};

class kClass : public kObject {
public:
    // Fills the record, strips a leading "class " or "struct " and then "kCore_lib::" from
    // the name, and pushes the record at the head of the global list.
    kClass(const char* name, u32 classSize, kClassConstructor classConstructor,
           kClassInitialiser classInitialiser, u32 classVersion, const kGUID& guid,
           kClass* superClass);
    kClass(const kClass&) = delete;
    kClass& operator=(const kClass&) = delete;
    // Leaves the global list.
    ~kClass() override;

    kClass* Class() override { return StaticClass(); }
    const kClass* Class() const override { return StaticClass(); }
    static kClass* StaticClass();

    kGUID m_guid;
    const char* m_className;
    u32 m_classSize;
    kClassConstructor m_classConstructor; // null for an abstract class
    kClassInitialiser m_classInitialiser;
    u32 m_classVersion;
    kClass* m_superClass;
    kClassMetaData* m_metaData = nullptr;
    kClass* m_nextClass;
    s32 m_classObjectNameId = 0; // objects allocated without a name

    // The global list, newest first, and the record registered last.
    static inline kClass* s_classHead = nullptr;
    static inline kClass* s_registerClassHead = nullptr;
};

} // namespace Kelvo_lib
