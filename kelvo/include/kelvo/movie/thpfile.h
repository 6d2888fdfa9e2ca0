// THP movie files: the one definition of the format, its reader (checks on bytes already
// read, shared by the player, the dump and the tests) and its writer (for tools and tests).
// Every number is big-endian. Readers log a bad file and return false; they never read
// outside the bytes they are given. Any thread.
//
// Offset  Size  Field
//      0     4  magic "THP\0"
//      4     4  version 0x00011000
//      8     4  bufSize: the largest frame, in bytes
//     12     4  audioMaxSamples: most stereo samples in one frame
//     16     4  frameRate, a float in frames per second
//     20     4  numFrames
//     24     4  firstFrameSize
//     28     4  movieDataSize: every frame, from the first to the end of the last
//     32     4  compInfoDataOffsets: where the component information starts
//     36     4  offsetDataOffsets: the frame offset table, 0 for none
//     40     4  movieDataOffsets: the first frame
//     44     4  finalFrameDataOffsets: the last frame
// Component information: u32 numComponents (1 to 16), 16 bytes of kinds (0 video, 1 audio,
// 0xFF unused), then per component its record: video xSize, ySize, videoType (u32 each;
// videoType 0 progressive, 1 or 2 one field only), or audio sndChannels, sndFrequency,
// sndNumSamples, sndNumTracks (u32 each). The frame offset table has one u32 per frame: the
// end of that frame, relative to the first. A frame: u32 size of the next frame (the first's
// after the last, for looping), u32 size of the previous one, a u32 size per component, then each
// component's data in component order. A video component is a picture as THPVideoDecode reads it;
// an audio component holds sndNumTracks sound tracks as THPAudioDecode reads them, each as long as
// the component's size field, one after the other. The writer starts every record and frame
// at a multiple of 32 bytes and pads frames to a multiple of 32, as disc reads need.
#pragma once

#include <console/types.h>

#include <functional>
#include <vector>

constexpr u32 THP_VERSION = 0x00011000;
constexpr u32 THP_HEADER_SIZE = 48;
constexpr u32 THP_MAX_COMPONENTS = 16;
constexpr u32 THP_COMP_INFO_SIZE = 4 + THP_MAX_COMPONENTS;
constexpr u32 THP_VIDEO_INFO_SIZE = 12;
constexpr u32 THP_AUDIO_INFO_SIZE = 16;
constexpr u8 THP_VIDEO_COMP = 0;
constexpr u8 THP_AUDIO_COMP = 1;
constexpr u8 THP_NOCOMP_COMP = 0xFF;

struct THPHeader {
    char magic[4];
    u32 version;
    u32 bufSize;
    u32 audioMaxSamples;
    f32 frameRate;
    u32 numFrames;
    u32 firstFrameSize;
    u32 movieDataSize;
    u32 compInfoDataOffsets;
    u32 offsetDataOffsets;
    u32 movieDataOffsets;
    u32 finalFrameDataOffsets;
};

struct THPFrameCompInfo {
    u32 numComponents;
    u8 frameComp[THP_MAX_COMPONENTS];
};

struct THPVideoInfo {
    u32 xSize;
    u32 ySize;
    u32 videoType;
};

struct THPAudioInfo {
    u32 sndChannels;
    u32 sndFrequency;
    u32 sndNumSamples;
    u32 sndNumTracks;
};

// One frame's parts, pointing into the frame's bytes.
struct THPFrameView {
    u32 nextFrameSize;
    u32 prevFrameSize;
    const u8* compData[THP_MAX_COMPONENTS];
    u32 compSize[THP_MAX_COMPONENTS];
};

// ---- Reading ----
// The 48-byte header: magic and version, and every offset and size inside a file of
// fileLength bytes.
bool THPReadHeader(const u8* bytes, u32 size, u32 fileLength, THPHeader* header);
// The component kinds; at most one video component, every kind known.
bool THPReadCompInfo(const u8* bytes, u32 size, THPFrameCompInfo* compInfo);
// Video pictures whose sizes THPVideoDecode takes; audio of 1 or 2 channels, 1+ tracks.
bool THPReadVideoInfo(const u8* bytes, u32 size, THPVideoInfo* info);
bool THPReadAudioInfo(const u8* bytes, u32 size, THPAudioInfo* info);
// A frame of frameSize bytes: every component inside it, audio components holding
// numTracks tracks (pass 1 without audio).
bool THPReadFrame(const u8* frame, u32 frameSize, const THPFrameCompInfo& compInfo, u32 numTracks,
                  THPFrameView* view);

// A whole file in memory, for tools, tests and the fuzzer.
struct THPFileInfo {
    THPHeader header;
    THPFrameCompInfo compInfo;
    THPVideoInfo videoInfo;
    THPAudioInfo audioInfo;
    bool hasVideo;
    bool hasAudio;
};
bool THPReadFileInfo(const u8* file, u32 size, THPFileInfo* info);
// Walks the frames from the first, each checked and handed to `visit` (which may stop the
// walk by returning false); false when a frame's size or place is wrong.
bool THPForEachFrame(const u8* file, u32 size, const THPFileInfo& info,
                     const std::function<bool(u32 frame, const THPFrameView& view)>& visit);

// ---- Writing ----
// A movie to write: frames drawn on request as RGB8 rows (width x height x 3 bytes), and an
// optional 32 kHz sound of interleaved 16-bit samples, shared out over the frames.
struct THPMovieSource {
    u32 width;  // a multiple of 16
    u32 height; // a multiple of 16
    f32 frameRate;
    u32 numFrames;
    std::function<void(u32 frame, u8* rgb)> drawFrame;
    u32 sndChannels; // 0 for a silent movie, else 1 or 2
    std::vector<s16> sound;
    int jpegQuality; // 1 to 100
};
constexpr u32 THP_SOUND_FREQUENCY = 32000;

// Encodes the movie (pictures through libjpeg-turbo, 4:2:0) and hands the file to `write` in
// order, a part at a time, so no copy of the whole file need be held; false, logged, for a
// source the format cannot hold, or as soon as `write` returns false.
using THPWriteSink = std::function<bool(const u8* bytes, u32 size)>;
bool THPWriteMovie(const THPMovieSource& source, const THPWriteSink& write);
// The same into a vector, for tests.
bool THPWriteMovie(const THPMovieSource& source, std::vector<u8>* file);
