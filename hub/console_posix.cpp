#include "hub/console.h"

#include <cstdio>

#include "vcore/nativepath.h"

namespace hub {

// The terminal needs no window; lists and commands come with the console itself.
console::console() = default;
console::~console() = default;
void console::setVisible(bool) {}
void console::resize(int, int) {}
void console::toForeground() {}

void console::showLine(const vcore::str& line)
{
    std::printf("%s\n", vcore::toNativePath(line).c_str());
    std::fflush(stdout);
}

} // namespace hub
