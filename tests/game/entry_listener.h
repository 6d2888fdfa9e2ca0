// Counts the entries a puzzle model accepts and refuses, from its two signals.
#pragma once

#include <kelvo/object/ksignal.h>

template <typename Model>
class EntryListener : public Kelvo_lib::kHasSlots<> {
public:
    explicit EntryListener(Model& model) {
        model.ValidEntrySignal.Connect(this, &EntryListener::OnValid);
        model.InvalidEntrySignal.Connect(this, &EntryListener::OnInvalid);
    }
    void OnValid() { ++valid; }
    void OnInvalid() { ++invalid; }
    int valid = 0;
    int invalid = 0;
};
