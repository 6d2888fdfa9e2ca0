// Sprite bank loading from hand-built files: both header versions and record layouts,
// skipped chunks, empty hot spots and masks, name look-up, the disc constructor's
// failures and log lines, and the faults a damaged bank must not turn into a huge
// allocation or a read outside the bank (short chunks, lying counts, stray indices).
#include <framework/kspritebank.h>

#include "iff_writer.h"
#include "log_capture.h"
#include "temporary_host_directory.h"

#include <kelvo/io/kmemoryiostream.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;
using test_support::LogCapture;

// The lines less the disc drive's own ("Reading ...", "Read done").
std::vector<std::string> WithoutDriveLines(const std::vector<std::string>& lines) {
    std::vector<std::string> ours;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(ours),
                 [](const std::string& line) { return !line.starts_with("Read"); });
    return ours;
}

template <class Record>
std::string Encode(const std::vector<Record>& records) {
    std::string bytes;
    for (const Record& record : records) {
        std::string one(kSpriteBankRecord::FileSize<Record>(), '\0');
        kSpriteBankRecord::Encode(record, reinterpret_cast<unsigned char*>(one.data()));
        bytes += one;
    }
    return bytes;
}

// A small bank: "disabled" (two frames, the second masked, on one page) and "Button"
// (one frame of two cells, two hot spots), its records kept apart so that a test can
// change any of them or the layout they are written in.
struct BankFile {
    BankFile() {
        names = std::string("disabled\0Button\0centre\0corner\0", 30);
        sprites = {{0, 2, 16, 8, 0, 0, 0}, {9, 1, 32, 8, 2, 0, 2}};
        frames = {{1, 0, 16, 8, 0, 0, 16, 8, K_SPRITEBANK_NO_INDEX},
                  {1, 1, 16, 8, 0, 0, 16, 8, 0},
                  {2, 2, 32, 8, 1, 2, 34, 10, K_SPRITEBANK_NO_INDEX}};
        cells = {{0, 0, 0, 1, 1, 16, 8},
                 {0, 0, 0, 1, 11, 16, 8},
                 {0, 0, 0, 19, 1, 16, 8},
                 {0, 16, 0, 19, 11, 16, 8}};
        hotSpots = {{16, 4, 4}, {23, 0, 0}};
        pages = {{30, 64, 32, 0, 5, 0}};
        pageData = {0x07, 'a', 'b', 'c', 0x00};
        collision = "\xC0\x80";
    }

    kSpriteBankHeader Header() const {
        auto count = [](const auto& list) { return static_cast<unsigned int>(list.size()); };
        return {2,
                2,
                0,
                count(names),
                count(sprites),
                count(frames),
                count(cells),
                count(hotSpots),
                count(pages),
                count(pageData),
                count(collision)};
    }

    std::string HeaderChunk() const {
        kSpriteBankHeader header = Header();
        if (!bOldHeader) {
            return Encode<kSpriteBankHeader>({header});
        }
        header.version = 1;
        const std::string bytes = Encode<kSpriteBankHeader>({header});
        return bytes.substr(0, 4) + bytes.substr(12);
    }

    std::string FrameChunk() const {
        if (!bOldFrames) {
            return iff_writer::Chunk("FRA2", Encode(frames));
        }
        std::vector<kSpriteBankFrameV1> old;
        for (const kSpriteBankFrame& f : frames) {
            old.push_back({f.numCells, f.cellIndex, f.width, f.height, f.offsetx, f.offsety,
                           f.collisionIndex});
        }
        return iff_writer::Chunk("FRAM", Encode(old));
    }

    std::string CellChunk() const {
        if (!bWideCells) {
            return iff_writer::Chunk("CEL2", Encode(cells));
        }
        std::vector<kSpriteBankCellV1> wide;
        for (const kSpriteBankCell& c : cells) {
            // The loader keeps the low 16 bits of every field.
            wide.push_back({c.pageIndex, c.offsetX + 0x10000u, c.offsetY, c.x, c.y, c.w, c.h});
        }
        return iff_writer::Chunk("CELL", Encode(wide));
    }

    std::vector<std::string> Chunks() const {
        return {iff_writer::Chunk("HDR ", HeaderChunk()),
                iff_writer::Chunk("NAMT", names),
                iff_writer::Chunk("SPRI", Encode(sprites)),
                FrameChunk(),
                CellChunk(),
                iff_writer::Chunk("HOTS", Encode(hotSpots)),
                iff_writer::Chunk("PAGE", Encode(pages)),
                iff_writer::Chunk("PDAT", pageData),
                iff_writer::Chunk("CDAT", collision)};
    }

