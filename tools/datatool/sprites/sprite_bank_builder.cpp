// The bank builder: records in sprite order, cells packed onto pages by height in
// shelves, pages drawn, tiled and packed, masks appended per frame.
#include "sprite_bank_builder.h"

#include "gx_tiles.h"
#include "lzss_encoder.h"

#include <kelvo/image/kimage.h>

#include <algorithm>
#include <numeric>
#include <strings.h>

namespace datatool {
namespace {

using Kelvo_lib::K_SPRITEBANK_NO_INDEX;
using Kelvo_lib::kSpriteBankCell;
using Kelvo_lib::kSpriteBankFrame;
using Kelvo_lib::kSpriteBankHotSpot;
using Kelvo_lib::kSpriteBankPage;
using Kelvo_lib::kSpriteBankSprite;

constexpr unsigned int kBorder = 1;
constexpr unsigned int kMaxFrameSide = 0xFFFF; // cell offsets are 16-bit
constexpr unsigned int kMaskBlock = 4;
constexpr unsigned int kMaskAlpha = 128;
constexpr unsigned int kBankVersion = 2;

struct Rect {
    unsigned int x;
    unsigned int y;
    unsigned int w;
    unsigned int h;
};

// A cell cut from a frame and where packing put its pixels.
struct CellSource {
    const ArgbImage* frame;
    Rect inFrame;
    unsigned int page;
    unsigned int pageX;
    unsigned int pageY;
};

unsigned int NextPowerOfTwo(unsigned int value) {
    unsigned int power = 1;
    while (power < value) {
        power *= 2;
    }
    return power;
}

bool IsTransparent(const ArgbImage& frame, const Rect& rect) {
    for (unsigned int y = rect.y; y < rect.y + rect.h; ++y) {
        for (unsigned int x = rect.x; x < rect.x + rect.w; ++x) {
            if (Alpha(frame.At(x, y)) != 0) {
                return false;
            }
        }
    }
    return true;
}

// Whether a pixel of the block holds alpha kMaskAlpha or more.
bool IsSolid(const ArgbImage& frame, const Rect& block) {
    for (unsigned int y = block.y; y < block.y + block.h; ++y) {
        for (unsigned int x = block.x; x < block.x + block.w; ++x) {
            if (Alpha(frame.At(x, y)) >= kMaskAlpha) {
                return true;
            }
        }
    }
    return false;
}

// Mask column or row i of count covers pixels from 4i; the last one runs to the edge, as
// the hit test folds the pixels beyond count x 4 into it.
void MaskSpan(unsigned int i, unsigned int count, unsigned int side, unsigned int* start,
              unsigned int* length) {
    *start = i * kMaskBlock;
    *length = i + 1 == count ? side - *start : kMaskBlock;
}

class BankBuilder {
public:
    BankBuilder(unsigned int pageSize, SpriteBankContent* bank)
        : m_pageSize(pageSize), m_bank(*bank) {}

    bool AddSprite(const SpriteSource& source, std::string* error) {
        if (!Check(source, error)) {
            return false;
        }
        kSpriteBankSprite sprite{};
        sprite.nameIndex = AddName(source.name);
        sprite.numFrames = static_cast<unsigned int>(source.frames.size());
        sprite.frameIndex = static_cast<unsigned int>(m_bank.frames.size());
        sprite.hotSpotIndex = static_cast<unsigned int>(m_bank.hotSpots.size());
        sprite.numHotSpots = static_cast<unsigned int>(source.hotSpots.size());
        for (const ArgbImage& frame : source.frames) {
            sprite.width = std::max(sprite.width, frame.width);
            sprite.height = std::max(sprite.height, frame.height);
            AddFrame(frame, source.bMask);
        }
        for (const HotSpotSource& hotSpot : source.hotSpots) {
            m_bank.hotSpots.push_back(
                kSpriteBankHotSpot{AddName(hotSpot.name), hotSpot.x, hotSpot.y});
        }
        m_bank.sprites.push_back(sprite);
        return true;
    }

    void Finish() {
        PackCells();
        DrawPages();
        FillHeader();
    }

private:
    bool Check(const SpriteSource& source, std::string* error) const {
        if (std::any_of(source.frames.begin(), source.frames.end(), [](const auto& f) {
                return f.width == 0 || f.height == 0 || f.width > kMaxFrameSide ||
                       f.height > kMaxFrameSide;
            })) {
            *error = "sprite '" + source.name + "' has a frame of no pixels or over 65,535";
            return false;
        }
        return true;
    }

