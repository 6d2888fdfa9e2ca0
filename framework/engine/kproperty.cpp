// The attributes each property kind reads and writes, and the registration of the kinds
// with the object model.
#include <framework/kproperty.h>

#include <strings.h>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {
    kPropertyEnum::StaticClass(), kPropertyFlag::StaticClass(), kPropertyFloat::StaticClass(),
    kPropertyInt::StaticClass(),  kPropertyBool::StaticClass(), kPropertyObject::StaticClass(),
    kProperty::StaticClass(),
};

} // namespace

template <class P>
void kBoolPropertyRTTI<P>::XMLSerialize(kObject* o, kPropertyObjectMap&, kXMLNode& ar) {
    this->Exchange(o, ar, [&ar](bool& value) {
        int number = value ? 1 : 0;
        ar.Attribute("value", number, 0);
        value = number != 0;
    });
}

template class kBoolPropertyRTTI<kPropertyBool>;
template class kBoolPropertyRTTI<kPropertyFlag>;

void kPropertyInt::XMLSerialize(kObject* o, kPropertyObjectMap&, kXMLNode& ar) {
    Exchange(o, ar, [&ar](int& value) { ar.Attribute("value", value, 0); });
}

void kPropertyFloat::XMLSerialize(kObject* o, kPropertyObjectMap&, kXMLNode& ar) {
    Exchange(o, ar, [&ar](float& value) { ar.Attribute("value", value, 0.0f); });
}

void kPropertyObject::XMLSerialize(kObject* o, kPropertyObjectMap& mapper, kXMLNode& ar) {
    Exchange(o, ar, [&ar, &mapper](kObject*& object) {
        int id = ar.IsLoading() ? 0 : mapper.ObjectToId(object);
        ar.Attribute("id", id, 0);
        if (ar.IsLoading()) {
            object = mapper.IdToObject(id);
        }
    });
}

void kPropertyEnum::AddEntry(const char* name, int value) {
    m_enumList.Push({kString(name), value});
}

const char* kPropertyEnum::NameOf(int value) const {
    for (s32 i = 0; i < m_enumList.Size(); ++i) {
        if (m_enumList(i).value == value) {
            return m_enumList(i).name.CStr();
        }
    }
    return "";
}

int kPropertyEnum::ValueOf(const kString& name) const {
    for (s32 i = 0; i < m_enumList.Size(); ++i) {
        if (strcasecmp(m_enumList(i).name.CStr(), name.CStr()) == 0) {
            return m_enumList(i).value;
        }
    }
    kLogSys("kProperty", "Enum property '%s' has no entry '%s'; 0 used\n", m_name.CStr(),
            name.CStr());
    return 0;
}

void kPropertyEnum::XMLSerialize(kObject* o, kPropertyObjectMap&, kXMLNode& ar) {
    Exchange(o, ar, [this, &ar](int& value) {
        kString name = ar.IsLoading() ? "" : NameOf(value);
        ar.Attribute("value", name, "");
        if (ar.IsLoading()) {
            value = ValueOf(name);
        }
    });
}

void kPropertyUIPoint::XMLSerialize(kObject* o, kPropertyObjectMap&, kXMLNode& ar) {
    Exchange(o, ar, [&ar](kUIPoint& point) {
        ar.Attribute("x", point.x, 0.0f).Attribute("y", point.y, 0.0f);
    });
}

void kPropertyUIRect::XMLSerialize(kObject* o, kPropertyObjectMap&, kXMLNode& ar) {
    Exchange(o, ar, [&ar](kUIRect& rect) {
        ar.Attribute("x", rect.x, 0.0f)
            .Attribute("y", rect.y, 0.0f)
            .Attribute("w", rect.w, 0.0f)
            .Attribute("h", rect.h, 0.0f);
    });
}

} // namespace Kelvo_lib
