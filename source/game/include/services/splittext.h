// SplitText: word-wraps a text for a font by turning spaces into line breaks, so that every
// line fits a width given as a fraction of the display width. The font's scale is set to
// 1.0 and left there; its other settings (spacing, fixed width) count. A word wider than the
// line is broken between characters. A null font is logged and the text returned as it is.
// Main thread only.
#pragma once

#include <kelvo/containers/kstring.h>

namespace Kelvo_lib {

class kFont;

// The wrapped text; a text that fits is returned unchanged.
kString SplitText(kFont* font, kString text, float maxWidth);

} // namespace Kelvo_lib
