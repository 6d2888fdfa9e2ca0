// kMenuNode, an entry of a menu tree (text id, help id, optional states, children), and
// kMenu, the cursor that walks such a tree through the six kMenuAction steps. Nodes are
// owned by whoever built the tree; neither class frees a node. Main thread only. Actions
// that do not apply (no current node, no highlighted child, every child hidden) do nothing.
#pragma once

#include <kelvo/containers/karray.h>

namespace Kelvo_lib {

class kMenuNode {
public:
    // A non-null child becomes the node's only child.
    kMenuNode(int scriptId, int helpId, int numStates, int menuIdx, kMenuNode* child)
        : m_scriptId(scriptId), m_helpId(helpId), m_numStates(numStates), m_menuIdx(menuIdx) {
        if (child != nullptr) {
            AddChild(child);
        }
    }

    void AddChild(kMenuNode* child) {
        m_childList.Push(child);
        child->m_parent = this;
    }

    int m_scriptId;
    int m_helpId;
    int m_numStates; // 0 for an entry without states
    int m_currentState = 0;
    int m_currentChild = 0;
    int m_menuIdx;
    kArray<kMenuNode*> m_childList;
    kMenuNode* m_parent = nullptr;
    bool m_bHide = false;
    bool m_bVolumeBars = false; // for the drawing side only
};

enum kMenuAction : int {
    KMENU_SELECT = 0,
    KMENU_BACK = 1,
    KMENU_PREV_CHILD = 2,
    KMENU_NEXT_CHILD = 3,
    KMENU_PREV_STATE = 4,
    KMENU_NEXT_STATE = 5,
};

class kMenu {
public:
    kMenu() = default;

    void SetNode(kMenuNode* node) { m_currentNode = node; }
    kMenuNode* GetCurrentNode() const { return m_currentNode; }

    void DoAction(kMenuAction action);

    // The first node with that id in the subtree of curNode, a node before its children;
    // null when none.
    static kMenuNode* FindNodeById(kMenuNode* curNode, int nodeId);
    // Searches the current node's subtree only.
    kMenuNode* GetNodeById(int nodeId) const { return FindNodeById(m_currentNode, nodeId); }

    kMenuNode* m_currentNode = nullptr;
    kMenuNode* m_lastNode = nullptr; // current before the last move into a child or back
    int m_branchIdx = 0;             // kept for the menu's user
    bool m_bLoopChildren = false;    // skipping hidden children may wrap around the ends

private:
    void Select();
    void Back();
    // Moves the highlight by direction (-1 or 1) to the nearest visible child.
    void StepToVisibleChild(int direction);
    void StepState(int direction);
    kMenuNode* HighlightedChild() const;
    void Enter(kMenuNode* node);
};

} // namespace Kelvo_lib