    std::string Bytes() const { return Form(Chunks()); }

    static std::string Form(const std::vector<std::string>& chunks) {
        return iff_writer::Group("FORM", "KSPB", chunks);
    }

    std::string names;
    std::vector<kSpriteBankSprite> sprites;
    std::vector<kSpriteBankFrame> frames;
    std::vector<kSpriteBankCell> cells;
    std::vector<kSpriteBankHotSpot> hotSpots;
    std::vector<kSpriteBankPage> pages;
    std::string pageData;
    std::string collision;
    bool bOldHeader = false;
    bool bOldFrames = false;
    bool bWideCells = false;
};

std::unique_ptr<kSpriteBank> Load(std::string bytes) {
    kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()), K_IO_ACCESS_READ);
    return std::make_unique<kSpriteBank>(&stream);
}

int IFFErrorOf(const std::string& bytes) {
    try {
        Load(bytes);
    } catch (kIFFException& exception) {
        return exception.m_iffError;
    }
    return K_IFF_OK;
}

TEST(SpriteBankTest, LoadsTheCurrentLayout) {
    const std::unique_ptr<kSpriteBank> bank = Load(BankFile().Bytes());
    ASSERT_EQ(bank->GetNumSprites(), 2);
    EXPECT_STREQ(bank->GetName(), "Unknown");
    const kSpriteBankSprite* button = bank->FindSprite("Button");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->frameIndex, 2u);
    const kSpriteBankFrame* frame = bank->GetFrame(2);
    EXPECT_EQ(frame->totalw, 34u);
    EXPECT_EQ(bank->GetCell(static_cast<int>(frame->cellIndex) + 1)->offsetX, 16);
    EXPECT_STREQ(bank->GetRecordName(bank->GetHotSpot(1)->nameIndex), "corner");
    EXPECT_EQ(static_cast<const char*>(bank->GetPageData(0))[1], 'a');
    EXPECT_EQ(bank->GetHeader().platform, 2u);
}

TEST(SpriteBankTest, OldHeaderFramesAndCellsLoadWithAWarning) {
    BankFile file;
    file.bOldHeader = file.bOldFrames = file.bWideCells = true;
    LogCapture log;
    const std::unique_ptr<kSpriteBank> bank = Load(file.Bytes());
    EXPECT_EQ(log.CountContaining("Warning: loading old version spritebank"), 1);
    EXPECT_EQ(bank->GetHeader().version, 1u);
    EXPECT_EQ(bank->GetHeader().platform, 0u);
    EXPECT_EQ(bank->GetHeader().flags, 0u);
    EXPECT_EQ(bank->GetHeader().numCells, 4u);
    ASSERT_EQ(bank->GetNumFrames(), 3);
    EXPECT_EQ(bank->GetFrame(2)->totalw, 0u);
    EXPECT_EQ(bank->GetFrame(2)->offsety, 2u);
    EXPECT_EQ(bank->GetCell(3)->offsetX, 16);
}

TEST(SpriteBankTest, CurrentHeaderWithWideCellsCutsThemTo16Bits) {
    BankFile file;
    file.bWideCells = true;
    const std::unique_ptr<kSpriteBank> bank = Load(file.Bytes());
    ASSERT_EQ(bank->GetNumCells(), 4);
    EXPECT_EQ(bank->GetCell(3)->offsetX, 16);
    EXPECT_EQ(bank->GetCell(3)->x, 19);
    EXPECT_EQ(bank->GetFrame(2)->totalw, 34u);
}

TEST(SpriteBankTest, SkipsChunksOfOtherIds) {
    BankFile file;
    std::vector<std::string> chunks = file.Chunks();
    chunks.insert(chunks.begin() + 3, iff_writer::Chunk("XTRA", "odd"));
    chunks.insert(chunks.begin(), iff_writer::Chunk("INFO", "made by a test"));
    const std::unique_ptr<kSpriteBank> bank = Load(BankFile::Form(chunks));
    EXPECT_EQ(bank->GetNumFrames(), 3);
    EXPECT_EQ(bank->GetFrame(1)->collisionIndex, 0u);
}

TEST(SpriteBankTest, EmptyHotSpotsAndMasksLoadAsNone) {
    BankFile file;
    file.sprites[1].numHotSpots = 0;
    file.hotSpots.clear();
    file.frames[1].collisionIndex = K_SPRITEBANK_NO_INDEX;
    file.collision.clear();
    const std::unique_ptr<kSpriteBank> bank = Load(file.Bytes());
    ASSERT_EQ(bank->GetNumSprites(), 2);
    EXPECT_EQ(bank->GetNumHotSpots(), 0);
    EXPECT_EQ(bank->GetFrameCollisionData(1), nullptr);
}

