#pragma once
#include "hub/console.h"
#include "hub/tolvanu_com.h"

// The hub: its console and, through the second base, its communication object; built in the
// start-up order, taken down in the shutdown order.
class Tolvanu : public hub::console, public Tolvanu_Com {
public:
    // The console (first base) and Tolvanu_Com (second base) exist before the body runs.
    Tolvanu();
    ~Tolvanu() override;

    void onLog(const vcore::str& text) override;

    // "Tolvanu <version> (build: <build time>)".
    static vcore::str banner();

private:
    void createTray();
    void addTrayIcon();
    void createLists();
    void fillPluginList();
    void removeTrayIcon();
    void releaseTray();
};
