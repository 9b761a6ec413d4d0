#include <thread>

#include "plugins/common/hostlink.h"
#include "plugins/common/session.h"
#include "vnet/address.h"

namespace plugin {
namespace {

// The requests after which the client wants to hear about changes.
bool isStateRequest(media::mediaCommand command)
{
    using media::mediaCommand;
    return command == mediaCommand::getComplete || command == mediaCommand::getList ||
           command == mediaCommand::getShortlist || command == mediaCommand::getState;
}

} // namespace

bool session::onData(vcore::ioport*)
{
    // Lets the sender finish what it is writing before the reading starts.
    std::this_thread::yield();
    vcore::str text;
    while (available() > 0) {
        while (readString(text))
            receive(text);
    }
    return true;
}

bool session::fromThisHost() const
{
    return vnet::isLocalAddress(*this, remoteAddress());
}

void session::receive(vcore::str& text)
{
    text.fromUtf8();
    if (text.empty() || fromThisHost())
        return;
    vcore::str line;
    line.format(u"[media:%s] %s", remoteText().data(), text.data());
    hostLog(line);
    media::mediaMessage message = split(text);
    if (isStateRequest(message.command()))
        active_ = true;
    dispatch(message.name, message.argument);
}

bool session::sendReport(const vcore::str& text)
{
    vcore::str bytes(text);
    const vcore::str to = remoteText();
    uint32_t count = 0;
    // A session never opened is still a stream port, whose writeTo claims success sending nothing.
    const bool sent = isOpen() && writeTo(to.data(), bytes.narrow(), uint32_t(bytes.length()), count);
    vcore::str line;
    line.format(u"[media>%s] ", to.empty() ? u"all" : to.data());
    line.append(text);
    hostLog(line);
    return sent;
}

bool session::onTimeOut(vcore::ioport*)
{
    if (active_)
        poll();
    return true;
}

} // namespace plugin
