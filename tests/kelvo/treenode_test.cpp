// kTreeNode: sibling lookup and destruction of subtrees, unlinking from the
// parent's child chain wherever the node sits in it.
#include <kelvo/containers/ktreenode.h>
#include <kelvo/platform/kmemory.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// A second polymorphic base, as widgets have, so the node links are not at offset 0.
struct Leaf {
    virtual ~Leaf() = default;
    int tick = 0;
};

// Records every destruction by name.
struct Node : Kelvo_lib::kTreeNode<Node>, Leaf {
    explicit Node(std::string n) : name(std::move(n)) {}
    ~Node() override { ++Deaths()[name]; }

    static std::map<std::string, int>& Deaths() {
        static std::map<std::string, int> deaths;
        return deaths;
    }

    std::string name;
};

// root: a, b, c; b: d, e; d: f.
struct Tree {
    Tree() {
        nodes["root"] = root;
        for (const char* name : {"a", "b", "c"}) {
            root->AddChild(nodes[name] = new Node(name));
        }
        for (const char* name : {"d", "e"}) {
            nodes["b"]->AddChild(nodes[name] = new Node(name));
        }
        nodes["d"]->AddChild(nodes["f"] = new Node("f"));
    }

    std::vector<std::string> Children(const Node* parent) const {
        std::vector<std::string> names;
        for (const Node* child = parent->m_firstChild; child != nullptr;
             child = child->m_nextSibling) {
            names.push_back(child->name);
        }
        return names;
    }

    Node* root = new Node("root");
    std::map<std::string, Node*> nodes;
};

TEST(TreeNodeTest, PrevSiblingWalksTheParentsChildChain) {
    Tree tree;
    EXPECT_EQ(tree.root->PrevSibling(), nullptr);
    EXPECT_EQ(tree.nodes["a"]->PrevSibling(), nullptr);
    EXPECT_EQ(tree.nodes["b"]->PrevSibling(), tree.nodes["a"]);
    EXPECT_EQ(tree.nodes["c"]->PrevSibling(), tree.nodes["b"]);
    EXPECT_EQ(tree.nodes["f"]->PrevSibling(), nullptr);
    delete tree.root;
}

TEST(TreeNodeTest, DestroyingANodeDeletesItsSubtreeOnceAndLeavesTheChainIntact) {
    const struct {
        const char* victim;
        const char* parent;
        std::vector<std::string> remaining;
        std::vector<std::string> deleted;
    } cases[] = {
        {"a", "root", {"b", "c"}, {"a"}},
        {"b", "root", {"a", "c"}, {"b", "d", "e", "f"}},
        {"c", "root", {"a", "b"}, {"c"}},
        {"e", "b", {"d"}, {"e"}},
        {"f", "d", {}, {"f"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.victim);
        Tree tree;
        Node::Deaths().clear();
        delete tree.nodes[c.victim];
        EXPECT_EQ(tree.Children(tree.nodes[c.parent]), c.remaining);
        std::map<std::string, int> expected;
        for (const std::string& name : c.deleted) {
            expected[name] = 1;
        }
        EXPECT_EQ(Node::Deaths(), expected);
        delete tree.root;
    }
}

TEST(TreeNodeTest, DestroyingTheRootFreesEveryNode) {
    Node::Deaths().clear();
    const s32 blocks = kPlatform_GetMemStats().numAllocs;
    {
        Tree tree;
        delete tree.root;
    }
    EXPECT_EQ(Node::Deaths().size(), 7u);
    Node::Deaths().clear();
    EXPECT_EQ(kPlatform_GetMemStats().numAllocs, blocks);
}

TEST(TreeNodeDeathTest, ChildWithAParentCannotBeAddedAgain) {
    Tree tree;
    EXPECT_DEATH(tree.root->AddChild(tree.nodes["d"]),
                 "kTreeNode::AddChild: Child already has a parent");
    delete tree.root;
}

} // namespace
