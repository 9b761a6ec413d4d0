#pragma once
#include <type_traits>

#include "vcore/str.h"

namespace vcore {

class vObject;

// One registration in a vObject's table: an event name bound to a receiver's member function.
class handlerEntry {
public:
    handlerEntry(const str& name, vObject* receiverObject) : name_(name), receiverObject_(receiverObject) {}
    virtual ~handlerEntry() = default;
    handlerEntry(const handlerEntry&) = delete;
    handlerEntry& operator=(const handlerEntry&) = delete;

    const str& name() const { return name_; }
    // The receiver as an event source, told who sends; null when it is none.
    vObject* receiverObject() const { return receiverObject_; }

    virtual void call(void* arg) const = 0;
    // The same member function on the same receiver.
    virtual bool sameTarget(const handlerEntry& other) const = 0;

private:
    str name_;
    vObject* receiverObject_;
};

// A member function of Class taking one void* or nothing; its result is dropped.
template <class Class, class Method>
class memberHandler final : public handlerEntry {
public:
    memberHandler(const str& name, vObject* receiverObject, Class* receiver, Method method)
        : handlerEntry(name, receiverObject), receiver_(receiver), method_(method) {}

    void call(void* arg) const override
    {
        if constexpr (std::is_invocable_v<Method, Class*, void*>)
            (receiver_->*method_)(arg);
        else
            (receiver_->*method_)();
    }

    bool sameTarget(const handlerEntry& other) const override
    {
        auto* same = dynamic_cast<const memberHandler*>(&other);
        return same && same->receiver_ == receiver_ && same->method_ == method_;
    }

private:
    Class* receiver_;
    Method method_;
};

} // namespace vcore
