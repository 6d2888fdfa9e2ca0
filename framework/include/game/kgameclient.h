// kGameClient: one participant of a game, the part that draws. It is detached (no game,
// no view) until kGame::AddClient and attached until kGame::RemoveClient or the game's
// destruction; the game owns its view meanwhile. A client destroyed while attached
// leaves its game on the way. Main thread only.
#pragma once

namespace Kelvo_lib {

class kGame;
class kGameClientView;
class kGameLeaf;

// What a client's RenderLeafs draws with; the framework gives it no content.
class kGameRenderContext;

class kGameClient {
public:
    kGameClient() = default;
    kGameClient(const kGameClient&) = delete;
    kGameClient& operator=(const kGameClient&) = delete;
    // Detaches from the game without calling ClientDeinit, which no longer exists.
    virtual ~kGameClient();

    // Called by the game once the client is attached and has its view.
    virtual void ClientInit() = 0;
    // Called by the game before it destroys the view and detaches the client.
    virtual void ClientDeinit() = 0;
    virtual void Tick(float delta) = 0;
    virtual void Render() = 0;
    virtual void RenderLeafs(kGameRenderContext* context, kGameLeaf** leafs, int numLeafs) = 0;

    kGame* GetGame() const { return m_game; }
    kGameClientView* GetClientView() const { return m_view; }

private:
    friend class kGame;

    kGame* m_game = nullptr;
    kGameClientView* m_view = nullptr;
};

} // namespace Kelvo_lib
