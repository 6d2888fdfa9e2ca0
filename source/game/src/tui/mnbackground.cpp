// The animated background: a slowly changing colour, rising tiles in depth, faint icons.
#include <tui/mnbackground.h>

#include <services/mnresourcemanager.h>

#include <framework/ksprite.h>
#include <framework/kspritemanager.h>

#include <kelvo/platform/klog.h>
#include <kelvo/render/krcamera.h>

#include <cmath>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {MNBackgroundWidget::StaticClass()};

constexpr u32 kSeed = 0x5EED0B61u;
constexpr float kNearZ = 18.0f;
constexpr float kFarZ = 40.0f;
constexpr float kVisibleY = 0.85f; // tiles leave above this fraction of their depth
constexpr float kPi = 3.14159265f;
constexpr float kTileLight = 0.10f;    // tiles are the gradient's foot, this much lighter
constexpr float kIconLight = 0.18f;    // and the white icons are tinted to this
constexpr float kColourPeriod = 20.0f; // seconds of one swing of the backdrop's colour

struct Look {
    unsigned int top; // 0xAARRGGBB
    unsigned int bottom;
    const char* icons[2]; // the "bg" sprites it floats
};

// Dark, low-contrast looks so that white text and paper panels stay easy to read. The menus
// and the four puzzles share night blue to slate, so that they read as one game; each puzzle
// floats its own shapes.
constexpr Look kLooks[BACKGROUND_COUNT] = {
    {0xFF1B2A4A, 0xFF2E4272, {"bg_grid", "bg_letter"}},  // menus
    {0xFF1B2A4A, 0xFF2E4272, {"bg_digit", "bg_grid"}},   // sudoku
    {0xFF1B2A4A, 0xFF2E4272, {"bg_letter", "bg_grid"}},  // fitword
    {0xFF1B2A4A, 0xFF2E4272, {"bg_grid", "bg_letter"}},  // crossword
    {0xFF1B2A4A, 0xFF2E4272, {"bg_ring", "bg_letter"}},  // wordsearch
    {0xFF431E26, 0xFF5E2C36, {"bg_letter", "bg_digit"}}, // player looks: brick,
    {0xFF16344F, 0xFF214C72, {"bg_digit", "bg_letter"}}, // sky,
    {0xFF163A29, 0xFF21553C, {"bg_grid", "bg_digit"}},   // leaf
    {0xFF403312, 0xFF5C4A1C, {"bg_ring", "bg_grid"}},    // and sun
};

unsigned int Channel(unsigned int colour, int shift) {
    return (colour >> shift) & 0xFF;
}

// a towards b by t, per channel, opaque.
unsigned int Mix(unsigned int a, unsigned int b, float t) {
    unsigned int result = 0xFF000000;
    for (const int shift : {16, 8, 0}) {
        const float value = static_cast<float>(Channel(a, shift)) * (1.0f - t) +
                            static_cast<float>(Channel(b, shift)) * t;
        result |= (static_cast<unsigned int>(value + 0.5f) & 0xFF) << shift;
    }
    return result;
}

// 0xAARRGGBB to the vertex colour's 0xRRGGBBAA.
u32 VertexColour(unsigned int argb) {
    return (argb << 8) | (argb >> 24);
}

float Width() {
    return static_cast<float>(kSpriteManager::GetDisplayWidth());
}

float Height() {
    return static_cast<float>(kSpriteManager::GetDisplayHeight());
}

float Wrap(float value, float low, float high) {
    const float span = high - low;
    while (value < low) {
        value += span;
    }
    while (value >= high) {
        value -= span;
    }
    return value;
}

} // namespace

// --- MNBackgroundIcon ---

MNBackgroundIcon::~MNBackgroundIcon() {
    delete m_sprite;
}

void MNBackgroundIcon::Start(kSprite* sprite, kmRandomMersenneTwister& random) {
    delete m_sprite;
    m_sprite = sprite;
    if (m_sprite != nullptr) {
        m_sprite->SetNormalCoordinates(false);
        m_sprite->SetTransparent(true);
        m_sprite->m_hotspotX = 0.5f;
        m_sprite->m_hotspotY = 0.5f;
        m_sprite->m_rotationCenterX = 0.5f;
        m_sprite->m_rotationCenterY = 0.5f;
    }
    m_x = random.randInt(static_cast<int>(Width()));
    m_y = random.randInt(static_cast<int>(Height()));
    m_vx = static_cast<float>(random.randInt(17) - 8);
    m_vy = -4.0f - static_cast<float>(random.randInt(8));
    m_angle = static_cast<float>(random.randInt(360));
    m_spin = static_cast<float>(random.randInt(13) - 6);
}

void MNBackgroundIcon::Tick(float delta) {
    // A margin beyond each edge lets an icon leave the picture whole before it comes back.
    const float margin = 48.0f;
    m_x = Wrap(m_x + m_vx * delta, -margin, Width() + margin);
    m_y = Wrap(m_y + m_vy * delta, -margin, Height() + margin);
    m_angle = Wrap(m_angle + m_spin * delta, 0.0f, 360.0f);
}

void MNBackgroundIcon::Render(unsigned int colour) {
    if (m_sprite == nullptr) {
        return;
    }
    m_sprite->SetPosition(m_x, m_y);
    m_sprite->SetRotation(m_angle);
    m_sprite->SetColour(colour);
    m_sprite->Render();
}

// --- MNBackgroundWidget ---

MNBackgroundWidget::MNBackgroundWidget() : m_ownRandom(kSeed) {
    for (u16 i = 0; i < kNumTiles; ++i) {
        const u16 first = static_cast<u16>(i * 4);
        const u16 quad[6] = {first, static_cast<u16>(first + 1), static_cast<u16>(first + 2),
                             first, static_cast<u16>(first + 2), static_cast<u16>(first + 3)};
        for (int k = 0; k < 6; ++k) {
            m_indices[i * 6 + k] = quad[k];
        }
    }
    for (Tile& tile : m_tiles) {
        StartTile(tile, true);
    }
    StartIcons();
}

