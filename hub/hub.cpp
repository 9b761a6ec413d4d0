#include "hub/hub.h"

#include "hub/hubmenu.h"
#include "hub/messageloop.h"
#include "hub/notice.h"
#include "hub/singleton.h"
#include "hub/terminalkeys.h"
#include "hub/tolvanu.h"

namespace hub {

int run()
{
    const singleton marker;
    if (!marker.first()) {
        showNotice(u"Another instance of Tolvanu is running!", u"Tolvanu");
        return -1;
    }
    // Stop signals caught from before the hub exists: a Ctrl-C during start-up still saves.
    messageloop loop;
    {
        Tolvanu tolvanu;
        console::setMainWindow(&tolvanu);
        tolvanu.toForeground();
        {
            // The keys end with the loop: the shutdown's lines go to a terminal as it was.
            hubmenu menu(tolvanu);
            const terminalkeys keys(menu, tolvanu.terminal());
            loop.run();
        }
        console::setMainWindow(nullptr);
    }
    return -1;
}

} // namespace hub
