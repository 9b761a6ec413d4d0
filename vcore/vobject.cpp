#include "vcore/vobject.h"

#include <memory>
#include <mutex>

namespace vcore {

bool vObject::add(handlerEntry* entry)
{
    std::unique_ptr<handlerEntry> owned(entry);
    if (!owned)
        return false;
    std::lock_guard<spinlock> hold(lock_);
    for (const handlerEntry* present : handlers_)
        if (present->name() == owned->name() && present->sameTarget(*owned))
            return true;
    if (!handlers_.append(owned.get()))
        return false;
    owned.release();
    return true;
}

int32_t vObject::handlerCount() const
{
    std::lock_guard<spinlock> hold(lock_);
    return handlers_.count();
}

// The entry at index when it handles name; its receiver learns who is sending.
const handlerEntry* vObject::claim(int32_t index, strview name)
{
    std::lock_guard<spinlock> hold(lock_);
    const handlerEntry* entry = handlers_.at(index);
    if (!entry || !entry->name().view().equals(name))
        return nullptr;
    if (vObject* receiver = entry->receiverObject())
        receiver->sender_.store(this, std::memory_order_relaxed);
    return entry;
}

int vObject::emitEvent(strview name, void* arg)
{
    // Handlers added from here on wait for the next emission.
    int32_t count = handlerCount();
    int called = 0;
    for (int32_t i = 0; i < count; ++i) {
        // Entries live as long as this object, so calling one after unlocking is safe.
        if (const handlerEntry* entry = claim(i, name)) {
            entry->call(arg);
            ++called;
        }
    }
    return called;
}

int vObject::emitEvent(const char16_t* name, void* arg)
{
    int32_t length = 0;
    while (name && name[length])
        ++length;
    return emitEvent(strview(name, length), arg);
}

} // namespace vcore
