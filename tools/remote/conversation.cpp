#include "tools/remote/conversation.h"

#include <chrono>
#include <iostream>
#include <string>
#include <thread>

#include "tools/remote/hubclient.h"
#include "tools/remote/opening.h"
#include "tools/remote/output.h"
#include "tools/remote/sessionlink.h"
#include "vcore/nativepath.h"

namespace remote {

namespace {

using std::chrono::milliseconds;

// How long the service has to say goodbye after "close".
constexpr milliseconds closeWait{1000};

// An open session with its link; closed at the hub when it goes out of scope.
class conversation {
public:
    explicit conversation(const options& o) : options_(o), link_([](const vcore::str& report) { printLine(report); }) {}
    ~conversation() { finish(); }

    status begin()
    {
        const status opened = openSession(client_, options_, options_.classes.front(), session_);
        if (opened != status::done)
            return opened;
        open_ = true;
        if (link_.open(session_))
            return status::done;
        vcore::str message;
        message.format(u"cannot open UDP port %u for the session's reports", session_.port);
        printMessage(message);
        return status::failure;
    }

    bool send(const vcore::str& command) { return link_.send(command); }
    const sessionInfo& session() const { return session_; }

    void finish()
    {
        if (!open_)
            return;
        open_ = false;
        client_.sendClose(session_.service, session_.hub);
        link_.waitForClose(std::chrono::steady_clock::now() + closeWait);
        link_.close();
    }

private:
    const options& options_;
    hubClient client_;
    sessionInfo session_;
    bool open_ = false;
    sessionLink link_;
};

vcore::str commandLine(std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return vcore::fromNativePath(line.c_str());
}

} // namespace

status sendOne(const options& o)
{
    conversation talk(o);
    if (const status opened = talk.begin(); opened != status::done)
        return opened;
    if (!talk.send(o.command)) {
        printMessage(vcore::str(u"the command could not be sent"));
        return status::failure;
    }
    std::this_thread::sleep_for(milliseconds(o.waitMs));
    return status::done;
}

status converse(const options& o)
{
    conversation talk(o);
    if (const status opened = talk.begin(); opened != status::done)
        return opened;
    vcore::str message;
    message.format(u"session \"%s\" at %s, port %u: one command per line, end of input closes it",
                   talk.session().service.data(), talk.session().hub.data(), talk.session().port);
    printMessage(message);
    std::string line;
    bool sent = false;
    while (std::getline(std::cin, line)) {
        const vcore::str command = commandLine(line);
        if (command.empty())
            continue;
        if (!talk.send(command))
            printMessage(vcore::str(u"the command could not be sent"));
        sent = true;
    }
    // "close" travels to the hub, the commands to the service: without a pause the close can
    // overtake the last command, whose reports would then be lost.
    if (sent)
        std::this_thread::sleep_for(milliseconds(o.waitMs));
    return status::done;
}

} // namespace remote
