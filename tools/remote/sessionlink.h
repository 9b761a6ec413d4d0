#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "tools/remote/seeker.h"
#include "vcore/str.h"
#include "vnet/netport.h"

namespace remote {

// The client's end of a session: bound to the session's port number, because the service
// sends its reports to that number; commands go to the hub at the same number.
class sessionLink {
public:
    using reportHandler = std::function<void(const vcore::str& report)>;

    // onReport runs on the port's worker, once per report from the hub.
    explicit sessionLink(reportHandler onReport);
    ~sessionLink();

    bool open(const sessionInfo& session);
    void close();
    // One command as UTF-8 in one datagram.
    bool send(const vcore::str& command);
    // Waits until the service said "media.close", or the deadline passed.
    bool waitForClose(timePoint deadline);

private:
    void onPortData(void* port);
    bool nextDatagram(vcore::str& text);

    reportHandler onReport_;
    uint32_t hub_ = 0;
    std::mutex lock_;
    std::condition_variable closeSeen_;
    bool closed_ = false;
    // Last, so that its worker is gone before the members it calls into.
    vnet::netPort port_;
};

} // namespace remote
