// Giving a cache slot back: the slot is unloaded and taken out of its list.
#include <kelvo/platform/kdebug.h>
#include <kelvo/render/krmemcachewii.h>

namespace Kelvo_lib {

void krMemCacheWII::Free(krCacheIdWII* item) {
    kAssertMsg(item->cache == this, "item->cache == this");
    kAssertMsg(item->loaded, "item->loaded");
    item->cost = 0;
    item->loaded = false;
    item->address = 0;
    item->cache = nullptr;
    item->drawcall = 0xFFFFFFFF;
    if (item->prev != nullptr) {
        item->prev->next = item->next;
    }
    if (item->next != nullptr) {
        item->next->prev = item->prev;
    }
    if (head == item) {
        head = item->next; // the list must not keep a slot that left it
    }
    item->next = nullptr;
    item->prev = nullptr;
}

} // namespace Kelvo_lib
