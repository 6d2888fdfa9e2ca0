// Language files written entry by entry, straight into the stream or, compressed, through
// a deflating zip stream after the body's size.
#include <framework/ktext.h>
#include <framework/ktextwriter.h>

#include <kelvo/io/kendian.h>
#include <kelvo/io/kzipiostream.h>
#include <kelvo/platform/klog.h>

#include <cstdio>
#include <cstring>

namespace Kelvo_lib {

namespace {

constexpr const char* kLogSystem = "kText";
constexpr unsigned int kZipBufferSize = 2048;
constexpr char kCompressedMark[] = "ZZ";
constexpr char kLineEnd[] = "\r\n";
constexpr char kEntryEnd[] = "\"\r\n";
constexpr unsigned int kSizeFieldBytes = 4;

// The part of entry id before its text: the ID word, a space and the opening quote.
struct EntryStart {
    explicit EntryStart(int id) {
        size = static_cast<unsigned int>(std::snprintf(text, sizeof text, "%d \"", id));
    }

    char text[16];
    unsigned int size;
};

unsigned long long BodySize(const kArray<kString>& texts) {
    unsigned long long size = 0;
    for (int id = 0; id < texts.Size(); ++id) {
        size += EntryStart(id).size + static_cast<unsigned int>(texts(id).Size()) +
                (sizeof kEntryEnd - 1);
    }
    return size;
}

bool CanHold(const char* language, const kArray<kString>& texts) {
    if (language == nullptr || std::strncmp(language, kCompressedMark, 2) == 0 ||
        std::strpbrk(language, kLineEnd) != nullptr) {
        kLogSys(kLogSystem, "kText_WriteFile: '%s' cannot name a language\n",
                language != nullptr ? language : "(null)");
        return false;
    }
    for (int id = 0; id < texts.Size(); ++id) {
        if (std::strchr(texts(id), '\r') != nullptr) {
            kLogSys(kLogSystem, "kText_WriteFile: text %d holds a carriage return\n", id);
            return false;
        }
    }
    if (texts.Size() > kText::kMaxEntries || BodySize(texts) > kText::kMaxBodySize) {
        kLogSys(kLogSystem, "kText_WriteFile: %d texts are more than a language file loads\n",
                texts.Size());
        return false;
    }
    return true;
}

bool WriteAll(kIOStream* stream, const char* data, unsigned int size) {
    return stream->Write(data, size) == size;
}

bool WriteText(kIOStream* stream, const char* text) {
    return WriteAll(stream, text, static_cast<unsigned int>(std::strlen(text)));
}

bool WriteBody(kIOStream* stream, const kArray<kString>& texts) {
    for (int id = 0; id < texts.Size(); ++id) {
        const EntryStart start(id);
        if (!WriteAll(stream, start.text, start.size) ||
            !WriteAll(stream, texts(id), static_cast<unsigned int>(texts(id).Size())) ||
            !WriteText(stream, kEntryEnd)) {
            return false;
        }
    }
    return true;
}

bool WriteCompressedBody(kIOStreamSeekable* stream, const kArray<kString>& texts) {
    const unsigned int sizeField = kEndian::Little32(static_cast<unsigned int>(BodySize(texts)));
    if (!WriteAll(stream, reinterpret_cast<const char*>(&sizeField), kSizeFieldBytes)) {
        return false;
    }
    kZipIOStream zip(stream, K_IO_ACCESS_WRITE, kZipBufferSize);
    const bool bWritten = WriteBody(&zip, texts);
    return zip.FinishStream() == K_CODEC_ENDED && bWritten;
}

} // namespace

unsigned int kText_FileSizeBound(const char* language, const kArray<kString>& texts) {
    const unsigned long long body = BodySize(texts);
    // A zlib stream adds at most about 5 bytes per 16 KiB block and a few for its frame.
    const unsigned long long bound = sizeof kCompressedMark +
                                     (language != nullptr ? std::strlen(language) : 0) +
                                     sizeof kLineEnd + kSizeFieldBytes + body + body / 256 + 64;
    return bound > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<unsigned int>(bound);
}

bool kText_WriteFile(const char* language, const kArray<kString>& texts, bool bCompressed,
                     kIOStreamSeekable* stream) {
    if (stream == nullptr || !CanHold(language, texts)) {
        return false;
    }
    const bool bHeader = (!bCompressed || WriteText(stream, kCompressedMark)) &&
                         WriteText(stream, language) && WriteText(stream, kLineEnd);
    const bool bWritten =
        bHeader && (bCompressed ? WriteCompressedBody(stream, texts) : WriteBody(stream, texts));
    if (!bWritten) {
        kLogSys(kLogSystem, "kText_WriteFile: the stream did not take the whole file\n");
    }
    return bWritten;
}

} // namespace Kelvo_lib