    unsigned int AddName(const std::string& name) {
        const auto index = static_cast<unsigned int>(m_bank.names.size());
        m_bank.names.insert(m_bank.names.end(), name.begin(), name.end());
        m_bank.names.push_back(0);
        return index;
    }

    void AddFrame(const ArgbImage& image, bool bMask) {
        kSpriteBankFrame frame{};
        frame.width = image.width;
        frame.height = image.height;
        frame.totalw = image.width;
        frame.totalh = image.height;
        frame.cellIndex = static_cast<unsigned int>(m_bank.cells.size());
        CutCells(image);
        frame.numCells = static_cast<unsigned int>(m_bank.cells.size()) - frame.cellIndex;
        if (frame.numCells == 0) {
            frame.cellIndex = K_SPRITEBANK_NO_INDEX;
        }
        frame.collisionIndex = K_SPRITEBANK_NO_INDEX;
        if (bMask && image.width >= kMaskBlock && image.height >= kMaskBlock) {
            frame.collisionIndex = static_cast<unsigned int>(m_bank.collisionData.size());
            AddMask(image);
        }
        m_bank.frames.push_back(frame);
    }

    void CutCells(const ArgbImage& image) {
        const unsigned int side = m_pageSize - 2 * kBorder;
        for (unsigned int y = 0; y < image.height; y += side) {
            for (unsigned int x = 0; x < image.width; x += side) {
                const Rect rect{x, y, std::min(side, image.width - x),
                                std::min(side, image.height - y)};
                if (IsTransparent(image, rect)) {
                    continue;
                }
                m_cellSources.push_back(CellSource{&image, rect, 0, 0, 0});
                m_bank.cells.push_back(kSpriteBankCell{
                    0, static_cast<unsigned short>(x), static_cast<unsigned short>(y), 0, 0,
                    static_cast<unsigned short>(rect.w), static_cast<unsigned short>(rect.h)});
            }
        }
    }

    void AddMask(const ArgbImage& image) {
        const unsigned int columns = image.width / kMaskBlock;
        const unsigned int rows = image.height / kMaskBlock;
        const std::size_t rowBytes = (columns + 7) / 8;
        const std::size_t start = m_bank.collisionData.size();
        m_bank.collisionData.resize(start + rowBytes * rows, 0);
        for (unsigned int row = 0; row < rows; ++row) {
            for (unsigned int column = 0; column < columns; ++column) {
                Rect block{};
                MaskSpan(column, columns, image.width, &block.x, &block.w);
                MaskSpan(row, rows, image.height, &block.y, &block.h);
                if (IsSolid(image, block)) {
                    m_bank.collisionData[start + row * rowBytes + column / 8] |=
                        static_cast<unsigned char>(0x80u >> (column % 8));
                }
            }
        }
    }

    // Shelves of cells, tallest first, filling one page after another.
    void PackCells() {
        std::vector<std::size_t> order(m_cellSources.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return m_cellSources[a].inFrame.h > m_cellSources[b].inFrame.h;
        });
        unsigned int page = 0;
        unsigned int shelfX = 0;
        unsigned int shelfY = 0;
        unsigned int shelfHeight = 0;
        m_pageExtents.clear();
        for (const std::size_t index : order) {
            CellSource& cell = m_cellSources[index];
            const unsigned int w = cell.inFrame.w + 2 * kBorder;
            const unsigned int h = cell.inFrame.h + 2 * kBorder;
            if (shelfX + w > m_pageSize) {
                shelfX = 0;
                shelfY += shelfHeight;
                shelfHeight = 0;
            }
            if (m_pageExtents.empty() || shelfY + h > m_pageSize) {
                page = static_cast<unsigned int>(m_pageExtents.size());
                m_pageExtents.push_back(Rect{0, 0, 0, 0});
                shelfX = 0;
                shelfY = 0;
                shelfHeight = 0;
            }
            cell.page = page;
            cell.pageX = shelfX + kBorder;
            cell.pageY = shelfY + kBorder;
            shelfX += w;
            shelfHeight = std::max(shelfHeight, h);
            m_pageExtents[page].w = std::max(m_pageExtents[page].w, shelfX);
            m_pageExtents[page].h = std::max(m_pageExtents[page].h, shelfY + h);
            kSpriteBankCell& record = m_bank.cells[index];
            record.pageIndex = static_cast<unsigned short>(page);
            record.x = static_cast<unsigned short>(cell.pageX);
            record.y = static_cast<unsigned short>(cell.pageY);
        }
    }

