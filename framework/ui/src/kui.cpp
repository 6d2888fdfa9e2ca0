// Screens, layers and the UI manager: pushing and popping screens with their activation,
// the registry of screens by name, and a screen's clean-up when it is destroyed.
#include <ui/kui.h>

#include <kelvo/platform/klog.h>

#include <cctype>

namespace Kelvo_lib {

namespace {

constexpr const char* kManagerLog = "kUIManager";
constexpr const char* kLayerLog = "kUILayer";

const char* OrEmpty(const char* text) {
    return text != nullptr ? text : "";
}

bool SameNameIgnoringCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b))) {
            return false;
        }
        if (*a == '\0') {
            return true;
        }
    }
}

} // namespace

kUI::~kUI() {
    // Each entry stands for one place on a layer's stack; the list shrinks as they go.
    const kArray<kUILayer*> layers(m_layerList);
    for (int i = 0; i < layers.Size(); ++i) {
        kUILayer* const layer = layers(i);
        kLogFmt("UI %s being deleted and not removed from layer %s, removing now\n", GetId(),
                layer->GetId());
        layer->Remove(this, this);
    }
    if (m_uiManager != nullptr) {
        kLogFmt("UI %s being deleted and not removed from UI manager, removing now\n", GetId());
        m_uiManager->RemoveDyingUI(this);
    }
}

void kUI::ForgetLayer(kUILayer* layer) {
    for (int i = 0; i < m_layerList.Size(); ++i) {
        if (m_layerList(i) == layer) {
            m_layerList.Remove(i);
            return;
        }
    }
}

kUILayer::kUILayer(const char* id, kUIManager* manager) : m_id(id), m_uiManager(manager) {}

kUI* kUILayer::PushUI(kUI* ui) {
    if (ui == nullptr) {
        kLogSys(kLayerLog, "PushUI: no screen given\n");
        return nullptr;
    }
    if (kUI* const top = GetTopUI()) {
        kLogSys(kLayerLog, "PushUI: Deactivating %s\n", top->GetId());
        top->Deactivate(this);
    }
    m_uiStack.Push(ui);
    ui->m_layerList.Push(this);
    kLogSys(kLayerLog, "PushUI: Activating %s\n", ui->GetId());
    ui->Activate(this);
    return ui;
}

void kUILayer::RemoveUI(kUI* ui) {
    if (ui == nullptr) {
        kLogSys(kLayerLog, "RemoveUI: no screen given\n");
        return;
    }
    Remove(ui, nullptr);
}

kUI* kUILayer::GetTopUI() const {
    return m_uiStack.Size() > 0 ? m_uiStack.Last() : nullptr;
}

kUI* kUILayer::GetUI(int i) const {
    if (i < 0 || i >= m_uiStack.Size()) {
        kLogSys(kLayerLog, "GetUI: no screen %d on a stack of %d\n", i, m_uiStack.Size());
        return nullptr;
    }
    return m_uiStack(i);
}

int kUILayer::IndexOf(const kUI* ui) const {
    for (int i = 0; i < m_uiStack.Size(); ++i) {
        if (m_uiStack(i) == ui) {
            return i;
        }
    }
    return -1;
}

void kUILayer::Remove(kUI* ui, const kUI* dying) {
    if (ui == GetTopUI()) {
        kLogSys(kLayerLog, "RemoveUI: %s is on top, popping\n", ui->GetId());
        PopTop(dying);
        return;
    }
    const int index = IndexOf(ui);
    if (index < 0) {
        kLogSys(kLayerLog, "RemoveUI: %s not in stack\n", ui->GetId());
        return;
    }
    ui->ForgetLayer(this);
    m_uiStack.Remove(index);
}

void kUILayer::PopTop(const kUI* dying) {
    kUI* const top = GetTopUI();
    if (top != dying) {
        kLogSys(kLayerLog, "PopUI: Deactivating %s\n", top->GetId());
        top->Deactivate(this);
    }
    top->ForgetLayer(this);
    m_uiStack.Remove(m_uiStack.Size() - 1);
    kUI* const below = GetTopUI();
    if (below != nullptr && below != dying) {
        kLogSys(kLayerLog, "PopUI: Activating %s\n", below->GetId());
        below->Activate(this);
    }
}

