// Console start-up: video mode, frame buffers, the graphics FIFO, both heaps and
// the copy state; then the per-frame steps that show each frame.
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>

#include <console/dvd.h>
#include <console/host.h>
#include <console/os.h>
#include <console/vi.h>

#include <cstdarg>
#include <cstdio>

GXRenderModeObj* s_curMode = nullptr;
MEMAllocator MyDemoAllocator1;
MEMAllocator MyDemoAllocator2;

namespace {

constexpr u32 kFifoSize = 0x40000;

bool s_bDEMOInit = false;
// Start-up must not allocate; if something on its path does (a log hook, say),
// the nested allocation finds start-up in progress instead of recursing into it.
bool s_bDEMOInitRunning = false;
GXRenderModeObj Rmodeobj;
GXRenderModeObj* Rmode = nullptr;
void* MyDemoFifoBuffer = nullptr;
GXFifoObj* MyDemoFifoObj = nullptr;
void* MyDemoFrameBuffer1 = nullptr;
void* MyDemoFrameBuffer2 = nullptr;
void* MyDemoCurrentBuffer = nullptr;
u32 allocatedFrameBufferSize = 0;
MEMHeapHandle MyDemoHeap1 = nullptr;
MEMHeapHandle MyDemoHeap2 = nullptr;
bool MyDemoFirstFrame = true;

u8* RoundUp32(void* address) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(address);
    return reinterpret_cast<u8*>((value + 31) & ~uintptr_t{31});
}

bool IsNonInterlaced(const GXRenderModeObj& mode) {
    return (mode.viTVmode & 1) != 0;
}

struct TvFormatChoice {
    u32 format;
    const char* logLine;
    GXRenderModeObj* baseMode;
};

const TvFormatChoice* FindTvFormat(u32 format) {
    static const TvFormatChoice kChoices[] = {
        {VI_NTSC, "-------------------------->NTSC\n", &GXNtsc480IntDf},
        {VI_PAL, "-------------------------->PAL\n", &GXPal528IntDf},
        {VI_EURGB60, "-------------------------->PAL60\n", &GXPal528IntDf},
        {VI_MPAL, "-------------------------->MPAL\n", &GXPal528IntDf},
    };
    for (const TvFormatChoice& choice : kChoices) {
        if (choice.format == format) {
            return &choice;
        }
    }
    return nullptr;
}

void SelectModeForTvFormat() {
    const u32 format = VIGetTvFormat();
    const TvFormatChoice* choice = FindTvFormat(format);
    if (choice == nullptr) {
        OSPanic(__FILE__, __LINE__, "MyDemoInit: invalid TV format\n");
    }
    kLogDetail("%s", choice->logLine);
    GXAdjustForOverscan(choice->baseMode, &Rmodeobj, 0, 16);
    if (format != VI_NTSC) {
        Rmodeobj.xfbHeight = 526;
        Rmodeobj.viYOrigin = 24;
        Rmodeobj.viHeight = 526;
    }
}

MEMHeapHandle CreateArenaHeap(const char* name, void* (*getLo)(), void* (*getHi)(),
                              void (*setLo)(void*), MEMAllocator* allocator) {
    u8* lo = static_cast<u8*>(getLo());
    u8* hi = static_cast<u8*>(getHi());
    kLogDetail("%s: %p -> %p\n", name, static_cast<void*>(lo), static_cast<void*>(hi));
    MEMHeapHandle heap = MEMCreateExpHeapEx(lo, static_cast<u32>(hi - lo), 0);
    if (heap == nullptr) {
        OSPanic(__FILE__, __LINE__, "%s heap allocation error.\n", name);
    }
    kLogDetail("%s freesize: %u\n", name, MEMGetTotalFreeSizeForExpHeap(heap));
    setLo(hi);
    MEMInitAllocatorForExpHeap(allocator, heap, 32);
    return heap;
}

void MyDemoConfigureMem() {
    u8* lo = RoundUp32(OSGetMEM1ArenaLo());
    MyDemoFifoBuffer = lo;
    MyDemoFrameBuffer1 = lo + kFifoSize;
    allocatedFrameBufferSize = ((Rmode->fbWidth + 15u) & 0xFFF0u) * Rmode->xfbHeight * 2u;
    MyDemoFrameBuffer2 = RoundUp32(static_cast<u8*>(MyDemoFrameBuffer1) + allocatedFrameBufferSize);
    OSSetMEM1ArenaLo(RoundUp32(static_cast<u8*>(MyDemoFrameBuffer2) + allocatedFrameBufferSize));
    MyDemoHeap1 = CreateArenaHeap("MEM1", OSGetMEM1ArenaLo, OSGetMEM1ArenaHi, OSSetMEM1ArenaLo,
                                  &MyDemoAllocator1);
    MyDemoHeap2 = CreateArenaHeap("MEM2", OSGetMEM2ArenaLo, OSGetMEM2ArenaHi, OSSetMEM2ArenaLo,
                                  &MyDemoAllocator2);
}

