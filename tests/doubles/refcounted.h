#pragma once
#include <atomic>

#include <windows.h>

// COM reference counting for a stand-in's object of interface I: it deletes itself at zero.
namespace standin {

template <class I>
class refCounted : public I {
public:
    virtual ~refCounted() = default;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

private:
    std::atomic<ULONG> refs_{1};
};

} // namespace standin
