#pragma once
#include <string_view>

#include "hub/menuactions.h"
#include "vcore/str.h"

// The menu's actions on single keys, as the terminal console reads them: bytes in, actions and
// printed lines out. "c" and "e" wait for the plug-in's number (1 to 9) that follows.
namespace hub {

class consolekeys {
public:
    explicit consolekeys(menuactions& actions);

    // The one-line help, shown at start and for any key without a meaning.
    static const char16_t* help();

    // Keys as they arrive; escape sequences (arrows, function keys) are passed over.
    void feed(std::string_view bytes);
    void press(char key);

private:
    enum class waiting { key, closeNumber, enableNumber, escape, sequence };

    void command(char key);
    void pluginKey(char key);
    void listPlugins();
    void listAddresses();
    void showLog();
    void sayLevel();

    menuactions& actions_;
    waiting state_ = waiting::key;
};

} // namespace hub
