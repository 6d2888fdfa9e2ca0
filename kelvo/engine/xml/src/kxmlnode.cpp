// Typed attribute access on one element. Numbers are parsed here, not by TinyXML's
// queries, so that a text with trailing junk or out of range is refused instead of being
// cut or wrapped, and floats are printed with enough digits to come back unchanged.
#include <kelvo/xml/kxmlarchive.h>
#include <kelvo/xml/kxmlnode.h>

#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/klog.h>

#include <tinyxml.h>

#include <charconv>
#include <string_view>

namespace Kelvo_lib {

namespace {

constexpr const char* kLogSystem = "kXMLNode";

std::string_view Trimmed(const char* text) {
    std::string_view view(text);
    const std::size_t first = view.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return view.substr(first, view.find_last_not_of(" \t\r\n") - first + 1);
}

// The whole text (less surrounding blanks) as a number of type T; false when it is not
// one or does not fit.
template <class T>
bool ParseNumber(const char* text, T& number) {
    const std::string_view view = Trimmed(text);
    const char* end = view.data() + view.size();
    const auto [stop, error] = std::from_chars(view.data(), end, number);
    return !view.empty() && error == std::errc() && stop == end;
}

} // namespace

kXMLNode::kXMLNode(kXMLArchive* ar, TiXmlElement* element) : m_ar(ar), m_element(element) {
    kAssert(ar != nullptr);
}

bool kXMLNode::IsLoading() const {
    return m_ar->IsLoading();
}

const char* kXMLNode::ElementName() const {
    return m_element != nullptr ? m_element->Value() : "(none)";
}

const char* kXMLNode::LoadedText(const char* name) const {
    if (name == nullptr) {
        kLogSys(kLogSystem, "Attribute without a name in <%s>; default used\n", ElementName());
        return nullptr;
    }
    if (m_element == nullptr) {
        return nullptr; // the lookup that found no element has logged it
    }
    const char* text = m_element->Attribute(name);
    if (text == nullptr) {
        kLogSys(kLogSystem, "No attribute %s in <%s>; default used\n", name, ElementName());
    }
    return text;
}

bool kXMLNode::CanSave(const char* name) const {
    if (name == nullptr || m_element == nullptr) {
        kLogSys(kLogSystem, "Cannot save attribute %s: no %s; nothing written\n",
                name != nullptr ? name : "(null)", name != nullptr ? "element" : "name");
        return false;
    }
    return true;
}

template <class T>
static void LoadNumber(const char* name, const char* text, const char* element, T& value,
                       T defaultValue) {
    if (text == nullptr) {
        value = defaultValue;
    } else if (!ParseNumber(text, value)) {
        kLogSys(kLogSystem, "Attribute %s=\"%s\" in <%s> is not a usable number; default used\n",
                name, text, element);
        value = defaultValue;
    }
}

kXMLNode& kXMLNode::Attribute(const char* name, int& value, int defaultValue) {
    if (IsLoading()) {
        LoadNumber(name, LoadedText(name), ElementName(), value, defaultValue);
    } else if (CanSave(name)) {
        m_element->SetAttribute(name, value);
    }
    return *this;
}

kXMLNode& kXMLNode::Attribute(const char* name, float& value, float defaultValue) {
    if (IsLoading()) {
        LoadNumber(name, LoadedText(name), ElementName(), value, defaultValue);
    } else if (CanSave(name)) {
        char text[32];
        *std::to_chars(text, text + sizeof(text) - 1, value).ptr = '\0';
        m_element->SetAttribute(name, text);
    }
    return *this;
}

kXMLNode& kXMLNode::Attribute(const char* name, kString& str, const char* defaultValue) {
    if (IsLoading()) {
        const char* text = LoadedText(name);
        str = text != nullptr ? text : (defaultValue != nullptr ? defaultValue : "");
    } else if (CanSave(name)) {
        m_element->SetAttribute(name, str.CStr());
    }
    return *this;
}

kXMLNode kXMLNode::Child(const char* name) {
    if (name == nullptr || m_element == nullptr) {
        kLogSys(kLogSystem, "No element <%s> in <%s>\n", name != nullptr ? name : "(null)",
                ElementName());
        return {m_ar, nullptr};
    }
    if (!IsLoading()) {
        return {m_ar, static_cast<TiXmlElement*>(m_element->LinkEndChild(new TiXmlElement(name)))};
    }
    TiXmlElement* child = m_element->FirstChildElement(name);
    if (child == nullptr) {
        kLogSys(kLogSystem, "No element <%s> in <%s>\n", name, ElementName());
    }
    return {m_ar, child};
}

} // namespace Kelvo_lib