void kUILayer::Clear() {
    for (int i = 0; i < m_uiStack.Size(); ++i) {
        m_uiStack(i)->ForgetLayer(this);
    }
    m_uiStack.Empty();
}

kUIManager::~kUIManager() {
    for (int i = 0; i < m_layerList.Size(); ++i) {
        m_layerList(i)->Clear();
        delete m_layerList(i);
    }
    for (int i = 0; i < m_uiList.Size(); ++i) {
        m_uiList(i)->m_uiManager = nullptr;
    }
}

kUILayer* kUIManager::PushLayer(const char* id) {
    kLogSys(kManagerLog, "Pushing Layer %s\n", OrEmpty(id));
    kUILayer* const layer = new kUILayer(id, this);
    m_layerList.Push(layer);
    return layer;
}

void kUIManager::PopLayer() {
    if (m_layerList.Size() == 0) {
        kLogSys(kManagerLog, "PopLayer: no layer to pop\n");
        return;
    }
    kUILayer* const layer = m_layerList.Last();
    m_layerList.Remove(m_layerList.Size() - 1);
    kLogSys(kManagerLog, "Removing layer %s\n", layer->GetId());
    while (layer->GetTopUI() != nullptr) {
        layer->PopTop(nullptr);
    }
    delete layer;
}

kUILayer* kUIManager::GetLayer(int i) const {
    if (i < 0 || i >= m_layerList.Size()) {
        kLogSys(kManagerLog, "GetLayer: no layer %d of %d\n", i, m_layerList.Size());
        return nullptr;
    }
    return m_layerList(i);
}

void kUIManager::AddUI(const char* id, kUI* ui) {
    if (ui == nullptr) {
        kLogSys(kManagerLog, "AddUI: no screen given for %s\n", OrEmpty(id));
        return;
    }
    if (ui->m_uiManager != nullptr) {
        kLogSys(kManagerLog, "AddUI: %s is registered already as %s\n", OrEmpty(id), ui->GetId());
        return;
    }
    kLogSys(kManagerLog, "Adding UI %s\n", OrEmpty(id));
    ui->m_uiManager = this;
    ui->m_id = OrEmpty(id);
    m_uiList.Push(ui);
    kLogSys(kManagerLog, "Init UI %s\n", ui->GetId());
    ui->Init();
}

kUI* kUIManager::FindUI(const char* id) const {
    const int index = IndexOf(id);
    return index >= 0 ? m_uiList(index) : nullptr;
}

void kUIManager::RemoveUI(const char* id) {
    RemoveEntry(OrEmpty(id), IndexOf(id));
}

int kUIManager::IndexOf(const char* id) const {
    if (id == nullptr) {
        return -1;
    }
    for (int i = 0; i < m_uiList.Size(); ++i) {
        if (SameNameIgnoringCase(m_uiList(i)->GetId(), id)) {
            return i;
        }
    }
    return -1;
}

int kUIManager::IndexOf(const kUI* ui) const {
    for (int i = 0; i < m_uiList.Size(); ++i) {
        if (m_uiList(i) == ui) {
            return i;
        }
    }
    return -1;
}

void kUIManager::RemoveEntry(const char* id, int index) {
    kLogFmt("Removing ui '%s' : %d\n", id, m_uiList.Size());
    if (index < 0) {
        kLogSys(kManagerLog, "ERROR: Couldn't find UI %s\n", id);
        return;
    }
    kLogSys(kManagerLog, "Remove UI %s\n", id);
    m_uiList(index)->m_uiManager = nullptr;
    m_uiList.Remove(index);
}

void kUIManager::RemoveDyingUI(kUI* ui) {
    // By the screen, not its name: another screen may be registered under the same name.
    RemoveEntry(ui->GetId(), IndexOf(ui));
}

} // namespace Kelvo_lib
