// Typed signals (kSignal0 to kSignal3) calling member functions of receivers that derive
// from kHasSlots. Each connection is one record linked into the signal's list and the
// receiver's list; the signal owns it, and either side may be destroyed first. Emission
// calls, in connection order, the connections present when it starts, except those whose
// receiver has been destroyed meanwhile. Copies of signals and receivers start unconnected.
// Bookkeeping comes from the tracked allocator. Main thread only; no call fails.
#pragma once

#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/kmemory.h>

#include <console/types.h>

#include <cstddef>
#include <type_traits>
#include <utility>

namespace Kelvo_lib {

template <class MT>
class kHasSlots;

namespace kPrivate::SigSlot {

// The threading policy: no locking.
class SingleThreaded {};

template <class MT>
class kSignalBase;

// Records and slot objects are engine objects of the tracked allocator.
class TrackedBlock {
public:
    static void* operator new(std::size_t size) {
        return kPlatform_ReleaseAlloc(K_MEM_TAG_OBJECT, static_cast<u32>(size));
    }
    static void operator delete(void* block) {
        if (block != nullptr) {
            kPlatform_ReleaseFree(block);
        }
    }
};

// A member function bound to its receiver. Disabled when the receiver is destroyed.
class SlotsMethodBase : public TrackedBlock {
public:
    SlotsMethodBase() = default;
    SlotsMethodBase(const SlotsMethodBase&) = delete;
    SlotsMethodBase& operator=(const SlotsMethodBase&) = delete;
    virtual ~SlotsMethodBase() = default;

    // Same receiver and same member function.
    virtual bool IsEqualTo(const SlotsMethodBase* other) const {
        return other->DispatchEqualToClassMethod(this);
    }
    virtual bool DispatchEqualToClassMethod(const SlotsMethodBase* other) const = 0;

    // Identifies the concrete slot class, so that equality never reads a slot as another.
    virtual const void* TypeTag() const = 0;

    bool m_bEnabled = true;
};

template <class... Args>
class SlotsMethodArgsBase : public SlotsMethodBase {
public:
    virtual void Invoke(Args... args) = 0;
};

template <class T, class... Args>
class SlotsMethod final : public SlotsMethodArgsBase<Args...> {
public:
    using Method = void (T::*)(Args...);

    SlotsMethod(T* target, Method method) : m_target(target), m_method(method) {}

    void Invoke(Args... args) override {
        if (this->m_bEnabled) {
            (m_target->*m_method)(std::forward<Args>(args)...);
        }
    }

    bool DispatchEqualToClassMethod(const SlotsMethodBase* other) const override {
        if (other->TypeTag() != TypeTag()) {
            return false;
        }
        const auto* same = static_cast<const SlotsMethod*>(other);
        return same->m_target == m_target && same->m_method == m_method;
    }

    const void* TypeTag() const override { return &s_typeTag; }

    T* m_target;
    Method m_method;

private:
    // Only its address is used: one distinct object per slot class.
    static inline char s_typeTag = 0;
};

template <class MT>
class SignalInterface;

// One connection. m_signal is null once the signal has let go of the record, m_target
// once the receiver has; emissions in progress that still hold it (m_emissions) keep it
// alive, so that a receiver destroyed meanwhile can still disable its slot.
template <class MT>
struct Connection : TrackedBlock {
    Connection(kHasSlots<MT>* target, SignalInterface<MT>* signal, SlotsMethodBase* method)
        : m_target(target), m_signal(signal), m_method(method) {}
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection() { delete m_method; }

    kHasSlots<MT>* m_target;
    SignalInterface<MT>* m_signal;
    SlotsMethodBase* m_method;
    Connection* m_signalPrev = nullptr;
    Connection* m_signalNext = nullptr;
    Connection* m_slotsPrev = nullptr;
    Connection* m_slotsNext = nullptr;
    s32 m_emissions = 0;
};

// A doubly linked list of records, through their signal links (a signal's list) or their
// slots links (a receiver's list).
template <class MT, bool bSignalSide>
struct ConnectionList {
    static Connection<MT>*& Prev(Connection<MT>* c) {
        return bSignalSide ? c->m_signalPrev : c->m_slotsPrev;
    }
    static Connection<MT>*& Next(Connection<MT>* c) {
        return bSignalSide ? c->m_signalNext : c->m_slotsNext;
    }