TEST(SpriteBankTest, CollisionDataIsFoundByItsIndex) {
    const std::unique_ptr<kSpriteBank> bank = Load(BankFile().Bytes());
    EXPECT_EQ(bank->GetFrameCollisionData(0), nullptr);
    ASSERT_NE(bank->GetFrameCollisionData(1), nullptr);
    EXPECT_EQ(bank->GetFrameCollisionData(1)[0], 0xC0);
}

TEST(SpriteBankTest, FindsNamesIgnoringCaseAndListsTheBankOnAMiss) {
    const std::unique_ptr<kSpriteBank> bank = Load(BankFile().Bytes());
    EXPECT_EQ(bank->FindSprite("Disabled"), bank->GetSprite(0));
    EXPECT_EQ(bank->FindSprite("BUTTON"), bank->GetSprite(1));
    LogCapture log;
    EXPECT_EQ(bank->FindSprite("Missing"), nullptr);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Couldn't find 'missing' from 'Unknown' in:",
                                                   "--> disabled", "--> Button"}));
}

TEST(SpriteBankTest, AFileThatIsNoSpriteBankLoadsEmpty) {
    EXPECT_EQ(
        Load(iff_writer::Group("FORM", "ILBM", {iff_writer::Chunk("BMHD", "xx")}))->GetNumSprites(),
        0);
    EXPECT_EQ(IFFErrorOf("not an IFF file at all"), K_IFF_BAD_FORMAT);
}

TEST(SpriteBankTest, AMissingChunkStopsTheLoadWithWhatWasRead) {
    BankFile file;
    std::vector<std::string> chunks = file.Chunks();
    chunks.pop_back(); // no "CDAT": the masked frame's mask is missing
    EXPECT_EQ(Load(BankFile::Form(chunks))->GetNumSprites(), 0);
    file.frames[1].collisionIndex = K_SPRITEBANK_NO_INDEX;
    chunks = file.Chunks();
    chunks.pop_back();
    EXPECT_EQ(Load(BankFile::Form(chunks))->GetNumSprites(), 2);
}

TEST(SpriteBankTest, CountsBeyondTheirChunkAreAShortChunkBeforeAnyAllocation) {
    const struct {
        unsigned int kSpriteBankHeader::*field;
        unsigned int value;
    } lies[] = {{&kSpriteBankHeader::numSprites, 3u},
                {&kSpriteBankHeader::numSprites, 0x7FFFFFFFu},
                {&kSpriteBankHeader::numSprites, 0xFFFFFFFFu},
                {&kSpriteBankHeader::nameTableSize, 31u},
                {&kSpriteBankHeader::nameTableSize, 0x7FFFFFFFu}};
    for (const auto& lie : lies) {
        BankFile file;
        std::vector<std::string> chunks = file.Chunks();
        kSpriteBankHeader header = file.Header();
        header.*lie.field = lie.value;
        chunks[0] = iff_writer::Chunk("HDR ", Encode<kSpriteBankHeader>({header}));
        EXPECT_EQ(IFFErrorOf(BankFile::Form(chunks)), K_IFF_BAD_FORMAT) << lie.value;
    }
}

TEST(SpriteBankTest, AShortHeaderIsAShortChunk) {
    std::vector<std::string> chunks = BankFile().Chunks();
    chunks[0] = iff_writer::Chunk("HDR ", std::string(20, '\0'));
    EXPECT_EQ(IFFErrorOf(BankFile::Form(chunks)), K_IFF_BAD_FORMAT);
}

struct Inconsistency {
    const char* name;
    void (*damage)(BankFile&);
};

class SpriteBankInconsistencyTest : public testing::TestWithParam<Inconsistency> {};

