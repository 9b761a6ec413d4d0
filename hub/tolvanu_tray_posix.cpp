// Linux has no notification area: the terminal console carries the menu's actions instead.
#include "hub/tolvanu.h"

void Tolvanu::createTray() {}
void Tolvanu::createLists() {}
void Tolvanu::fillPluginList() {}
void Tolvanu::addTrayIcon() {}
void Tolvanu::removeTrayIcon() {}
void Tolvanu::releaseTray() {}
void Tolvanu::openMenu() {}
void Tolvanu::showConsole() {}
void Tolvanu::onTrayIconChanged(void*) {}
void Tolvanu::repaintLog() {}
void Tolvanu::onOnline() { Tolvanu_Com::onOnline(); }
void Tolvanu::onOffline() { Tolvanu_Com::onOffline(); }
void Tolvanu::onIP(const vcore::str& text) { Tolvanu_Com::onIP(text); }
