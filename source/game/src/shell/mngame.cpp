#include <shell/mngame.h>

#include <shell/mngameworld.h>

#include <new>

namespace Kelvo_lib {

namespace {

// The world is made by class, as the object model's records allow.
MNGameWorld* CreateWorld() {
    kClass* const record = MNGameWorld::StaticClass();
    void* memory = kObject::Allocate(record, nullptr, nullptr);
    record->m_classConstructor(memory);
    return std::launder(static_cast<MNGameWorld*>(memory));
}

} // namespace

MNGame::MNGame() : m_world(CreateWorld()) {}

MNGame::~MNGame() {
    delete m_world;
}

kGameWorld* MNGame::GetWorld() {
    return m_world;
}

} // namespace Kelvo_lib
