#pragma once
#include <atomic>
#include <cstdint>
#include <new>
#include <type_traits>

#include "vcore/alist.h"
#include "vcore/handlerentry.h"
#include "vcore/spinlock.h"
#include "vcore/str.h"
#include "vcore/strview.h"

namespace vcore {

// An event source: handlers registered by event name, called in registration order by emitEvent.
// Handlers stay registered for the life of the source, so receivers must outlive it.
class vObject {
public:
    vObject() = default;
    virtual ~vObject() = default;
    vObject(const vObject&) = delete;
    vObject& operator=(const vObject&) = delete;

    // Registers receiver->handler under name; handler takes one void* (the event's argument) or
    // nothing. Registering the same pair under an equal name again keeps one entry. False only
    // when the table cannot grow.
    template <class Receiver, class Class, class Result>
    bool addHandler(const str& name, Receiver* receiver, Result (Class::*handler)(void*))
    {
        return addMember<Class>(name, receiver, handler);
    }
    template <class Receiver, class Class, class Result>
    bool addHandler(const str& name, Receiver* receiver, Result (Class::*handler)())
    {
        return addMember<Class>(name, receiver, handler);
    }

    // Calls every handler registered under name when the emission began, on this thread and
    // outside the table's lock; returns how many were called.
    int emitEvent(strview name, void* arg = nullptr);
    int emitEvent(const char16_t* name, void* arg = nullptr);
    int emitEvent(const str& name, void* arg = nullptr) { return emitEvent(name.view(), arg); }

    // The source of the event this object is handling; meaningless when several threads
    // deliver events to it at once.
    vObject* sender() const { return sender_.load(std::memory_order_relaxed); }

    // Handlers registered, for inspection.
    int32_t handlerCount() const;

private:
    template <class Class, class Receiver, class Method>
    bool addMember(const str& name, Receiver* receiver, Method handler)
    {
        static_assert(std::is_base_of_v<Class, Receiver>, "the handler must be a member of the receiver");
        if (!receiver || !handler)
            return false;
        vObject* source = nullptr;
        if constexpr (std::is_convertible_v<Receiver*, vObject*>)
            source = receiver;
        return add(new (std::nothrow) memberHandler<Class, Method>(name, source, receiver, handler));
    }

    bool add(handlerEntry* entry);
    const handlerEntry* claim(int32_t index, strview name);

    mutable spinlock lock_;
    alist<handlerEntry> handlers_{64, true};
    std::atomic<vObject*> sender_{nullptr};
};

} // namespace vcore
