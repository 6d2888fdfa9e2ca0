#include <tui/mnmenuscreen.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

MNMenuScreen::~MNMenuScreen() {
    FreeMenu();
}

void MNMenuScreen::Init() {
    FreeMenu();
    m_menuWidget = new MNMenuWidget;
    m_nodes = new MenuNodeData;
}

void MNMenuScreen::Deinit() {
    FreeMenu();
}

void MNMenuScreen::FreeMenu() {
    delete m_menuWidget;
    m_menuWidget = nullptr;
    delete m_nodes;
    m_nodes = nullptr;
}

int MNMenuScreen::GetCurrentNodeId() const {
    const kMenuNode* const node =
        m_menuWidget != nullptr ? m_menuWidget->GetMenu()->GetCurrentNode() : nullptr;
    return node != nullptr ? node->m_menuIdx : -1;
}

void MNMenuScreen::ShowNode(int id) {
    if (m_menuWidget != nullptr) {
        m_menuWidget->GetMenu()->SetNode(FindNode(id));
    }
}

kMenuNode* MNMenuScreen::FindNode(int id) const {
    return m_nodes != nullptr ? m_nodes->GetNode(id) : nullptr;
}

kUI* MNMenuScreen::PushScreen(const char* name) {
    kUI* const screen = GetUIManager() != nullptr ? GetUIManager()->FindUI(name) : nullptr;
    if (screen == nullptr || m_layer == nullptr) {
        kLogFmt("ERROR: %s cannot open %s\n", GetId(), name);
        return nullptr;
    }
    return m_layer->PushUI(screen);
}

void MNMenuScreen::Close() {
    if (m_layer != nullptr) {
        m_layer->RemoveUI(this);
    }
}

} // namespace Kelvo_lib
