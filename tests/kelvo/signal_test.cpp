// Signals and slots: connection order and uniqueness, arguments, either side destroyed
// first, receivers and signals destroyed or changed during an emission, copies, and the
// tracked memory behind it all.
#include "live_blocks.h"

#include <kelvo/object/ksignal.h>
#include <kelvo/platform/kmemory.h>

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

namespace {

using Kelvo_lib::kHasSlots;
using Kelvo_lib::kSignal0;
using Kelvo_lib::kSignal1;
using Kelvo_lib::kSignal2;
using Kelvo_lib::kSignal3;

using CallLog = std::vector<int>;

// A log with room reserved, so that logging does not disturb the block counts.
CallLog EmptyLog() {
    CallLog log;
    log.reserve(16);
    return log;
}

// A logs id * 10 + 1 and then runs m_action; B logs id * 10 + 2; Die logs id * 10 + 9 and
// deletes the receiver.
class Receiver : public kHasSlots<> {
public:
    Receiver(CallLog& log, int id) : m_log(&log), m_id(id) {}

    void A() {
        m_log->push_back(m_id * 10 + 1);
        if (m_action) {
            m_action();
        }
    }
    void B() { m_log->push_back(m_id * 10 + 2); }
    void Die() {
        m_log->push_back(m_id * 10 + 9);
        delete this;
    }
    void Sum(float a, int b, int c) { m_log->push_back(static_cast<int>(a * 10) + b + c); }
    void Pair(int a, int b) { m_log->push_back(a * 100 + b); }
    void Flag(bool on) { m_log->push_back(on ? 1 : 0); }

