// The frame: the clear colour of the next copy, and the buffer swap.
#include "krenderwii_private.h"

#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krdrawhelp.h>

namespace Kelvo_lib {

using namespace kRenderWII_Private;

namespace {

constexpr u32 kFarthestDepth = 0xFFFFFF;

} // namespace

void kRender::BufferClear(unsigned int colour) {
    const GXColor clear = {static_cast<u8>(colour >> 16), static_cast<u8>(colour >> 8),
                           static_cast<u8>(colour), 0};
    GXSetCopyClear(clear, kFarthestDepth);
}

void kRender::BufferSwap() {
    krDrawHelp::Flush();
    MyDemoDoneRender();
    m_dynamicPos = 0;
    MyDemoBeforeRender();
}

} // namespace Kelvo_lib
