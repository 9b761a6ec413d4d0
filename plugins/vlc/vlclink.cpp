#include "plugins/vlc/vlclink.h"

#include <thread>
#include <utility>

#include "plugins/vlc/unlocked.h"
#include "plugins/vlc/vlccommands.h"

namespace vlc {
namespace {

constexpr uint32_t readChunk = 4096;
constexpr int32_t highestPort = 65535;

} // namespace

vlcLink::vlcLink(vlcState& state, std::mutex& access, replySink& sink)
    : access_(access), sink_(sink), parser_(state)
{
    port_.addHandler(vcore::str(u"onOpen"), this, &vlcLink::opened);
    port_.addHandler(vcore::str(u"onData"), this, &vlcLink::dataArrived);
}

vlcLink::~vlcLink()
{
    close();
}

bool vlcLink::open(int32_t port)
{
    if (port <= 0 || port > highestPort)
        return false;
    return port_.open(0u, false, false, uint32_t(port));
}

void vlcLink::close()
{
    port_.close();
}

bool vlcLink::sendCommand(const vcore::str& text)
{
    lastCommand_ = lastCommandOf(text);
    started_.reset();
    done_.reset();
    vcore::str bytes(text);
    const uint32_t size = uint32_t(bytes.length());
    uint32_t written = 0;
    if (!port_.write(bytes.narrow(), size, written) || written != size)
        return false;
    const uint32_t replyWait = uint32_t(replyWaitMs(lastCommand_));
    unlocked waiting(access_);
    return started_.wait(uint32_t(replyStartWaitMs)) && done_.wait(replyWait);
}

// A new connection starts clean: nothing of a line cut off by the last one belongs to it.
void vlcLink::opened(void*)
{
    std::lock_guard<std::mutex> hold(access_);
    lines_.clear();
}

void vlcLink::dataArrived(void*)
{
    // Lets VLC finish writing what belongs together.
    std::this_thread::yield();
    started_.set();
    char buffer[readChunk];
    std::vector<lineOutcome> outcomes;
    {
        std::lock_guard<std::mutex> hold(access_);
        uint32_t count = 0;
        while (port_.available() > 0 && port_.read(buffer, readChunk, count) && count > 0)
            lines_.push(buffer, count);
        parseLines(outcomes);
    }
    for (const lineOutcome& outcome : outcomes)
        sink_.deliver(outcome);
}

// Lines after a complete reply are taken at once, as a new arrival: VLC often follows its
// answer with status lines, and the next command must not meet them as its own reply.
void vlcLink::parseLines(std::vector<lineOutcome>& outcomes)
{
    parser_.beginData();
    vcore::str line;
    while (lines_.next(line)) {
        lineOutcome outcome = parser_.feedLine(line, lastCommand_);
        if (outcome.restartReply)
            started_.set();
        const bool complete = outcome.replyComplete;
        outcomes.push_back(std::move(outcome));
        if (!complete)
            continue;
        done_.set();
        if (lines_.hasLine()) {
            parser_.beginData();
            started_.set();
        }
    }
}

} // namespace vlc