    void Append(Connection<MT>* connection) {
        Prev(connection) = m_tail;
        Next(connection) = nullptr;
        (m_tail != nullptr ? Next(m_tail) : m_head) = connection;
        m_tail = connection;
    }

    void Unlink(Connection<MT>* connection) {
        Connection<MT>* const prev = Prev(connection);
        Connection<MT>* const next = Next(connection);
        (prev != nullptr ? Next(prev) : m_head) = next;
        (next != nullptr ? Prev(next) : m_tail) = prev;
        Prev(connection) = nullptr;
        Next(connection) = nullptr;
    }

    Connection<MT>* m_head = nullptr;
    Connection<MT>* m_tail = nullptr;
};

template <class MT>
class SignalInterface {
public:
    // The receiver of connection is being destroyed: the signal lets go of the record.
    virtual void SlotDisconnect(Connection<MT>* connection) = 0;

protected:
    SignalInterface() = default;
    SignalInterface(const SignalInterface&) = default;
    SignalInterface& operator=(const SignalInterface&) = default;
    ~SignalInterface() = default;
};

} // namespace kPrivate::SigSlot

// Base of every receiving class; its destruction disconnects it from every signal.
template <class MT = kPrivate::SigSlot::SingleThreaded>
class kHasSlots : public MT {
public:
    kHasSlots() = default;
    // A copy is a new receiver: it starts with no connections.
    kHasSlots(const kHasSlots&) : kHasSlots() {}
    // Connections belong to each receiver and are not assigned.
    kHasSlots& operator=(const kHasSlots&) { return *this; }
    ~kHasSlots();

private:
    friend class kPrivate::SigSlot::kSignalBase<MT>;

    kPrivate::SigSlot::ConnectionList<MT, false> m_connections;
};

namespace kPrivate::SigSlot {

template <class MT>
class kSignalBase : public SignalInterface<MT> {
public:
    kSignalBase() = default;
    // A copy is a new signal: it starts with no connections.
    kSignalBase(const kSignalBase&) : kSignalBase() {}
    // Connections belong to each signal and are not assigned.
    kSignalBase& operator=(const kSignalBase&) { return *this; }
    ~kSignalBase() {
        while (m_connections.m_head != nullptr) {
            Remove(m_connections.m_head);
        }
    }

    void SlotDisconnect(Connection<MT>* connection) override { Remove(connection); }

    // Disables and lets go of every record of a receiver being destroyed.
    static void DisconnectReceiver(kHasSlots<MT>& receiver) {
        ConnectionList<MT, false>& list = receiver.m_connections;
        while (Connection<MT>* connection = list.m_head) {
            connection->m_method->m_bEnabled = false;
            list.Unlink(connection);
            connection->m_target = nullptr;
            if (connection->m_signal != nullptr) {
                connection->m_signal->SlotDisconnect(connection);
            }
        }
    }

protected:
    // Takes ownership of slot; nothing is added when an equal slot is connected already.
    void Add(kHasSlots<MT>* receiver, SlotsMethodBase* slot) {
        if (Find(*slot) != nullptr) {
            delete slot;
            return;
        }
        auto* connection = new Connection<MT>(receiver, this, slot);
        m_connections.Append(connection);
        receiver->m_connections.Append(connection);
    }

    Connection<MT>* Find(const SlotsMethodBase& slot) const {
        for (Connection<MT>* c = m_connections.m_head; c != nullptr; c = c->m_signalNext) {
            if (c->m_method->IsEqualTo(&slot)) {
                return c;
            }
        }
        return nullptr;
    }

    // Lets go of a record; it is freed now unless an emission in progress still holds it.
    void Remove(Connection<MT>* connection) {
        m_connections.Unlink(connection);
        connection->m_signal = nullptr;
        FreeIfReleased(connection);
    }

