#pragma once
#include <atomic>
#include <cstdint>

#include "vcore/event.h"
#include "vnet/socket.h"

namespace vnet {

// Network events of one wake-up, as the worker handles them.
struct netEvents {
    bool connect = false;
    int connectError = 0;
    bool close = false;
    bool read = false;
    bool accept = false;
};

// The worker's single wait: a socket's network events or its wake event, up to a time-out.
// Windows binds the socket to the event (WSAEventSelect); POSIX polls the socket and the
// event's descriptor, and mimics Winsock's once-until-received read notice.
class socketwatch {
public:
    enum : unsigned { wantRead = 1, wantAccept = 2, wantConnect = 4, wantClose = 8 };
    enum class outcome { events, timeOut, woken };

    explicit socketwatch(vcore::event& wake) : wake_(wake) {}
    socketwatch(const socketwatch&) = delete;
    socketwatch& operator=(const socketwatch&) = delete;

    // Starts watching s (read, accept, connect and close notices).
    bool attach(sock::handle s);
    // interests says what the port can use now (POSIX polls only for that).
    outcome wait(unsigned interests, uint32_t ms, netEvents& out);
    // A receive happened: a read notice may come again. From another thread than the
    // worker, the worker is woken to watch for it.
    void received(bool onWorker);
    // Whether a read notice may come now: the last one has been followed by a receive.
    bool readArmed() const { return readArmed_.load(std::memory_order_acquire); }
    // The worker received a datagram itself and announces it: as after a read notice, none
    // comes until it is taken.
    void noticed() { readArmed_.store(false, std::memory_order_release); }

private:
    vcore::event& wake_;
    sock::handle socket_ = sock::none;
    std::atomic<bool> readArmed_{true};
};

} // namespace vnet