    void DrawPages() {
        for (std::size_t page = 0; page < m_pageExtents.size(); ++page) {
            ArgbImage image(NextPowerOfTwo(std::max(m_pageExtents[page].w, kRGBA8TileSize)),
                            NextPowerOfTwo(std::max(m_pageExtents[page].h, kRGBA8TileSize)));
            for (const CellSource& cell : m_cellSources) {
                if (cell.page == page) {
                    DrawCell(cell, &image);
                }
            }
            const std::vector<unsigned char> stream = LZSSEncode(TileRGBA8(image));
            m_bank.pages.push_back(
                kSpriteBankPage{Kelvo_lib::K_IMAGE_ARGB_8888, image.width, image.height, 0,
                                static_cast<unsigned int>(stream.size()),
                                static_cast<unsigned int>(m_bank.pageData.size())});
            m_bank.pageData.insert(m_bank.pageData.end(), stream.begin(), stream.end());
        }
    }

    // The cell's pixels and, around them, a border of the frame's pixels beyond the cell
    // (its own edge pixels where the frame ends).
    static void DrawCell(const CellSource& cell, ArgbImage* page) {
        const ArgbImage& frame = *cell.frame;
        const Rect& rect = cell.inFrame;
        for (unsigned int y = 0; y < rect.h + 2 * kBorder; ++y) {
            const unsigned int frameY =
                std::min(std::max(rect.y + y, kBorder) - kBorder, frame.height - 1);
            for (unsigned int x = 0; x < rect.w + 2 * kBorder; ++x) {
                const unsigned int frameX =
                    std::min(std::max(rect.x + x, kBorder) - kBorder, frame.width - 1);
                page->Set(cell.pageX - kBorder + x, cell.pageY - kBorder + y,
                          frame.At(frameX, frameY));
            }
        }
    }

    void FillHeader() {
        auto count = [](const auto& list) { return static_cast<unsigned int>(list.size()); };
        m_bank.header = Kelvo_lib::kSpriteBankHeader{kBankVersion,
                                                     kBankPlatform,
                                                     0,
                                                     count(m_bank.names),
                                                     count(m_bank.sprites),
                                                     count(m_bank.frames),
                                                     count(m_bank.cells),
                                                     count(m_bank.hotSpots),
                                                     count(m_bank.pages),
                                                     count(m_bank.pageData),
                                                     count(m_bank.collisionData)};
    }

    unsigned int m_pageSize;
    SpriteBankContent& m_bank;
    std::vector<CellSource> m_cellSources; // one per cell record, in the same order
    std::vector<Rect> m_pageExtents;       // the part of each page that packing used
};

bool IsPageSize(unsigned int size) {
    return size >= kMinPageSize && size <= kMaxPageSize && (size & (size - 1)) == 0;
}

// Why the sprite cannot follow those before it in a bank; empty when it can.
std::string SpriteFault(const SpriteSource& sprite, const SpriteSource* before, std::size_t count) {
    if (sprite.name.empty() || sprite.name.find('\0') != std::string::npos) {
        return "a sprite needs a name";
    }
    if (std::any_of(before, before + count, [&](const SpriteSource& other) {
            return strcasecmp(other.name.c_str(), sprite.name.c_str()) == 0;
        })) {
        return "sprite '" + sprite.name + "' is named twice (names ignore case)";
    }
    if (sprite.frames.empty()) {
        return "sprite '" + sprite.name + "' has no frame";
    }
    if (std::any_of(sprite.hotSpots.begin(), sprite.hotSpots.end(),
                    [](const auto& h) { return h.name.empty(); })) {
        return "sprite '" + sprite.name + "' has a hot spot without a name";
    }
    return {};
}

} // namespace

bool CheckSpriteRequest(const std::vector<SpriteSource>& sprites, unsigned int pageSize,
                        std::string* error) {
    if (!IsPageSize(pageSize)) {
        *error = "the page size must be a power of two from 8 to 1024";
        return false;
    }
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        *error = SpriteFault(sprites[i], sprites.data(), i);
        if (!error->empty()) {
            return false;
        }
    }
    return true;
}

bool BuildSpriteBank(const std::vector<SpriteSource>& sprites, unsigned int pageSize,
                     SpriteBankContent* bank, std::string* error) {
    if (!CheckSpriteRequest(sprites, pageSize, error)) {
        return false;
    }
    *bank = SpriteBankContent{};
    BankBuilder builder(pageSize, bank);
    for (const SpriteSource& sprite : sprites) {
        if (!builder.AddSprite(sprite, error)) {
            return false;
        }
    }
    builder.Finish();
    return true;
}

} // namespace datatool