MNBackgroundWidget::~MNBackgroundWidget() = default;

kmRandomMersenneTwister& MNBackgroundWidget::Random() {
    return m_random != nullptr ? *m_random : m_ownRandom;
}

void MNBackgroundWidget::SetRandomGenerator(kmRandomMersenneTwister* random) {
    m_random = random;
}

float MNBackgroundWidget::RandomRange(float low, float high) {
    return low + (high - low) * static_cast<float>(Random().rand()) / 32767.0f;
}

// A tile anywhere in view, or just below the view to rise into it.
void MNBackgroundWidget::StartTile(Tile& tile, bool bAnywhere) {
    tile.z = RandomRange(kNearZ, kFarZ);
    tile.size = RandomRange(1.5f, 3.5f);
    tile.x = RandomRange(-tile.z, tile.z);
    const float edge = kVisibleY * tile.z + tile.size;
    tile.y = bAnywhere ? RandomRange(-edge, edge) : -edge;
    tile.angle = RandomRange(0.0f, 2.0f * kPi);
    tile.spin = RandomRange(-0.25f, 0.25f);
    tile.tilt = RandomRange(-0.6f, 0.6f);
    tile.speed = RandomRange(0.6f, 1.6f);
}

void MNBackgroundWidget::StartIcons() {
    const Look& look = kLooks[m_look];
    for (int i = 0; i < kNumIcons; ++i) {
        m_icons[i].Start(MNResourceManager::GetSprite("bg", look.icons[i % 2]), Random());
    }
}

void MNBackgroundWidget::SetMode(eBackgroundLook look) {
    if (look < 0 || look >= BACKGROUND_COUNT) {
        kLogFmt("MNBackgroundWidget::SetMode: no look %d, using 0\n", static_cast<int>(look));
        look = BACKGROUND_MENUS;
    }
    if (look != m_look) {
        m_look = look;
        StartIcons();
    }
}

void MNBackgroundWidget::Tick(float delta) {
    m_fTime = Wrap(m_fTime + delta, 0.0f, kColourPeriod);
    for (Tile& tile : m_tiles) {
        tile.y += tile.speed * delta;
        tile.angle = Wrap(tile.angle + tile.spin * delta, 0.0f, 2.0f * kPi);
        if (tile.y > kVisibleY * tile.z + tile.size) {
            StartTile(tile, false);
        }
    }
    for (MNBackgroundIcon& icon : m_icons) {
        icon.Tick(delta);
    }
}

void MNBackgroundWidget::Render() {
    RenderBackdrop();
    RenderTiles();
    const unsigned int iconColour = Mix(kLooks[m_look].bottom, 0xFFFFFFFF, kIconLight);
    for (MNBackgroundIcon& icon : m_icons) {
        icon.Render(iconColour);
    }
}

// The backdrop is the frame's clear colour, so that it costs no drawing: this frame's is
// the one set a frame earlier. It swings slowly between the look's two colours.
void MNBackgroundWidget::RenderBackdrop() const {
    const Look& look = kLooks[m_look];
    const float swing = 0.5f - 0.5f * std::cos(2.0f * kPi * m_fTime / kColourPeriod);
    kRender::BufferClear(Mix(look.top, look.bottom, swing));
}

void MNBackgroundWidget::RenderTiles() {
    const Look& look = kLooks[m_look];
    const unsigned int face = Mix(look.bottom, 0xFFFFFFFF, kTileLight);
    const unsigned int edge = Mix(look.bottom, 0xFFFFFFFF, kTileLight * 0.5f);
    for (int i = 0; i < kNumTiles; ++i) {
        const Tile& tile = m_tiles[i];
        const float half = tile.size * 0.5f;
        const float c = std::cos(tile.angle);
        const float s = std::sin(tile.angle);
        const float corners[4][2] = {{-half, -half}, {-half, half}, {half, half}, {half, -half}};
        for (int k = 0; k < 4; ++k) {
            const float x = corners[k][0] * c - corners[k][1] * s;
            const float y = corners[k][0] * s + corners[k][1] * c;
            // The tilt about the vertical axis gives the tile depth.
            m_vertices[i * 4 + k] = krVertexStruct(tile.x + x * std::cos(tile.tilt), tile.y + y,
                                                   tile.z + x * std::sin(tile.tilt), 0, 0, -1,
                                                   VertexColour(k == 1 ? face : edge), 0, 0);
        }
    }
    krCamera camera;
    camera.Select();
    kRender::TransformSet(KR_TRANSFORM_WORLD, krMatrixIdentity());
    kRender::SetDefaultShader();
    kRender::SetVertexDesc(krVertexStruct::GetDesc());
    kRender::SetVertexStream(0, m_vertices, sizeof(krVertexStruct), sizeof(m_vertices), nullptr);
    kRender::SetIndexStream(m_indices, sizeof(u16), sizeof(m_indices), nullptr);
    kRender::SetTextureResource(0, RcPtr<krTextureResourceWII>());
    kRender::PostGeometryAdv(KR_PRIM_TRILIST, 0, kNumTiles * 6, nullptr, nullptr, 0);
}

// --- MNBackgroundUI ---

MNBackgroundUI::MNBackgroundUI() : m_background(new MNBackgroundWidget) {}

MNBackgroundUI::~MNBackgroundUI() {
    delete m_background;
}

void MNBackgroundUI::Tick(float delta) {
    m_background->Tick(delta);
}

} // namespace Kelvo_lib
