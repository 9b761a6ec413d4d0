// The hub's tray icon, menu and console window wiring on Windows.
#include <windows.h>

#include <algorithm>

#include "hub/consolelists.h"
#include "hub/consolepainter.h"
#include "hub/programfile.h"
#include "hub/tolvanu.h"
#include "hub/trayicon.h"
#include "hub/traymenu.h"

// The tray object (icon 101, tip "Tolvanu", its hidden window), the console's painting and
// its connect request.
void Tolvanu::createTray()
{
    tray_ = new hub::trayicon;
    tray_->addHandler(hub::trayicon::iconChanged, this, &Tolvanu::onTrayIconChanged);
    painter_ = new hub::consolepainter(window());
    setPaintHandler([this](void* dc) { painter_->paint(dc); });
    setSizeHandler([this](int width, int height) {
        std::vector<vcore::str> log = recentLog();
        std::reverse(log.begin(), log.end());
        painter_->resize(width, height, log);
        if (lists_)
            lists_->place(painter_->layout());
    });
    setConnectHandler([this](const char16_t* className) { return int32_t(host().connect(className)); });
    // The window has its size from creation, before anyone listened.
    RECT client{};
    GetClientRect(static_cast<HWND>(window()), &client);
    sized(client.right, client.bottom);
}

void Tolvanu::repaintLog()
{
    if (painter_)
        painter_->drawLog(hub::consolepainter::newestFirst(ring()));
}

// A refused icon is no failure: the hub runs on, and a notification still opens the menu.
void Tolvanu::addTrayIcon()
{
    tray_->add();
    tray_->addHandler(u"rightClicked", this, &Tolvanu::openMenu);
    tray_->addHandler(u"clicked", this, &Tolvanu::showConsole);
    setCommandHandler([this](unsigned id) { return hub::runTraycommand(menu_, id, [this] { showConsole(); }); });
}

// Their rows come from the host and the address list each time they are painted.
void Tolvanu::createLists()
{
    lists_ = new hub::consolelists(window(), menu_);
    lists_->place(painter_->layout());
}

void Tolvanu::fillPluginList() { lists_->refreshPlugins(); }

void Tolvanu::removeTrayIcon()
{
    if (tray_)
        tray_->remove();
}

// After stop(): no worker is left to post an icon switch.
void Tolvanu::releaseTray()
{
    setCommandHandler(nullptr);
    setConnectHandler(nullptr);
    setPaintHandler(nullptr);
    setSizeHandler(nullptr);
    delete lists_;
    lists_ = nullptr;
    delete painter_;
    painter_ = nullptr;
    delete tray_;
    tray_ = nullptr;
}

void Tolvanu::openMenu() { hub::showTraymenu(window(), hub::traymenu(menu_, hub::versionText())); }

void Tolvanu::showConsole()
{
    setVisible(true);
    toForeground();
}

// Called from the protocol worker: posted, never sent, so a closing main thread cannot block it.
void Tolvanu::onOnline()
{
    if (tray_)
        tray_->showIcon(hub::trayicon::activeIcon);
    if (lists_)
        lists_->refreshPlugins();
    Tolvanu_Com::onOnline();
}

void Tolvanu::onOffline()
{
    if (tray_)
        tray_->showIcon(hub::trayicon::idleIcon);
    if (lists_)
        lists_->refreshPlugins();
    Tolvanu_Com::onOffline();
}

void Tolvanu::onIP(const vcore::str& text)
{
    if (lists_)
        lists_->refreshAddresses();
    Tolvanu_Com::onIP(text);
}

// On the main thread, which owns the console window.
void Tolvanu::onTrayIconChanged(void* resource)
{
    const int id = *static_cast<int*>(resource);
    const HICON small = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                      LR_SHARED));
    SendMessageW(static_cast<HWND>(window()), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}