void MyDemoInitGX() {
    const GXRenderModeObj& mode = *Rmode;
    GXSetViewport(0.0f, 0.0f, mode.fbWidth, mode.efbHeight, 0.0f, 1.0f);
    GXSetScissor(0, 0, mode.fbWidth, mode.efbHeight);
    kLogDetail("InitGX: %d x %d - aa %d\n", mode.fbWidth, mode.efbHeight, mode.aa);
    const f32 scale = GXGetYScaleFactor(mode.efbHeight, mode.xfbHeight);
    const u16 xfbLines = static_cast<u16>(GXSetDispCopyYScale(scale));
    kLogDetail("EFB %d XFB %d SCALE %f\n", mode.efbHeight, xfbLines, static_cast<double>(scale));
    GXSetDispCopyDst(mode.fbWidth, xfbLines);
    GXSetDispCopySrc(0, 0, mode.fbWidth, mode.efbHeight);
    GXSetCopyFilter(mode.aa, mode.sample_pattern, GX_TRUE, mode.vfilter);
    GXSetDispCopyGamma(GX_GM_1_0);
    GXSetPixelFmt(mode.aa ? GX_PF_RGB565_Z16 : GX_PF_RGB8_Z24, GX_ZC_LINEAR);
    GXSetCopyClear(GXColor{0, 0, 0, 0}, 0xFFFFFF);
    GXCopyDisp(MyDemoFrameBuffer2, GX_TRUE);
}

void StartVideo() {
    VIConfigure(Rmode);
    VISetNextFrameBuffer(MyDemoFrameBuffer1);
    MyDemoCurrentBuffer = MyDemoFrameBuffer2;
    VIFlush();
    VIWaitForRetrace();
    if (IsNonInterlaced(*Rmode)) {
        VIWaitForRetrace();
    }
}

} // namespace

void MyDemoSetRenderMode(const GXRenderModeObj* mode) {
    if (mode != nullptr) {
        Rmodeobj = *mode;
    } else {
        SelectModeForTvFormat();
    }
    Rmode = &Rmodeobj;
    s_curMode = Rmode;
}

void kPlatform_Init() {
    if (s_bDEMOInit || s_bDEMOInitRunning) {
        return;
    }
    s_bDEMOInitRunning = true;
    kLogSetDetail(HostGetOptions().bLogDetail);
    DVDInit();
    VIInit();
    MyDemoSetRenderMode(nullptr);
    MyDemoConfigureMem();
    MyDemoFifoObj = GXInit(MyDemoFifoBuffer, kFifoSize);
    MyDemoInitGX();
    StartVideo();
    s_bDEMOInit = true;
    s_bDEMOInitRunning = false;
}

bool kPlatform_IsInitialised() {
    return s_bDEMOInit;
}

int kPlatform_Process() {
    return HostBeginFrame() ? 1 : 0;
}

u32 MyDemoGetWidth() {
    return Rmode->fbWidth;
}
u32 MyDemoGetHeight() {
    return Rmode->efbHeight;
}
int MyDemoGetFormat() {
    return Rmode->aa ? GX_PF_RGB565_Z16 : GX_PF_RGB8_Z24;
}

void MyDemoBeforeRender() {
    const GXRenderModeObj& mode = *Rmode;
    if (mode.field_rendering) {
        GXSetViewportJitter(0.0f, 0.0f, mode.fbWidth, mode.efbHeight, 0.0f, 1.0f, VIGetNextField());
    } else {
        GXSetViewport(0.0f, 0.0f, mode.fbWidth, mode.efbHeight, 0.0f, 1.0f);
    }
    GXInvalidateVtxCache();
    GXInvalidateTexAll();
}

void MyDemoDoneRender() {
    GXSetZMode(GX_TRUE, GX_LEQUAL, GX_TRUE);
    GXSetColorUpdate(GX_TRUE);
    GXCopyDisp(MyDemoCurrentBuffer, GX_TRUE);
    GXDrawDone();
    VISetNextFrameBuffer(MyDemoCurrentBuffer);
    if (MyDemoFirstFrame) {
        VISetBlack(FALSE);
        MyDemoFirstFrame = false;
    }
    VIFlush();
    VIWaitForRetrace();
    MyDemoCurrentBuffer =
        MyDemoCurrentBuffer != MyDemoFrameBuffer1 ? MyDemoFrameBuffer1 : MyDemoFrameBuffer2;
}

void MyDemoReInit(GXRenderModeObj* mode) {
    GXFifoObj* fifo = GXGetCPUFifo();
    void* base = GXGetFifoBase(fifo);
    const u32 size = GXGetFifoSize(fifo);
    GXAbortFrame();
    MyDemoSetRenderMode(mode);
    MyDemoFifoObj = GXInit(base, size);
    MyDemoInitGX();
    StartVideo();
}

void* MyDemoGetCurrentBuffer() {
    return MyDemoCurrentBuffer;
}

void* MyDemoGetFrameBuffer(int index) {
    return index == 1 ? MyDemoFrameBuffer1 : MyDemoFrameBuffer2;
}

int kPlatform_snprintf(char* buffer, int size, const char* format, ...) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    va_list args;
    va_start(args, format);
    const int wanted = vsnprintf(buffer, static_cast<size_t>(size), format, args);
    va_end(args);
    if (wanted < 0) {
        buffer[0] = '\0';
        return 0;
    }
    return wanted < size ? wanted : size - 1;
}
