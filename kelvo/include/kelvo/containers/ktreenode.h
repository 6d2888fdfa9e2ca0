// kTreeNode<T>: intrusive parent / next-sibling / first-child links embedded in T
// (widgets derive from kTreeNode<T>). A node owns its children: destroying it
// unlinks it from its parent and deletes its whole subtree through T's virtual
// destructor. Main thread only.
#pragma once

#include <kelvo/platform/kdebug.h>

namespace Kelvo_lib {

template <class T>
class kTreeNode {
public:
    kTreeNode() = default;
    kTreeNode(const kTreeNode&) = delete;
    kTreeNode& operator=(const kTreeNode&) = delete;

    ~kTreeNode() {
        Unlink();
        T* child = m_firstChild;
        m_parent = nullptr;
        m_nextSibling = nullptr;
        m_firstChild = nullptr;
        while (child != nullptr) {
            T* const next = Links(child)->m_nextSibling;
            Links(child)->m_parent = nullptr;
            Links(child)->m_nextSibling = nullptr;
            delete child;
            child = next;
        }
    }

    // Appends child, which must have no parent, as the last child; this node owns it.
    void AddChild(T* child) {
        kAssertMsg(Links(child)->m_parent == nullptr,
                   "kTreeNode::AddChild: Child already has a parent");
        Links(child)->m_parent = static_cast<T*>(this);
        T** link = &m_firstChild;
        while (*link != nullptr) {
            link = &Links(*link)->m_nextSibling;
        }
        *link = child;
    }

    // The sibling whose next sibling is this node; null for a first child or a root.
    T* PrevSibling() const {
        if (m_parent == nullptr) {
            return nullptr;
        }
        for (T* sibling = Links(m_parent)->m_firstChild; sibling != nullptr;
             sibling = Links(sibling)->m_nextSibling) {
            if (IsThis(Links(sibling)->m_nextSibling)) {
                return sibling;
            }
        }
        return nullptr;
    }

    T* m_parent = nullptr;
    T* m_nextSibling = nullptr;
    T* m_firstChild = nullptr;

private:
    static kTreeNode* Links(T* node) { return node; }
    static const kTreeNode* Links(const T* node) { return node; }

    bool IsThis(const T* node) const { return node != nullptr && Links(node) == this; }

    // Takes this node out of its parent's child chain.
    void Unlink() {
        if (m_parent == nullptr) {
            return;
        }
        T* const previous = PrevSibling();
        T*& link =
            previous != nullptr ? Links(previous)->m_nextSibling : Links(m_parent)->m_firstChild;
        link = m_nextSibling;
    }
};

} // namespace Kelvo_lib
