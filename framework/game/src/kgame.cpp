// The game's client list: attaching and detaching clients with their views, and the
// frame's tick. Registers the kGameClientView record too, so that views can be made
// whichever unit's initialiser runs first.
#include <game/kgame.h>

#include <game/kgameclient.h>
#include <game/kgameclientview.h>
#include <game/kgameworld.h>

#include <kelvo/platform/klog.h>

#include <new>

namespace Kelvo_lib {

namespace {

[[maybe_unused]] kClass* const s_registeredRecords[] = {kGameClientView::StaticClass()};

constexpr const char* kLogSystem = "kGame";

// A view made by class, as every object the game's trees hold is.
kGameClientView* CreateView() {
    kClass* const record = kGameClientView::StaticClass();
    void* memory = kObject::Allocate(record, nullptr, nullptr);
    record->m_classConstructor(memory);
    return std::launder(static_cast<kGameClientView*>(memory));
}

} // namespace

kGame::~kGame() {
    while (m_clientList.Size() > 0) {
        RemoveClient(m_clientList(0));
    }
}

void kGame::Tick(float delta) {
    // A client's tick may add or remove clients: the count is read again each time.
    for (int i = 0; i < m_clientList.Size(); ++i) {
        m_clientList(i)->Tick(delta);
    }
    if (kGameWorld* world = GetWorld()) {
        world->Tick(delta);
    }
}

void kGame::AddClient(kGameClient* client) {
    if (client == nullptr) {
        kLogSys(kLogSystem, "AddClient: no client given\n");
        return;
    }
    if (IndexOf(client) >= 0) {
        return;
    }
    if (client->m_game != nullptr) {
        kLogSys(kLogSystem, "AddClient: the client belongs to another game\n");
        return;
    }
    client->m_game = this;
    client->m_view = CreateView();
    client->m_view->m_client = client;
    m_clientList.Push(client);
    client->ClientInit();
}

void kGame::RemoveClient(kGameClient* client) {
    if (IndexOf(client) < 0) {
        return;
    }
    client->ClientDeinit();
    ForgetClient(client);
}

int kGame::IndexOf(const kGameClient* client) const {
    for (int i = 0; i < m_clientList.Size(); ++i) {
        if (m_clientList(i) == client) {
            return i;
        }
    }
    return -1;
}

void kGame::RemoveAt(int index) {
    kGameClient* const client = m_clientList(index);
    delete client->m_view;
    client->m_view = nullptr;
    client->m_game = nullptr;
    m_clientList.Remove(index);
}

void kGame::ForgetClient(kGameClient* client) {
    // Searched again: ClientDeinit may have changed the list.
    const int index = IndexOf(client);
    if (index >= 0) {
        RemoveAt(index);
    }
}

} // namespace Kelvo_lib
