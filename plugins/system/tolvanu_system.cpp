#include "plugins/system/tolvanu_system.h"

#include <thread>

#include "plugins/common/hostlink.h"
#include "plugins/system/desktop.h"
#include "vcore/computername.h"
#include "vnet/address.h"

Tolvanu_system::Tolvanu_system(std::unique_ptr<systemctl::machine> pc, workerStart start)
    : plugin::session(u"system"),
      pc_(pc ? std::move(pc) : systemctl::makeDesktop([](const vcore::str& line) { plugin::hostLog(line); })),
      service_(*pc_, *this, stateLock())
{
    openPort(start);
}

Tolvanu_system::~Tolvanu_system()
{
    // The worker drives the machine: it goes first, also when a handler outlasts close().
    close();
    waitWorkerEnd();
}

void Tolvanu_system::openPort(workerStart start)
{
    if (start == workerStart::atFirstCall)
        holdWorker();
    setFlags(flagDatagram);
    setSocketType(vnet::sock::typeDatagram);
    setProtocol(vnet::sock::protoUdp);
    setPortNumber(servicePort);
    setTimeOut(noTimeOut);
    open(u"");
}

bool Tolvanu_system::prepare()
{
    startWorker();
    return true;
}

bool Tolvanu_system::present()
{
    startWorker();
    return true;
}

uint32_t Tolvanu_system::connectSession()
{
    startWorker();
    service_.connect();
    changeTimeOut(pollMs);
    return servicePort;
}

void Tolvanu_system::closeSession()
{
    sendText(vcore::str(u"system.close"), remoteAddress());
    service_.close();
}

bool Tolvanu_system::onData(vcore::ioport*)
{
    std::this_thread::yield();
    vcore::str text;
    while (available() > 0) {
        while (readString(text)) {
            text.fromUtf8();
            if (fromThisHost())
                continue;
            vcore::str nearest = vnet::formatAddress(vnet::nearestLocalAddress(*this, remoteAddress()));
            plugin::callHost(u"ip", nearest.data());
            service_.handle(text, remoteText());
        }
    }
    pace();
    return true;
}

bool Tolvanu_system::onTimeOut(vcore::ioport*)
{
    service_.poll();
    pace();
    return true;
}

void Tolvanu_system::pace()
{
    // Read again after the write: a connect on the hub's thread in between must not be undone.
    for (;;) {
        const bool ticks = service_.wantsTicks();
        setTimeOut(ticks ? pollMs : noTimeOut);
        if (service_.wantsTicks() == ticks)
            return;
    }
}

void Tolvanu_system::report(const vcore::str& text, bool logged)
{
    if (isOpen())
        sendText(text, remoteAddress());
    if (!logged)
        return;
    const vcore::str to = remoteText();
    vcore::str line = vcore::str::formatted(u"[media>%s] ", to.empty() ? u"all" : to.data());
    line.append(text);
    plugin::hostLog(line);
}

void Tolvanu_system::log(const vcore::str& line)
{
    plugin::hostLog(line);
}

bool Tolvanu_system::isThisHost(const vcore::str& address)
{
    return vnet::isLocalAddress(*this, address.data());
}

vcore::str Tolvanu_system::computerName()
{
    return vcore::computerName();
}
