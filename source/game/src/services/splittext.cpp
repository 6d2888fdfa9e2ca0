// Greedy word wrap: each line takes words while it fits, measured by the font itself.
#include <services/splittext.h>

#include <framework/kfont.h>
#include <framework/kspritemanager.h>

#include <kelvo/platform/klog.h>

#include <string>

namespace Kelvo_lib {

namespace {

int LineWidth(const kFont& font, const std::string& text, size_t start, size_t end) {
    const std::string line = text.substr(start, end - start);
    int width = 0;
    int height = 0;
    font.GetStringBound(width, height, line.c_str());
    return width;
}

// Wraps the line that starts at start and runs to the next '\n' or the end; returns the
// index after it.
size_t WrapLine(const kFont& font, std::string& text, size_t start, int maxPixels) {
    size_t lineStart = start;
    size_t lastSpace = std::string::npos;
    size_t i = start;
    while (i < text.size() && text[i] != '\n') {
        if (text[i] == ' ') {
            lastSpace = i;
        }
        if (i <= lineStart || LineWidth(font, text, lineStart, i + 1) <= maxPixels) {
            ++i;
            continue;
        }
        if (lastSpace != std::string::npos && lastSpace > lineStart) {
            // Break at the last space and measure the same character on the new line.
            text[lastSpace] = '\n';
            lineStart = lastSpace + 1;
        } else {
            text.insert(i, 1, '\n');
            lineStart = ++i;
        }
        lastSpace = std::string::npos;
    }
    return i + 1;
}

} // namespace

kString SplitText(kFont* font, kString text, float maxWidth) {
    if (font == nullptr) {
        kLogFmt("SplitText: no font for \"%s\"\n", text.CStr());
        return text;
    }
    font->SetScale(1.0f);
    const int maxPixels = static_cast<int>(maxWidth * kSpriteManager::GetDisplayWidth());
    std::string wrapped(text.CStr(), static_cast<size_t>(text.Size()));
    for (size_t start = 0; start < wrapped.size();) {
        start = WrapLine(*font, wrapped, start, maxPixels);
    }
    if (wrapped.size() == static_cast<size_t>(text.Size()) && wrapped == text.CStr()) {
        return text;
    }
    return kString(wrapped.c_str());
}

} // namespace Kelvo_lib