    std::function<void()> m_action;

private:
    CallLog* m_log;
    int m_id;
};

TEST(SignalTest, EmittingWithoutConnectionsAllocatesNothing) {
    kSignal0<> signal;
    const s32 before = kPlatform_GetMemStats().totalAllocs;
    signal();
    EXPECT_EQ(kPlatform_GetMemStats().totalAllocs, before);
}

TEST(SignalTest, PairsConnectOnceAndRunInConnectionOrder) {
    CallLog log = EmptyLog();
    Receiver first(log, 1);
    Receiver second(log, 2);
    kSignal0<> signal;
    signal.Connect(&first, &Receiver::A);
    signal.Connect(&first, &Receiver::A);
    signal.Connect(&second, &Receiver::A);
    signal.Connect(&first, &Receiver::B);
    signal.Disconnect(&second, &Receiver::B); // never connected: no change
    signal();
    signal.Disconnect(&first, &Receiver::A);
    signal.Connect(&first, &Receiver::A);
    signal();
    EXPECT_EQ(log, (CallLog{11, 21, 12, 21, 12, 11}));
}

TEST(SignalTest, ArgumentsReachEverySlot) {
    CallLog log = EmptyLog();
    Receiver first(log, 1);
    Receiver second(log, 2);
    kSignal1<bool> one;
    kSignal2<int, int> two;
    kSignal3<float, int, int> three;
    for (Receiver* receiver : {&first, &second}) {
        one.Connect(receiver, &Receiver::Flag);
        two.Connect(receiver, &Receiver::Pair);
        three.Connect(receiver, &Receiver::Sum);
    }
    one(true);
    two(-3, 7);
    three(0.5f, 100, 2000);
    EXPECT_EQ(log, (CallLog{1, 1, -293, -293, 2105, 2105}));
}

TEST(SignalTest, EitherSideMayBeDestroyedFirstWithoutLeaks) {
    CallLog log = EmptyLog();
    const s32 before = LiveBlocks();
    {
        Receiver outlives(log, 1);
        {
            kSignal0<> signal;
            signal.Connect(&outlives, &Receiver::A);
            EXPECT_GT(LiveBlocks(), before);
        }
        kSignal0<> signal;
        {
            Receiver dies(log, 2);
            signal.Connect(&dies, &Receiver::A);
            signal.Connect(&outlives, &Receiver::B);
        }
        signal();
        signal.Disconnect(&outlives, &Receiver::B);
        signal();
    }
    EXPECT_EQ(log, (CallLog{12}));
    EXPECT_EQ(LiveBlocks(), before);
}

TEST(SignalTest, ReceiversDestroyedDuringAnEmissionAreNotCalledAgain) {
    CallLog log = EmptyLog();
    const s32 before = LiveBlocks();
    {
        auto* doomed = new Receiver(log, 1);
        Receiver killer(log, 2);
        auto* victim = new Receiver(log, 3);
        kSignal0<> signal;
        signal.Connect(doomed, &Receiver::Die);
        signal.Connect(&killer, &Receiver::A);
        signal.Connect(doomed, &Receiver::B);
        signal.Connect(victim, &Receiver::A);
        killer.m_action = [victim] { delete victim; };
        signal();
        killer.m_action = nullptr;
        signal();
    }
    EXPECT_EQ(log, (CallLog{19, 21, 21}));
    EXPECT_EQ(LiveBlocks(), before);
}

TEST(SignalTest, DisconnectDuringAnEmissionTakesEffectFromTheNextOne) {
    CallLog log = EmptyLog();
    Receiver first(log, 1);
    Receiver second(log, 2);
    Receiver late(log, 3);
    kSignal0<> signal;
    signal.Connect(&first, &Receiver::A);
    signal.Connect(&second, &Receiver::A);
    first.m_action = [&] {
        signal.Disconnect(&second, &Receiver::A);
        signal.Connect(&late, &Receiver::B);
    };
    signal();
    first.m_action = nullptr;
    signal();
    EXPECT_EQ(log, (CallLog{11, 21, 11, 32}));
}

TEST(SignalTest, ReceiverDisconnectedAndDestroyedDuringAnEmissionIsNotCalled) {
    CallLog log = EmptyLog();
    const s32 before = LiveBlocks();
    {
        Receiver first(log, 1);
        auto* second = new Receiver(log, 2);
        kSignal0<> signal;
        signal.Connect(&first, &Receiver::A);
        signal.Connect(second, &Receiver::A);
        first.m_action = [&] {
            signal.Disconnect(second, &Receiver::A);
            delete second;
        };
        signal();
        first.m_action = nullptr;
    }
    EXPECT_EQ(log, (CallLog{11}));
    EXPECT_EQ(LiveBlocks(), before);
}

TEST(SignalTest, SignalDestroyedDuringItsEmissionFinishesTheCalls) {
    CallLog log = EmptyLog();
    const s32 before = LiveBlocks();
    {
        Receiver first(log, 1);
        Receiver second(log, 2);
        auto* victim = new Receiver(log, 3);
        auto* signal = new kSignal0<>;
        signal->Connect(&first, &Receiver::A);
        signal->Connect(&second, &Receiver::A);
        signal->Connect(victim, &Receiver::A);
        first.m_action = [&] { delete signal; };
        second.m_action = [&] { delete victim; };
        (*signal)();
    }
    EXPECT_EQ(log, (CallLog{11, 21}));
    EXPECT_EQ(LiveBlocks(), before);
}

TEST(SignalTest, EmissionFromInsideASlotRunsTheSlotsOnceMore) {
    CallLog log = EmptyLog();
    Receiver first(log, 1);
    Receiver second(log, 2);
    kSignal0<> signal;
    signal.Connect(&first, &Receiver::A);
    signal.Connect(&second, &Receiver::B);
    bool nested = false;
    first.m_action = [&] {
        if (!std::exchange(nested, true)) {
            signal();
        }
    };
    signal();
    EXPECT_EQ(log, (CallLog{11, 11, 22, 22}));
}

TEST(SignalTest, CopiesStartUnconnectedAndAssignmentKeepsConnections) {
    CallLog log = EmptyLog();
    Receiver original(log, 1);
    kSignal0<> signal;
    signal.Connect(&original, &Receiver::A);
    {
        Receiver copy(original);
        kSignal0<> signalCopy(signal);
        signalCopy();
        kSignal0<> assigned;
        assigned.Connect(&copy, &Receiver::B);
        assigned = signal;
        copy = original;
        assigned();
        signal();
    }
    signal();
    EXPECT_EQ(log, (CallLog{12, 11, 11}));
}

class BaseReceiver : public kHasSlots<> {
public:
    void Fire() { ++m_calls; }
    int m_calls = 0;
};

class DerivedReceiver : public BaseReceiver {};

// A receiver's member function is one connection whether its base-class pointer or its
// own connected it, and either disconnects it.
TEST(SignalTest, OneFunctionOfOneReceiverIsOneConnectionThroughAnyOfItsClasses) {
    DerivedReceiver receiver;
    kSignal0<> signal;
    signal.Connect(static_cast<BaseReceiver*>(&receiver), &BaseReceiver::Fire);
    signal.Connect(&receiver, &DerivedReceiver::Fire);
    signal();
    EXPECT_EQ(receiver.m_calls, 1);
    signal.Disconnect(&receiver, &DerivedReceiver::Fire);
    signal();
    EXPECT_EQ(receiver.m_calls, 1);
}

} // namespace
