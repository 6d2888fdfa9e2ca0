// Property binding: a property names one typed value of another kObject and moves it
// between that object and the attributes of an XML element, through an accessor it does
// not own (saving reads the object, loading writes it). Object references travel as ids
// given by the caller's kPropertyObjectMap. Every kind is registered so that it can be
// made by class; such a property has no accessor until given one, and until then logs and
// moves nothing. Main thread only.
#pragma once

#include <ui/kuiwidget.h>

#include <kelvo/containers/karray.h>
#include <kelvo/containers/kstring.h>
#include <kelvo/object/krtti.h>
#include <kelvo/platform/klog.h>
#include <kelvo/xml/kxmlnode.h>

namespace Kelvo_lib {

// Turns objects into ids and back while properties are saved or loaded.
class kPropertyObjectMap {
public:
    virtual int ObjectToId(kObject* object) = 0;
    virtual kObject* IdToObject(int id) = 0;

protected:
    ~kPropertyObjectMap() = default;
};

class kPropertyAccessorBase {
public:
    virtual ~kPropertyAccessorBase() = default;
};

// Reads and writes one value of type T of a given object.
template <class T>
class kPropertyValueAccessor : public kPropertyAccessorBase {
public:
    virtual T Read(kObject* object) = 0;
    virtual void Write(kObject* object, T value) = 0;
};

using kPropertyCLSID = kCLSID<0, 0, 0, 0>;

class kProperty : public kAbstractRTTI<kProperty, kObject, kPropertyCLSID> {
public:
    // Saves o's value into ar's element, or loads it from there, as ar's archive says.
    virtual void XMLSerialize(kObject* o, kPropertyObjectMap& mapper, kXMLNode& ar) = 0;
    virtual const char* GetName() const = 0;
    virtual unsigned int GetFlags() const = 0;
};

// The common base of the kinds: P the kind, T its value type.
template <class P, class T>
class kValuePropertyRTTI : public kRTTI<P, kProperty, kPropertyCLSID> {
public:
    kValuePropertyRTTI() = default;
    kValuePropertyRTTI(kPropertyValueAccessor<T>* access, const char* name, unsigned int flags)
        : m_propAccess(access), m_name(name), m_propFlags(flags) {}

    const char* GetName() const override { return m_name.CStr(); }
    unsigned int GetFlags() const override { return m_propFlags; }

    // T{} and a logged error without an accessor.
    virtual T Get(kObject* o) { return HasAccessor() ? m_propAccess->Read(o) : T{}; }
    // Nothing but a logged error without an accessor.
    virtual void Set(kObject* o, T value) {
        if (HasAccessor()) {
            m_propAccess->Write(o, value);
        }
    }

    kPropertyValueAccessor<T>* m_propAccess = nullptr; // not owned
    kString m_name;
    unsigned int m_propFlags = 0; // for the property's user

protected:
    // Moves the value through fields(value), which reads or writes its attributes: the
    // value comes from the object when saving and goes to it when loading.
    template <class Fields>
    void Exchange(kObject* o, const kXMLNode& ar, Fields fields) {
        T value{};
        if (!ar.IsLoading()) {
            value = Get(o);
        }
        fields(value);
        if (ar.IsLoading()) {
            Set(o, value);
        }
    }

private:
    bool HasAccessor() const;
};

template <class P, class T>
bool kValuePropertyRTTI<P, T>::HasAccessor() const {
    if (m_propAccess == nullptr) {
        kLogSys("kProperty", "Property '%s' has no accessor; no value moved\n", m_name.CStr());
    }
    return m_propAccess != nullptr;
}

// "value": the int 0 or 1; any non-zero int loads as true.
template <class P>
class kBoolPropertyRTTI : public kValuePropertyRTTI<P, bool> {
public:
    using kValuePropertyRTTI<P, bool>::kValuePropertyRTTI;
    void XMLSerialize(kObject* o, kPropertyObjectMap& mapper, kXMLNode& ar) override;
};

class kPropertyBool : public kBoolPropertyRTTI<kPropertyBool> {
public:
    using kBoolPropertyRTTI::kBoolPropertyRTTI;
};

// A bool kept as a flag by its user; moved exactly as kPropertyBool.
class kPropertyFlag : public kBoolPropertyRTTI<kPropertyFlag> {
public:
    using kBoolPropertyRTTI::kBoolPropertyRTTI;
};

// "value".
class kPropertyInt : public kValuePropertyRTTI<kPropertyInt, int> {
public:
    using kValuePropertyRTTI::kValuePropertyRTTI;
    void XMLSerialize(kObject* o, kPropertyObjectMap& mapper, kXMLNode& ar) override;
};

// "value".
class kPropertyFloat : public kValuePropertyRTTI<kPropertyFloat, float> {
public:
    using kValuePropertyRTTI::kValuePropertyRTTI;
    void XMLSerialize(kObject* o, kPropertyObjectMap& mapper, kXMLNode& ar) override;
};

// "id": the map's id of the object referred to.
class kPropertyObject : public kValuePropertyRTTI<kPropertyObject, kObject*> {
public:
    using kValuePropertyRTTI::kValuePropertyRTTI;
    void XMLSerialize(kObject* o, kPropertyObjectMap& mapper, kXMLNode& ar) override;
};

struct kPropertyEnumEntry {
    kString name;
    int value = 0;
};

template <>
struct kIsBitwiseMovable<kPropertyEnumEntry> : std::true_type {};

// "value": the name of the first entry with the value. Loading matches names ignoring
// case; an unknown name loads as 0 and a value without entry saves as "".
class kPropertyEnum : public kValuePropertyRTTI<kPropertyEnum, int> {
public:
    using kValuePropertyRTTI::kValuePropertyRTTI;
    void XMLSerialize(kObject* o, kPropertyObjectMap& mapper, kXMLNode& ar) override;

    void AddEntry(const char* name, int value);

    kArray<kPropertyEnumEntry> m_enumList;

private:
    const char* NameOf(int value) const;
    int ValueOf(const kString& name) const;
};

// "x", "y".
class kPropertyUIPoint : public kValuePropertyRTTI<kPropertyUIPoint, kUIPoint> {
public:
    using kValuePropertyRTTI::kValuePropertyRTTI;
    void XMLSerialize(kObject* o, kPropertyObjectMap& mapper, kXMLNode& ar) override;
};

// "x", "y", "w", "h".
class kPropertyUIRect : public kValuePropertyRTTI<kPropertyUIRect, kUIRect> {
public:
    using kValuePropertyRTTI::kValuePropertyRTTI;
    void XMLSerialize(kObject* o, kPropertyObjectMap& mapper, kXMLNode& ar) override;
};

} // namespace Kelvo_lib
