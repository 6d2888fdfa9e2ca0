// Menu cursor actions and the depth-first node search.
#include <framework/kmenu.h>

namespace Kelvo_lib {

namespace {

bool IsHiddenChild(const kMenuNode* node, int index) {
    return index >= 0 && index < node->m_childList.Size() && node->m_childList(index)->m_bHide;
}

bool HasStates(const kMenuNode* node) {
    return node->m_numStates > 0;
}

} // namespace

void kMenu::DoAction(kMenuAction action) {
    if (m_currentNode == nullptr) {
        return;
    }
    switch (action) {
    case KMENU_SELECT:
        Select();
        break;
    case KMENU_BACK:
        Back();
        break;
    case KMENU_PREV_CHILD:
        StepToVisibleChild(-1);
        break;
    case KMENU_NEXT_CHILD:
        StepToVisibleChild(1);
        break;
    case KMENU_PREV_STATE:
        StepState(-1);
        break;
    case KMENU_NEXT_STATE:
        StepState(1);
        break;
    }
}

kMenuNode* kMenu::FindNodeById(kMenuNode* curNode, int nodeId) {
    if (curNode == nullptr || curNode->m_menuIdx == nodeId) {
        return curNode;
    }
    for (int i = 0; i < curNode->m_childList.Size(); ++i) {
        if (kMenuNode* found = FindNodeById(curNode->m_childList(i), nodeId)) {
            return found;
        }
    }
    return nullptr;
}

void kMenu::Select() {
    kMenuNode* child = HighlightedChild();
    if (child == nullptr) {
        return;
    }
    if (child->m_childList.Size() != 0 || !HasStates(child)) {
        Enter(child);
        return;
    }
    child->m_currentState = (child->m_currentState + 1) % child->m_numStates;
}

void kMenu::Back() {
    if (m_currentNode->m_parent != nullptr) {
        Enter(m_currentNode->m_parent);
    }
}

// Skipping hidden children stops after one full turn, so a node whose children are all
// hidden keeps its highlight even when the skip may wrap around the ends.
void kMenu::StepToVisibleChild(int direction) {
    kMenuNode* node = m_currentNode;
    const int count = node->m_childList.Size();
    if (count == 0) {
        return;
    }
    const int last = count - 1;
    const int old = node->m_currentChild;
    int index = old;
    if (direction > 0 ? old < last : old > 0) {
        index += direction;
    }
    for (int skipped = 0; IsHiddenChild(node, index); ++skipped) {
        index += direction;
        const bool pastEnd = index < 0 || index > last;
        if (skipped == count || (pastEnd && !m_bLoopChildren)) {
            index = old;
            break;
        }
        if (pastEnd) {
            index = direction > 0 ? 0 : last;
        }
    }
    if (index < 0) {
        index = m_bLoopChildren && direction < 0 ? last : 0;
    } else if (index > last) {
        index = m_bLoopChildren && direction > 0 ? 0 : last;
    }
    node->m_currentChild = index;
}

void kMenu::StepState(int direction) {
    kMenuNode* child = HighlightedChild();
    if (child == nullptr || child->m_childList.Size() != 0 || !HasStates(child)) {
        return;
    }
    const bool canMove =
        direction < 0 ? child->m_currentState > 0 : child->m_currentState < child->m_numStates - 1;
    if (canMove) {
        child->m_currentState += direction;
    }
}

kMenuNode* kMenu::HighlightedChild() const {
    const int index = m_currentNode->m_currentChild;
    if (index < 0 || index >= m_currentNode->m_childList.Size()) {
        return nullptr;
    }
    return m_currentNode->m_childList(index);
}

void kMenu::Enter(kMenuNode* node) {
    m_lastNode = m_currentNode;
    m_currentNode = node;
}

} // namespace Kelvo_lib
