#pragma once
#include "plugins/winamp_component/componentsession.h"
#include "plugins/winamp_component/hwndwindow.h"
#include "plugins/winamp_component/outbox.h"
#include "vnet/netport.h"

// The component's UDP port: the client's datagrams in, reports out, the poll on its time-out.
class Cordavelle_port : public vnet::netPort, private winamp::outbox {
public:
    static constexpr uint32_t pollPeriodMs = 980;

    Cordavelle_port();
    ~Cordavelle_port() override;

    // Finds Winamp's window and opens the port; true when open (also when it was already).
    bool start();
    // Tells the client "media.close" and closes the port.
    void stop();

    bool onData(vcore::ioport* port) override;
    bool onTimeOut(vcore::ioport* port) override;

private:
    void send(const vcore::str& report) override;
    void pause(uint32_t ms) override;
    void toBroadcast() override;

    winamp::hwndWindow window_;
    winamp::componentSession session_;
};
