// The animated background behind menus and puzzles: MNBackgroundWidget gives the frame a
// slowly changing clear colour (it shows from the next frame on), puzzle tiles drifting
// upwards in depth (render-layer geometry seen through the camera) and faint puzzle icons
// (MNBackgroundIcon, sprites of bank "bg"); SetMode picks
// one of nine calm looks (eBackgroundLook): the menus', one per puzzle kind and four for the
// head-to-head players. Motion comes from a random generator the owner may lend (a
// fixed-seed one of its own otherwise). MNBackgroundUI is the screen that holds one.
// Main thread only; an unknown look is logged and gives the menus' look.
#pragma once

#include <ui/kui.h>
#include <ui/kuiwidget.h>

#include <kelvo/math/kmrandom.h>
#include <kelvo/render/krender.h>

namespace Kelvo_lib {

class kSprite;

// The background's looks; a number is the look's place in the widget's table.
enum eBackgroundLook : int {
    BACKGROUND_MENUS = 0,
    BACKGROUND_SUDOKU = 1,
    BACKGROUND_FITWORD = 2,
    BACKGROUND_CROSSWORD = 3,
    BACKGROUND_WORDSEARCH = 4,
    BACKGROUND_BRICK = 5, // the head-to-head players' looks
    BACKGROUND_SKY = 6,
    BACKGROUND_LEAF = 7,
    BACKGROUND_SUN = 8,
    BACKGROUND_COUNT = 9,
};

// One faint icon drifting across the display, wrapping at its edges. Owns its sprite.
class MNBackgroundIcon {
public:
    MNBackgroundIcon() = default;
    MNBackgroundIcon(const MNBackgroundIcon&) = delete;
    MNBackgroundIcon& operator=(const MNBackgroundIcon&) = delete;
    ~MNBackgroundIcon();

    // Takes sprite (may be null) and starts at a random place, speed and turn.
    void Start(kSprite* sprite, kmRandomMersenneTwister& random);
    void Tick(float delta);
    // Tinted by colour: the sprite's own alpha alone decides what shows.
    void Render(unsigned int colour);
    float GetX() const { return m_x; }
    float GetY() const { return m_y; }

private:
    kSprite* m_sprite = nullptr;
    float m_x = 0.0f; // centre, pixels
    float m_y = 0.0f;
    float m_vx = 0.0f; // pixels a second
    float m_vy = 0.0f;
    float m_angle = 0.0f; // degrees
    float m_spin = 0.0f;  // degrees a second
};

class MNBackgroundWidget
    : public kPlainNameRTTI<MNBackgroundWidget, kUIWidget, kCLSID<0, 0, 0, 0>> {
public:
    static constexpr int kNumTiles = 18;
    static constexpr int kNumIcons = 8;

    MNBackgroundWidget();
    ~MNBackgroundWidget() override;

    void Tick(float delta) override;
    void Render() override;

    void SetMode(eBackgroundLook look);
    eBackgroundLook GetMode() const { return m_look; }
    // Motion from random (not owned) from now on; null goes back to the widget's own.
    void SetRandomGenerator(kmRandomMersenneTwister* random);

private:
    // A square puzzle tile in front of the camera, turning as it rises.
    struct Tile {
        float x, y, z; // centre, camera space
        float size;
        float angle; // radians about the view axis
        float spin;  // radians a second
        float tilt;  // radians about the vertical
        float speed; // units a second upwards
    };

    kmRandomMersenneTwister& Random();
    float RandomRange(float low, float high);
    void StartTile(Tile& tile, bool bAnywhere);
    void StartIcons();
    void RenderBackdrop() const;
    void RenderTiles();

    eBackgroundLook m_look = BACKGROUND_MENUS;
    float m_fTime = 0.0f; // seconds into the backdrop's colour swing
    kmRandomMersenneTwister m_ownRandom;
    kmRandomMersenneTwister* m_random = nullptr;
    Tile m_tiles[kNumTiles];
    MNBackgroundIcon m_icons[kNumIcons];
    krVertexStruct m_vertices[kNumTiles * 4];
    u16 m_indices[kNumTiles * 6];
};

class MNBackgroundUI : public kUI {
public:
    MNBackgroundUI();
    ~MNBackgroundUI() override;

    void Init() override {}
    void Deinit() override {}
    void Activate(kUILayer*) override {}
    void Deactivate(kUILayer*) override {}
    kUIWidget* GetScreen() override { return m_background; }
    void Tick(float delta) override;

    MNBackgroundWidget* GetBackground() const { return m_background; }

private:
    MNBackgroundWidget* m_background;
};

} // namespace Kelvo_lib
