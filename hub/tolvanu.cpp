#include "hub/tolvanu.h"

#include "hub/access/printable.h"
#include "hub/messageloop.h"
#include "hub/programfile.h"

Tolvanu::Tolvanu()
{
    createTray();
    addTrayIcon();
    createLists();
    log(banner());
    start();
    fillPluginList();
    resize(600, 500);
    setVisible(false);
    setSessionEndHandler([this] { stop(); });
}

Tolvanu::~Tolvanu()
{
    removeTrayIcon();
    setVisible(false);
    hub::messageloop::dispatchPending(10);
    stop();
    releaseTray();
}

// Log lines carry text from the network: the terminal must not take any of it as a command.
void Tolvanu::onLog(const vcore::str& text)
{
    showLine(hub::printable(text));
    repaintLog();
}

vcore::str Tolvanu::banner()
{
    const vcore::str version = hub::versionText();
    const vcore::str built = hub::buildTimeText();
    vcore::str text(1024);
    text.format(u"Tolvanu %s (build: %s)", version.data(), built.data());
    return text;
}
