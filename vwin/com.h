#pragma once
#include <utility>

#include <windows.h>
#include <unknwn.h>

namespace vwin {

// Owns one COM interface pointer together with the IID it stands for; releases it when
// replaced or destroyed. Windows only.
template <class I>
class com_ {
public:
    com_() : iid_(__uuidof(I)) {}
    explicit com_(const IID& iid) : iid_(iid) {}
    ~com_() { reset(); }
    com_(const com_&) = delete;
    com_& operator=(const com_&) = delete;
    com_(com_&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)), iid_(other.iid_) {}
    com_& operator=(com_&& other) noexcept
    {
        if (this != &other) {
            reset(std::exchange(other.ptr_, nullptr));
            iid_ = other.iid_;
        }
        return *this;
    }

    I* get() const { return ptr_; }
    I* operator->() const { return ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }
    const IID& iid() const { return iid_; }
    void setIid(const IID& iid) { iid_ = iid; }

    // Takes over a reference the caller owns.
    void reset(I* ptr = nullptr)
    {
        I* old = std::exchange(ptr_, ptr);
        if (old)
            old->Release();
    }
    // Releases what is held and gives the slot for an out-parameter.
    I** put()
    {
        reset();
        return &ptr_;
    }
    // Replaces what is held by from's answer for iid(); false (and empty) when it has none.
    bool queryFrom(IUnknown* from)
    {
        reset();
        if (!from)
            return false;
        void* out = nullptr;
        if (FAILED(from->QueryInterface(iid_, &out)) || !out)
            return false;
        ptr_ = static_cast<I*>(out);
        return true;
    }

private:
    I* ptr_ = nullptr;
    IID iid_;
};

} // namespace vwin
