#include "vcore/iostore.h"

namespace vcore {

iostore::~iostore()
{
    destroyComStream();
}

uint64_t iostore::available()
{
    return position_ < size_ ? size_ - position_ : 0;
}

bool iostore::advance(uint64_t count)
{
    uint64_t target = position_ + count;
    if (target < position_)
        target = UINT64_MAX;
    return seek(target);
}

void iostore::forwardSlashes()
{
    // Rebuilt through set() so the name's narrow copy is refreshed too.
    str slashed(name_);
    for (int32_t i = 0; i < slashed.length(); ++i)
        if (slashed[i] == u'\\')
            slashed[i] = u'/';
    name_.set(slashed);
}

uint32_t iostore::addRef()
{
    return ++references_;
}

uint32_t iostore::release()
{
    uint32_t left = --references_;
    if (left == 0)
        delete this;
    return left;
}

} // namespace vcore
