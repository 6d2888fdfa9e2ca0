// kXMLArchive: one XML document that objects either save their values into or load them
// from, through kXMLNode. The document is TinyXML's, kept behind this class and kXMLNode:
// no caller sees a TinyXML type. Read takes a whole document from a stream (refusing one
// too large or too deeply nested for the parser); a failed read logs, returns false and
// leaves the document empty, so every later lookup gives defaults. Main thread only.
#pragma once

#include <kelvo/xml/kxmlnode.h>

class TiXmlDocument;

namespace Kelvo_lib {

class kIOStream;

enum class XMLArchiveMode {
    save = 0,
    load = 1,
};

class kXMLArchive {
public:
    // Largest document Read takes, and most elements it lets the parser nest.
    static constexpr unsigned int kMaxDocumentBytes = 1024u * 1024u;
    static constexpr unsigned int kMaxElements = 8192u;

    explicit kXMLArchive(XMLArchiveMode mode);
    kXMLArchive(const kXMLArchive&) = delete;
    kXMLArchive& operator=(const kXMLArchive&) = delete;
    ~kXMLArchive();

    // Replaces the document with the one the stream holds, read to its end.
    bool Read(kIOStream& stream);
    // Prints the document; false when the stream takes fewer bytes than printed.
    bool Write(kIOStream& stream);

    // Saving: the root element, made with this name on first call. Loading: the root
    // element when it has this name, else a node without element.
    kXMLNode Root(const char* name);

    bool IsLoading() const { return m_mode == XMLArchiveMode::load; }

    TiXmlDocument* m_doc;
    XMLArchiveMode m_mode;

private:
    bool Parse(const char* text);
};

} // namespace Kelvo_lib
