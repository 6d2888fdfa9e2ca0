// MNMenuScreen: the base of the screens that show a copy of the menu node table in a menu
// widget (main menu, language, help, pause, hint). Init makes the widget and the table,
// Deinit frees both (and so every connection to the widget); screens it opens go on the layer it
// was last activated on. Main thread only; a missing screen or node is logged and changes
// nothing.
#pragma once

#include <tui/menunodedata.h>
#include <tui/mnmenuwidget.h>

#include <ui/kui.h>

namespace Kelvo_lib {

class MNMenuScreen : public kUI, public kHasSlots<> {
public:
    MNMenuScreen() = default;
    ~MNMenuScreen() override;

    void Init() override;
    void Deinit() override;
    void Deactivate(kUILayer*) override {}
    kUIWidget* GetScreen() override { return m_menuWidget; }
    void Tick(float) override {}

    MNMenuWidget* GetMenuWidget() const { return m_menuWidget; }
    MenuNodeData* GetNodes() const { return m_nodes; }
    kUILayer* GetLayer() const { return m_layer; }
    // The id of the menu's current node, -1 for none.
    int GetCurrentNodeId() const;

protected:
    // Makes node id of the table the menu's current node (none when it is not in it).
    void ShowNode(int id);
    // Pushes the screen registered as name on the layer; returns it, null when missing.
    kUI* PushScreen(const char* name);
    // Takes this screen off its layer.
    void Close();
    kMenuNode* FindNode(int id) const;

    MNMenuWidget* m_menuWidget = nullptr;
    MenuNodeData* m_nodes = nullptr;
    kUILayer* m_layer = nullptr;

private:
    void FreeMenu();
};

} // namespace Kelvo_lib
