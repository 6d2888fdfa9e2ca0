// Screens and their stacks. kUI is a screen of the game; kUIManager registers screens by
// name (it does not own them) and owns a stack of layers (kUILayer), each a stack of
// screens whose top is the active one. A screen destroyed while still on layers or
// registered takes itself off and out; the screen below it on a layer is activated.
// The manager has no tick or render of its own: the game world walks the layers.
// Main thread only; bad names, screens and indices are logged and change nothing.
#pragma once

#include <kelvo/containers/karray.h>
#include <kelvo/containers/kstring.h>

namespace Kelvo_lib {

class kUILayer;
class kUIManager;
class kUIWidget;

class kUI {
public:
    kUI() = default;
    kUI(const kUI&) = delete;
    kUI& operator=(const kUI&) = delete;
    // Takes the screen off every layer and out of its manager, without calling any of
    // its own operations.
    virtual ~kUI();

    // Called when the screen is registered.
    virtual void Init() = 0;
    // Never called by the manager: the screen's owner calls it.
    virtual void Deinit() = 0;
    // The screen became, or stopped being, the top of layer.
    virtual void Activate(kUILayer* layer) = 0;
    virtual void Deactivate(kUILayer* layer) = 0;
    // The root of the screen's main widget tree.
    virtual kUIWidget* GetScreen() = 0;
    // The root of a second widget tree, or null.
    virtual kUIWidget* GetSubScreen() { return nullptr; }
    virtual void Tick(float delta) = 0;

    kUIManager* GetUIManager() const { return m_uiManager; }
    // The name registered under; empty until registered.
    const char* GetId() const { return m_id; }

private:
    friend class kUILayer;
    friend class kUIManager;

    // Drops one entry of layer from m_layerList.
    void ForgetLayer(kUILayer* layer);

    kString m_id;
    kUIManager* m_uiManager = nullptr;
    kArray<kUILayer*> m_layerList; // one entry per push on a layer
};

class kUILayer {
public:
    kUILayer(const kUILayer&) = delete;
    kUILayer& operator=(const kUILayer&) = delete;

    // Deactivates the top screen, then pushes ui and activates it. A screen may be on
    // the stack more than once. Returns ui.
    kUI* PushUI(kUI* ui);
    // The top screen is popped (deactivated, and the one below activated); a screen
    // lower down is taken out silently.
    void RemoveUI(kUI* ui);
    kUI* GetTopUI() const;
    int GetNumUIs() const { return m_uiStack.Size(); }
    // Counted from the bottom; null outside the stack.
    kUI* GetUI(int i) const;
    const char* GetId() const { return m_id; }

private:
    friend class kUI;
    friend class kUIManager;

    kUILayer(const char* id, kUIManager* manager);
    ~kUILayer() = default;

    int IndexOf(const kUI* ui) const;
    // Takes one entry of ui off the stack; no operation of dying (a screen being
    // destroyed, or null) is called.
    void Remove(kUI* ui, const kUI* dying);
    void PopTop(const kUI* dying);
    // Takes every screen off without activating or deactivating any.
    void Clear();

    kString m_id;
    kUIManager* m_uiManager;
    kArray<kUI*> m_uiStack; // index 0 is the bottom
};

class kUIManager {
public:
    kUIManager() = default;
    kUIManager(const kUIManager&) = delete;
    kUIManager& operator=(const kUIManager&) = delete;
    // Destroys the layers and forgets the screens, calling none of their operations.
    ~kUIManager();

    // A new top layer with an empty stack; names need not be unique.
    kUILayer* PushLayer(const char* id);
    // Pops every screen of the top layer, top first, then destroys the layer.
    void PopLayer();
    int GetNumLayers() const { return m_layerList.Size(); }
    // Counted from the bottom; null outside the stack.
    kUILayer* GetLayer(int i) const;

    // Registers ui under id (after any screen of that name) and calls its Init; a screen
    // registered already is refused.
    void AddUI(const char* id, kUI* ui);
    // The first screen registered under id, ignoring letter case; null when none.
    kUI* FindUI(const char* id) const;
    // Unregisters the first screen registered under id, ignoring letter case; the screen
    // itself is left as it is.
    void RemoveUI(const char* id);

private:
    friend class kUI;

    int IndexOf(const char* id) const;
    int IndexOf(const kUI* ui) const;
    // Takes the registry's entry at index (-1: none, logged) out and clears its screen's
    // manager; id names it in the log.
    void RemoveEntry(const char* id, int index);
    // Unregisters a screen that is being destroyed: its own entry, whatever its name.
    void RemoveDyingUI(kUI* ui);

    kArray<kUILayer*> m_layerList; // index 0 is the bottom; owned
    kArray<kUI*> m_uiList;         // in order of registration
};

} // namespace Kelvo_lib