TEST_P(SpriteBankInconsistencyTest, LeavesTheBankEmptyWithALoggedLine) {
    BankFile file;
    GetParam().damage(file);
    LogCapture log;
    const std::unique_ptr<kSpriteBank> bank = Load(file.Bytes());
    EXPECT_EQ(bank->GetNumSprites(), 0);
    EXPECT_EQ(bank->GetNumFrames(), 0);
    EXPECT_EQ(bank->GetNumPages(), 0);
    EXPECT_EQ(bank->FindSprite("disabled"), nullptr);
    EXPECT_EQ(log.CountContaining("kSpriteBank:: Unknown: "), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Records, SpriteBankInconsistencyTest,
    testing::Values(
        Inconsistency{"SpriteNameOutsideTheTable",
                      [](BankFile& f) { f.sprites[1].nameIndex = 30; }},
        Inconsistency{"NameTableNotTerminated",
                      [](BankFile& f) {
                          f.names.back() = 'x';
                          f.hotSpots[1].nameIndex = 27;
                      }},
        Inconsistency{"HotSpotNameOutsideTheTable",
                      [](BankFile& f) { f.hotSpots[0].nameIndex = 0xFFFFFFFF; }},
        Inconsistency{"SpriteWithoutFrames", [](BankFile& f) { f.sprites[0].numFrames = 0; }},
        Inconsistency{"SpriteFramesBeyondTheList", [](BankFile& f) { f.sprites[1].numFrames = 2; }},
        Inconsistency{"SpriteFrameIndexWraps",
                      [](BankFile& f) { f.sprites[1].frameIndex = 0xFFFFFFFF; }},
        Inconsistency{"SpriteHotSpotsBeyondTheList",
                      [](BankFile& f) { f.sprites[1].hotSpotIndex = 1; }},
        Inconsistency{"FrameCellsBeyondTheList", [](BankFile& f) { f.frames[2].numCells = 3; }},
        Inconsistency{"MaskBeyondTheCollisionData",
                      [](BankFile& f) { f.frames[1].collisionIndex = 1; }},
        Inconsistency{"MaskLargerThanTheCollisionData",
                      [](BankFile& f) { f.frames[1].height = 16; }},
        Inconsistency{"CellOnAMissingPage", [](BankFile& f) { f.cells[2].pageIndex = 1; }},
        Inconsistency{"PageStreamBeyondThePageData", [](BankFile& f) { f.pages[0].size = 6; }},
        Inconsistency{"PageStreamIndexWraps",
                      [](BankFile& f) { f.pages[0].dataIndex = 0xFFFFFFFF; }}),
    [](const testing::TestParamInfo<Inconsistency>& info) { return std::string(info.param.name); });

// Banks opened by name from a disc directory of the test's own.
class SpriteBankDiscTest : public testing::Test {
protected:
    test_support::TemporaryDisc m_disc;
};

TEST_F(SpriteBankDiscTest, ConstructionAndDestructionAreCountedInTheLog) {
    m_disc.Write("wii/test.KSB", BankFile().Bytes());
    LogCapture log;
    {
        kSpriteBank first("wii/test.KSB", false);
        EXPECT_EQ(first.GetNumSprites(), 2);
        EXPECT_STREQ(first.GetName(), "wii/test.KSB");
        kSpriteBank second("wii/test.KSB", true);
    }
    EXPECT_EQ(WithoutDriveLines(log.lines),
              (std::vector<std::string>{"kSpriteBank::Construct: wii/test.KSB (1)",
                                        "kSpriteBank::Construct: wii/test.KSB (2)",
                                        "kSpriteBank::Destruct: wii/test.KSB (2)",
                                        "kSpriteBank::Destruct: wii/test.KSB (1)"}));
}

TEST_F(SpriteBankDiscTest, AMissingFileGivesAnEmptyUncountedBank) {
    LogCapture log;
    {
        kSpriteBank bank("wii/missing.KSB", false);
        EXPECT_EQ(bank.GetNumSprites(), 0);
        EXPECT_STREQ(bank.GetName(), "");
        EXPECT_EQ(bank.FindSprite("anything"), nullptr);
    }
    EXPECT_EQ(WithoutDriveLines(log.lines),
              (std::vector<std::string>{"kSpriteBank:: Failed to open wii/missing.KSB",
                                        "Couldn't find 'anything' from '' in:"}));
}

TEST_F(SpriteBankDiscTest, AnIFFFaultIsLoggedAndKeepsConsistentRecordsReadBeforeIt) {
    BankFile file;
    file.frames[1].collisionIndex = K_SPRITEBANK_NO_INDEX;
    std::vector<std::string> chunks = file.Chunks();
    chunks.back() = iff_writer::Chunk("CDAT", "\x01"); // shorter than the header says
    m_disc.Write("wii/cut.KSB", BankFile::Form(chunks));
    LogCapture log;
    kSpriteBank bank("wii/cut.KSB", false);
    EXPECT_EQ(log.CountContaining("kSpriteBank:: IFF Exception : Bad format IFF"), 1);
    EXPECT_EQ(log.CountContaining("kSpriteBank::Construct: wii/cut.KSB (1)"), 1);
    EXPECT_EQ(bank.GetNumSprites(), 2);
    EXPECT_EQ(bank.GetNumPages(), 1);
}

} // namespace