    // Frees a record that neither the signal nor any emission holds any more.
    static void FreeIfReleased(Connection<MT>* connection) {
        if (connection->m_signal != nullptr || connection->m_emissions != 0) {
            return;
        }
        if (connection->m_target != nullptr) {
            connection->m_target->m_connections.Unlink(connection);
        }
        delete connection;
    }

    // The records connected when an emission starts, each held until the emission ends.
    class Snapshot {
    public:
        explicit Snapshot(const ConnectionList<MT, true>& list) {
            for (const Connection<MT>* c = list.m_head; c != nullptr; c = c->m_signalNext) {
                ++m_count;
            }
            if (m_count == 0) {
                return;
            }
            m_records = static_cast<Connection<MT>**>(kPlatform_ReleaseAlloc(
                K_MEM_TAG_GENERAL, static_cast<u32>(m_count * sizeof(Connection<MT>*))));
            s32 i = 0;
            for (Connection<MT>* c = list.m_head; c != nullptr; c = c->m_signalNext) {
                ++c->m_emissions;
                m_records[i++] = c;
            }
        }
        Snapshot(const Snapshot&) = delete;
        Snapshot& operator=(const Snapshot&) = delete;
        ~Snapshot() {
            if (m_records == nullptr) {
                return;
            }
            for (s32 i = 0; i < m_count; ++i) {
                --m_records[i]->m_emissions;
                FreeIfReleased(m_records[i]);
            }
            kPlatform_ReleaseFree(m_records);
        }

        s32 Count() const { return m_count; }
        SlotsMethodBase* Slot(s32 i) const { return m_records[i]->m_method; }

    private:
        s32 m_count = 0;
        Connection<MT>** m_records = nullptr;
    };

    ConnectionList<MT, true> m_connections;
};

// The operations of a signal with the argument list Args.
template <class MT, class... Args>
class kSignalArgs : public kSignalBase<MT> {
public:
    // Connects dest's member function; does nothing when that pair is connected already.
    // The slot is kept as a member of the class that declares the function, so connecting
    // through a pointer to the receiver's own class or to that base class is one pair.
    template <class T, class Declarer>
    void Connect(T* dest, void (Declarer::*method)(Args...)) {
        static_assert(std::is_base_of_v<kHasSlots<MT>, T>, "a receiver derives from kHasSlots");
        static_assert(std::is_base_of_v<Declarer, T>, "the function is a member of the receiver");
        kAssertMsg(dest != nullptr && method != nullptr,
                   "kSignal::Connect: a slot needs a receiver and a member function");
        this->Add(dest, new SlotsMethod<Declarer, Args...>(dest, method));
    }

    // Removes the connection of that pair, if any.
    template <class T, class Declarer>
    void Disconnect(T* dest, void (Declarer::*method)(Args...)) {
        if (Connection<MT>* found = this->Find(SlotsMethod<Declarer, Args...>(dest, method))) {
            this->Remove(found);
        }
    }

    // Calls each connected slot in connection order; the signal may be destroyed meanwhile.
    void operator()(Args... args) {
        const typename kSignalBase<MT>::Snapshot snapshot(this->m_connections);
        for (s32 i = 0; i < snapshot.Count(); ++i) {
            static_cast<SlotsMethodArgsBase<Args...>*>(snapshot.Slot(i))->Invoke(args...);
        }
    }
};

} // namespace kPrivate::SigSlot

template <class MT>
kHasSlots<MT>::~kHasSlots() {
    kPrivate::SigSlot::kSignalBase<MT>::DisconnectReceiver(*this);
}

template <class MT = kPrivate::SigSlot::SingleThreaded>
class kSignal0 final : public kPrivate::SigSlot::kSignalArgs<MT> {};

template <class A, class MT = kPrivate::SigSlot::SingleThreaded>
class kSignal1 final : public kPrivate::SigSlot::kSignalArgs<MT, A> {};

template <class A, class B, class MT = kPrivate::SigSlot::SingleThreaded>
class kSignal2 final : public kPrivate::SigSlot::kSignalArgs<MT, A, B> {};

template <class A, class B, class C, class MT = kPrivate::SigSlot::SingleThreaded>
class kSignal3 final : public kPrivate::SigSlot::kSignalArgs<MT, A, B, C> {};

} // namespace Kelvo_lib
