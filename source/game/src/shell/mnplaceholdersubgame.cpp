#include <shell/mnplaceholdersubgame.h>

#include <shell/mngameworld.h>
#include <shell/mnresourcemanager.h>

#include <framework/kfont.h>

#include <kelvo/input/kinputsystem.h>

#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

namespace Kelvo_lib {

namespace {

constexpr unsigned int kNightBlue = 0xFF1B2A4A;
constexpr unsigned int kSlate = 0xFF2E4272;
constexpr unsigned int kWhite = 0xFFFFFFFF;

constexpr const char* kTitles[SUBGAME_COUNT] = {
    "Main menu", "Tournament", "Quick Blast", "Simply Puzzle", "Fast and Fun", "Head to Head",
};

} // namespace

MNPlaceholderWidget::MNPlaceholderWidget(const char* title) : m_title(title) {
    m_font.m_flags = 1;
    m_font.m_font = MNResourceManager::GetFont("wii_font_30", "wii_font_30");
}

void MNPlaceholderWidget::Reset() {
    m_bArmed = false;
    m_bBDown = true; // a B held on arrival is not a new press
    m_bBackAsked = false;
}

void MNPlaceholderWidget::Tick(float) {
    m_pointer.Update();
    if (m_pointer.IsPressed()) {
        m_bArmed = true;
    }
    const bool bBDown = kInput != nullptr && kInput->GetInputState(KI_WII_PAD1_BUTTON_B, 0) != 0.0f;
    if ((m_pointer.IsReleased() && m_bArmed) || (bBDown && !m_bBDown)) {
        m_bBackAsked = true;
    }
    m_bBDown = bBDown;
}

void MNPlaceholderWidget::Render() {
    const krSurface* const surface = kRender::SurfaceGetCurrent();
    if (surface == nullptr) {
        return;
    }
    const float width = static_cast<float>(surface->GetDesc().xRes);
    const float height = static_cast<float>(surface->GetDesc().yRes);
    krDrawHelp::DrawRect(KR_DRAW_PIXELS, 0.0f, 0.0f, width, height, kNightBlue);
    krDrawHelp::DrawRect(KR_DRAW_PIXELS, width * 0.2f, height * 0.4f, width * 0.6f, height * 0.2f,
                         kSlate);
    const kSharedPtr<kFont> font = GetFont();
    if (font.Get() != nullptr) {
        int textWidth = 0;
        int textHeight = 0;
        font->GetStringBound(textWidth, textHeight, m_title);
        font->SetColour(kWhite, false);
        font->PrintCenterX(static_cast<int>((height - static_cast<float>(textHeight)) / 2.0f),
                           m_title);
    }
    m_art.DrawPointer(m_pointer.GetX(), m_pointer.GetY());
}

MNPlaceholderSubGame::MNPlaceholderSubGame(MNGameWorld* world, int index)
    : MNSubGame(world), m_index(index), m_screen(kTitles[index]) {
    char id[32];
    kPlatform_snprintf(id, sizeof(id), "placeholder_%d", index);
    m_screenId = id;
}

MNSubGame* MNPlaceholderSubGame::Create(MNGameWorld* world, int index) {
    if (index < 0 || index >= SUBGAME_COUNT) {
        kLogFmt("MNPlaceholderSubGame: no sub-game %d\n", index);
        return nullptr;
    }
    return new MNPlaceholderSubGame(world, index);
}

void MNPlaceholderSubGame::Init() {
    m_world->GetUIManager()->AddUI(m_screenId, &m_screen);
}

void MNPlaceholderSubGame::Deinit() {
    m_world->GetUIManager()->RemoveUI(m_screenId);
}

void MNPlaceholderSubGame::Tick(float) {
    if (m_index != SUBGAME_FRONTEND && m_screen.GetWidget().IsBackAsked()) {
        m_world->SetCurrentSubGame(SUBGAME_FRONTEND);
    }
}

void MNPlaceholderSubGame::Activate() {
    m_screen.GetWidget().Reset();
    m_layer = m_world->GetUIManager()->PushLayer(m_screenId);
    m_layer->PushUI(&m_screen);
}

void MNPlaceholderSubGame::Deactivate() {
    kUIManager* const manager = m_world->GetUIManager();
    if (m_layer != nullptr && manager->GetNumLayers() > 0 &&
        manager->GetLayer(manager->GetNumLayers() - 1) == m_layer) {
        manager->PopLayer();
    }
    m_layer = nullptr;
}

} // namespace Kelvo_lib
