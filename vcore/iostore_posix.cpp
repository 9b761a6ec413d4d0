#include "vcore/iostore.h"

namespace vcore {

// COM exists only on Windows; elsewhere a stream has no COM face.
IStream* iostore::comStream()
{
    return nullptr;
}

void iostore::destroyComStream()
{
}

} // namespace vcore
