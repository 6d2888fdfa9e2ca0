// kXMLNode: one element of a kXMLArchive's document. One Attribute call per value serves
// both directions: it writes the value when the archive saves and fills it when the
// archive loads, so one serialisation routine does both. A missing or malformed attribute
// (or element) logs and gives the default; saving into a node without element logs and
// leaves the value alone. The node does not own its element; the archive does.
#pragma once

#include <kelvo/containers/kstring.h>

class TiXmlElement;

namespace Kelvo_lib {

class kXMLArchive;

class kXMLNode {
public:
    // A node of archive ar; element may be null for an element that does not exist.
    kXMLNode(kXMLArchive* ar, TiXmlElement* element);

    kXMLNode& Attribute(const char* name, int& value, int defaultValue);
    // Written with the fewest digits that read back as the same float.
    kXMLNode& Attribute(const char* name, float& value, float defaultValue);
    // A null default reads as the empty text.
    kXMLNode& Attribute(const char* name, kString& str, const char* defaultValue);

    // Saving: a new child element with this name, after the others. Loading: the first
    // child element with this name, else a node without element.
    kXMLNode Child(const char* name);

    bool IsLoading() const;
    bool HasElement() const { return m_element != nullptr; }

    kXMLArchive* m_ar;
    TiXmlElement* m_element;

private:
    // The attribute's text when loading from an element that has it, else null (logged).
    const char* LoadedText(const char* name) const;
    // Whether a save can write name; logs why not.
    bool CanSave(const char* name) const;
    const char* ElementName() const;
};

} // namespace Kelvo_lib
