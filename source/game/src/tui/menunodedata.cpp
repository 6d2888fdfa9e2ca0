#include <tui/menunodedata.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

struct NodeSpec {
    int scriptId;
    int helpId;
    int numStates;
};

// Text id, help id and number of states of every entry, by id.
constexpr NodeSpec s_nodes[MENU_NODE_COUNT] = {
    {63, -1, 0},   {63, -1, 0},   {63, -1, 0},   {2, 64, 0},    {3, 64, 0},    {4, 64, 0},
    {5, 64, 0},    {6, 64, 0},    {7, 64, 0},    {8, 64, 0},    {9, 64, 0},    {5, 64, 0},
    {76, 77, 0},   {81, 85, 0},   {82, 85, 0},   {83, 85, 0},   {84, 85, 0},   {67, 68, 0},
    {69, -1, 0},   {70, -1, 0},   {121, -1, 0},  {44, 241, 0},  {46, 250, 0},  {48, 260, 0},
    {50, 263, 0},  {52, 269, 0},  {122, 123, 0}, {135, 136, 0}, {36, -1, 3},   {128, 129, 6},
    {126, 127, 6}, {130, 131, 0}, {13, 132, 0},  {14, 132, 0},  {137, -1, 2},  {337, -1, 0},
    {338, 339, 0}, {340, 341, 0}, {342, 343, 0}, {507, 508, 0}, {344, 345, 0}, {346, 347, 0},
    {348, 348, 0}, {128, 129, 6}, {126, 127, 6}, {534, 533, 0}, {13, 533, 0},  {14, -1, 0},
    {140, 284, 0}, {527, 162, 0}, {528, 164, 0}, {529, 165, 0}, {135, 136, 0}, {137, 136, 0},
    {54, -1, 0},   {56, -1, 0},   {58, -1, 0},   {60, -1, 0},   {142, 136, 0}, {44, -1, 0},
    {46, -1, 0},   {48, -1, 0},   {50, -1, 0},   {52, -1, 0},   {137, 136, 0}, {138, -1, 4},
    {139, -1, 4},  {140, -1, 4},  {142, 136, 0}, {143, -1, 4},  {144, -1, 4},  {145, -1, 4},
    {146, -1, 4},  {140, -1, 4},
};

struct Family {
    int parent;
    int children[6];
    int numChildren;
};

// Parents in the order their children are attached; nodes 3 to 7 end up below node 2.
constexpr Family s_families[] = {
    {0, {3, 4, 5, 6, 7, 8}, 6}, {1, {9, 10, 11}, 3},
    {2, {3, 4, 5, 6, 7}, 5},    {12, {13, 14, 15, 16}, 4},
    {17, {18, 19}, 2},          {20, {21, 22, 23, 24, 25, 26}, 6},
    {26, {29, 30, 31}, 3},      {27, {34}, 1},
    {31, {32, 33}, 2},          {35, {36, 37, 40, 39, 38, 41}, 6},
    {41, {43, 44}, 2},          {45, {46, 47}, 2},
    {48, {49, 50, 51}, 3},      {52, {53, 58, 72, 73}, 4},
    {53, {54, 55, 56, 57}, 4},  {58, {59, 60, 61, 62, 63}, 5},
    {64, {65, 66, 67}, 3},      {68, {69, 70, 71}, 3},
};

} // namespace

MenuNodeData::MenuNodeData() {
    m_nodeList.SetSize(MENU_NODE_COUNT);
    for (int id = 0; id < MENU_NODE_COUNT; ++id) {
        const NodeSpec& spec = s_nodes[id];
        m_nodeList(id) = new kMenuNode(spec.scriptId, spec.helpId, spec.numStates, id, nullptr);
    }
    for (const Family& family : s_families) {
        for (int i = 0; i < family.numChildren; ++i) {
            m_nodeList(family.parent)->AddChild(m_nodeList(family.children[i]));
        }
    }
}

MenuNodeData::~MenuNodeData() {
    for (int id = 0; id < m_nodeList.Size(); ++id) {
        delete m_nodeList(id);
    }
    m_nodeList.Empty();
}

kMenuNode* MenuNodeData::GetNode(int id) const {
    if (id < 0 || id >= m_nodeList.Size()) {
        kLogFmt("MenuNodeData: no node %d of %d\n", id, m_nodeList.Size());
        return nullptr;
    }
    return m_nodeList(id);
}

} // namespace Kelvo_lib
