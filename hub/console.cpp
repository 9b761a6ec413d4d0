#include "hub/console.h"

#include <atomic>

namespace hub {

namespace {
std::atomic<console*> mainConsole{nullptr};
}

console* console::mainWindow() { return mainConsole; }
void console::setMainWindow(console* main) { mainConsole = main; }

} // namespace hub
