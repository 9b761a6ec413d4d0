#include "vcore/iobase.h"

#include <vector>

namespace vcore {

iobase::iobase(const char16_t* name)
{
    setName(name);
}

iobase::~iobase() = default;

void iobase::setName(const char16_t* name)
{
    if (name)
        name_.set(name);
}

bool iobase::open(const char16_t* name)
{
    setName(name);
    return false;
}

bool iobase::truncate()
{
    return false;
}

bool iobase::copyTo(iobase& target)
{
    std::vector<uint8_t> block(copyBlock);
    for (;;) {
        uint32_t got = 0;
        if (!read(block.data(), copyBlock, got) || got == 0)
            return true;
        uint32_t put = 0;
        // A short write would silently drop the tail of the block.
        if (!target.write(block.data(), got, put) || put != got)
            return false;
    }
}

} // namespace vcore
