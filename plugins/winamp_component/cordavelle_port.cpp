#include "plugins/winamp_component/cordavelle_port.h"

#include <chrono>
#include <thread>

#include "vcore/computername.h"
#include "vnet/address.h"
#include "plugins/winamp_component/winampipc.h"

Cordavelle_port::Cordavelle_port()
    : session_(window_, *this, stateLock(),
               winamp::componentSession::host{
                   vcore::computerName(),
                   [this](uint32_t address) { return vnet::isLocalAddress(*this, address); }})
{
}

Cordavelle_port::~Cordavelle_port()
{
    close();
}

bool Cordavelle_port::start()
{
    if (isOpen())
        return true;
    if (!window_.find())
        return false;
    setTimeOut(pollPeriodMs);
    return open(0u, true, true, winamp::componentPort);
}

void Cordavelle_port::stop()
{
    if (isOpen())
        send(vcore::str(u"media.close"));
    close();
}

bool Cordavelle_port::onData(vcore::ioport*)
{
    std::this_thread::yield();
    vcore::str text;
    while (available() > 0) {
        while (readString(text)) {
            text.fromUtf8();
            session_.command(text, lastSenderIsLocal());
        }
    }
    return true;
}

bool Cordavelle_port::onTimeOut(vcore::ioport*)
{
    session_.poll();
    return true;
}

void Cordavelle_port::send(const vcore::str& report)
{
    // One byte per character (above 255: '?'), with the terminating NUL.
    vcore::str bytes(report);
    const vcore::str to = remoteText();
    uint32_t count = 0;
    writeTo(to.data(), bytes.narrow(), uint32_t(bytes.length()) + 1, count);
}

void Cordavelle_port::pause(uint32_t ms)
{
    if (ms == 0)
        std::this_thread::yield();
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void Cordavelle_port::toBroadcast()
{
    setBroadcast();
}
