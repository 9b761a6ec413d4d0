#pragma once
#include "hub/console.h"
#include "hub/hubmenu.h"
#include "hub/tolvanu_com.h"

namespace hub {
class consolelists;
class consolepainter;
class trayicon;
}

// The hub: its console and, through the second base, its communication object; built in the
// start-up order, taken down in the shutdown order.
class Tolvanu : public hub::console, public Tolvanu_Com {
public:
    // The console (first base) and Tolvanu_Com (second base) exist before the body runs.
    Tolvanu();
    ~Tolvanu() override;

    void onLog(const vcore::str& text) override;
    // The tray icon (when it was added) and the console's small icon: 102 while a session runs.
    void onOnline() override;
    void onOffline() override;
    // The address list repainted.
    void onIP(const vcore::str& text) override;

    // The tray object on Windows; null on Linux, which has no notification area.
    hub::trayicon* tray() const { return tray_; }
    // The console's painting on Windows; null on Linux.
    hub::consolepainter* painter() const { return painter_; }
    hub::consolelists* lists() const { return lists_; }

    // "Tolvanu <version> (build: <build time>)".
    static vcore::str banner();

private:
    void createTray();
    void addTrayIcon();
    void createLists();
    void fillPluginList();
    void removeTrayIcon();
    void releaseTray();
    void openMenu();
    void showConsole();
    void onTrayIconChanged(void* resource);
    // Under the log lock.
    void repaintLog();

    hub::hubmenu menu_{*this};
    hub::trayicon* tray_ = nullptr;
    hub::consolepainter* painter_ = nullptr;
    hub::consolelists* lists_ = nullptr;
};
