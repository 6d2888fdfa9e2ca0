// The document of an archive: reading it whole from a stream, printing it, and its root.
// TinyXML parses element nesting by recursion, so a document is refused before parsing
// when it could nest deeper than kMaxElements (each element needs one '<' and a name).
#include <kelvo/xml/kxmlarchive.h>

#include <kelvo/containers/karray.h>
#include <kelvo/io/kiostream.h>
#include <kelvo/platform/klog.h>

#include <tinyxml.h>

#include <cstring>

namespace Kelvo_lib {

namespace {

constexpr const char* kLogSystem = "kXMLArchive";
constexpr s32 kReadChunk = 4096;

// Whether text has at most limit places where an element can open: a '<' not starting a
// closing tag, a comment, a declaration or CDATA.
bool ElementOpeningsWithin(const char* text, unsigned int limit) {
    unsigned int openings = 0;
    for (const char* p = std::strchr(text, '<'); p != nullptr; p = std::strchr(p + 1, '<')) {
        if (std::strchr("/!?", p[1]) == nullptr && ++openings > limit) {
            return false;
        }
    }
    return true;
}

// The whole stream with a terminating zero, or false (logged) when it cannot be read or
// is larger than the archive takes.
bool ReadWhole(kIOStream& stream, kArray<char>& text) {
    if (!stream.Reading()) {
        kLogSys(kLogSystem, "Cannot read the document: the stream is not open for reading\n");
        return false;
    }
    for (;;) {
        const s32 at = text.Size();
        text.SetSize(at + kReadChunk);
        const unsigned int count = stream.Read(text.Data() + at, kReadChunk);
        text.SetSize(at + static_cast<s32>(count));
        if (static_cast<unsigned int>(text.Size()) > kXMLArchive::kMaxDocumentBytes) {
            kLogSys(kLogSystem, "Document larger than %u bytes refused\n",
                    kXMLArchive::kMaxDocumentBytes);
            return false;
        }
        if (count == 0) {
            text.Push('\0');
            return true;
        }
    }
}

} // namespace

kXMLArchive::kXMLArchive(XMLArchiveMode mode) : m_doc(new TiXmlDocument), m_mode(mode) {}

kXMLArchive::~kXMLArchive() {
    delete m_doc;
}

bool kXMLArchive::Read(kIOStream& stream) {
    m_doc->Clear();
    kArray<char> text;
    return ReadWhole(stream, text) && Parse(text.Data());
}

bool kXMLArchive::Parse(const char* text) {
    if (!ElementOpeningsWithin(text, kMaxElements)) {
        kLogSys(kLogSystem, "Document with more than %u elements refused\n", kMaxElements);
        return false;
    }
    m_doc->Parse(text);
    if (m_doc->Error()) {
        kLogSys(kLogSystem, "Malformed document (line %d, column %d): %s\n", m_doc->ErrorRow(),
                m_doc->ErrorCol(), m_doc->ErrorDesc());
        m_doc->Clear();
        return false;
    }
    return true;
}

bool kXMLArchive::Write(kIOStream& stream) {
    TiXmlPrinter printer;
    m_doc->Accept(&printer);
    const auto size = static_cast<unsigned int>(printer.Size());
    if (!stream.Writing() || stream.Write(printer.CStr(), size) != size) {
        kLogSys(kLogSystem, "Document of %u bytes not written whole\n", size);
        return false;
    }
    return true;
}

kXMLNode kXMLArchive::Root(const char* name) {
    TiXmlElement* root = m_doc->RootElement();
    if (!IsLoading() && root == nullptr && name != nullptr) {
        root = static_cast<TiXmlElement*>(m_doc->LinkEndChild(new TiXmlElement(name)));
    }
    if (root == nullptr || name == nullptr || std::strcmp(root->Value(), name) != 0) {
        kLogSys(kLogSystem, "No root element <%s>\n", name != nullptr ? name : "(null)");
        return {this, nullptr};
    }
    return {this, root};
}

} // namespace Kelvo_lib
