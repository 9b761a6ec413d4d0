#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "vcore/alist.h"
#include "vcore/ioport.h"
#include "vcore/str.h"
#include "vnet/socket.h"
#include "vnet/socketwatch.h"

namespace vnet {

// One IPv4 socket (TCP client, TCP server or UDP) with its worker thread, raising
// "onOpen", "onData", "onClose" and "onTimeOut" (the argument of named handlers is the netPort*).
// A class that overrides the handlers calls close() in its own destructor, so that the worker
// is gone before the overrides are. Destruction waits for a worker still inside a handler.
class netPort : public vcore::ioport {
public:
    static constexpr uint32_t flagClient = 0x01;
    static constexpr uint32_t flagServer = 0x02;
    static constexpr uint32_t flagReconnect = 0x04;
    static constexpr uint32_t flagKeepSocket = 0x08;
    static constexpr uint32_t flagMulticast = 0x10;
    static constexpr uint32_t flagDatagram = 0x20;
    static constexpr uint32_t flagOption40 = 0x40;  // carried along, nothing tests it

    static constexpr uint32_t datagramChunk = 32768;
    // Connections a server keeps at once; further ones are accepted and closed at once.
    static constexpr int32_t maxChildren = 256;

    explicit netPort(const char16_t* address = nullptr, uint32_t port = 80,
                     uint32_t flags = flagClient | flagReconnect, int type = sock::typeStream,
                     int protocol = sock::protoTcp);
    ~netPort() override;

    bool open(const char16_t* address = nullptr) override;
    void close() override;
    bool read(void* buffer, uint32_t size, uint32_t& count) override;
    bool write(const void* data, uint32_t size, uint32_t& count) override;
    uint64_t available() override;
    bool isOpen() const override { return socket_.load() != sock::none; }
    bool isWide() const override { return false; }

    virtual bool open(uint32_t address, bool datagram, bool server, uint32_t port, bool option40 = false);
    virtual bool open(const char16_t* address, bool datagram, bool server, uint32_t port, bool option40,
                      bool reconnect);
    virtual bool writeTo(const char16_t* address, const void* data, uint32_t size, uint32_t& count);
    virtual bool writeTo(uint32_t address, const void* data, uint32_t size, uint32_t& count);
    virtual bool isConnected() const;

    // A port opened while the worker is held binds its socket but serves nothing until
    // startWorker(): a library opens its port at load, when a new thread cannot begin.
    // startWorker() returns once the worker has prepared itself, so that a library unloaded
    // right after finds no thread still waiting for the loader lock the unload holds.
    void holdWorker() { workerHeld_ = true; }
    bool startWorker();
    // close() waits for the worker only so long; an owner about to destroy what the worker's
    // handlers use waits here until it has ended (one that never began is called off).
    void waitWorkerEnd();

    // The text convention's writer: the text's narrow bytes, no terminator, to address.
    bool sendText(const vcore::str& text, uint32_t address);
    // Remote address becomes 255.255.255.255 and the socket may broadcast.
    bool setBroadcast();

    sock::handle socketHandle() const { return socket_.load(); }
    uint32_t nameAddress() const { return nameAddress_; }
    uint32_t remoteAddress() const { return remoteAddress_; }
    uint32_t remotePort() const { return remotePort_; }
    uint32_t lastSender() const { return lastSender_; }
    bool lastSenderIsLocal() const { return lastSenderLocal_; }
    bool connected() const { return connected_; }
    uint32_t flags() const { return flags_; }
    void setFlags(uint32_t flags) { flags_ = flags; }
    int socketType() const { return type_; }
    void setSocketType(int type) { type_ = type; }
    int protocol() const { return protocol_; }
    void setProtocol(int protocol) { protocol_ = protocol; }
    bool deleteChildren() const { return deleteChildren_; }
    void setDeleteChildren(bool on) { deleteChildren_ = on; }

    // Accepted connections still open; a child may close (and be deleted) at any time.
    int32_t childCount() const;
    netPort* child(int32_t index) const;
    // The server that accepted this port, or none.
    netPort* parent() const;

    // This host's addresses as the socket sees them (cached for a second).
    bool localAddresses(std::vector<uint32_t>& out) const;
    // Whether address is in that list (false when it cannot be read).
    bool hasLocalAddress(uint32_t address) const;

protected:
    void run() override;

private:
    enum class eventKind { open, close, data, timeOut };
    struct attempt {
        bool usable = false;
        bool announce = false;  // a datagram client was bound: "onOpen" is due
    };

    // setup and teardown (netport.cpp)
    bool createSocket();
    void closeSocket();
    void releaseDatagram();
    bool onWorker() const;
    bool launchWorker();
    // On the worker before it serves: whatever needs the system's loader the first time.
    virtual void prepareWorker() {}
    void setRemote(uint32_t address, const vcore::str& text, bool textIsAddress);
    bool refreshLocalCache() const;

    // bind-or-connect (netport_connect.cpp)
    bool bindOrConnect();
    attempt tryBindOrConnect();
    attempt connectClient(sock::handle s);
    attempt bindDatagramClient(sock::handle s);
    attempt bindServer(sock::handle s);
    uint32_t boundPort(sock::handle s);

    // worker (netport_worker.cpp)
    void serve(sock::handle s);
    bool renewSocket(sock::handle& s);
    bool attemptDue() const;
    unsigned interests() const;
    void handle(const netEvents& events);
    void connectFinished(int error);
    void peerClosed();
    void dataArrived(bool received);
    bool receiveSoon(sock::handle s);
    bool quickSuccession(std::chrono::steady_clock::time_point waitStart) const;
    void accepted();
    void leaveWorker();
    void raise(eventKind kind);
    bool virtualHandler(eventKind kind, netPort* port);

    // reading and writing (netport_io.cpp)
    uint64_t availableLocked();
    uint8_t* datagramRoom();
    void holdDatagram(uint32_t from, uint32_t length);
    bool readLocked(void* buffer, uint32_t size, uint32_t& count);
    void trackSender(uint32_t address);
    bool sendDatagrams(uint32_t address, const void* data, uint32_t size, uint32_t& count);
    bool writeChildren(const uint32_t* address, const void* data, uint32_t size, uint32_t& count);
    uint32_t writeTarget() const;

    // children (netport_children.cpp)
    void adopt(sock::handle s, uint32_t address, uint32_t port, netPort* server);
    bool addChild(netPort* child);
    void retireChild(netPort* child);
    void leaveParent();
    void detachParent();
    void closeChildren();
    void reapRetired(bool wait);

    std::atomic<sock::handle> socket_{sock::none};
    std::atomic<uint32_t> nameAddress_{0};
    std::atomic<uint32_t> remoteAddress_{0};
    std::atomic<uint32_t> remoteTarget_{0};  // what the remote text resolves to, 0 when unknown
    std::atomic<uint32_t> remotePort_{0};
    std::atomic<bool> connected_{false};
    std::atomic<uint32_t> lastSender_{0};
    std::atomic<bool> lastSenderLocal_{false};
    std::atomic<uint32_t> flags_;
    std::atomic<int> type_;
    std::atomic<int> protocol_;
    bool socketLibrary_ = false;

    // Guards the socket's life and every operation on it, and the datagram buffer.
    std::mutex ioLock_;
    sock::handle orphan_ = sock::none;  // closed by the worker, which may still be using it
    bool workerActive_ = false;
    std::atomic<bool> workerHeld_{false};
    vcore::event workerReady_{true, false};
    std::vector<uint8_t> datagram_;
    uint32_t datagramLength_ = 0;
    uint32_t datagramRead_ = 0;
    bool datagramHeld_ = false;
    bool datagramUnclaimed_ = false;  // received by the worker, not yet asked for
    bool workerReceiving_ = false;    // the worker fills datagram_ outside the lock
    // Room for the largest datagram.
    static constexpr size_t datagramLimit = 65536;

    // Worker-only state (set by open before the worker starts).
    socketwatch watch_{socketEvent_};
    std::atomic<std::thread::id> workerId_{};
    bool connecting_ = false;
    bool connectFailed_ = false;
    bool peerClosed_ = false;
    bool attempted_ = false;
    bool lastWaitTimedOut_ = false;
    bool lingering_ = false;  // in a run of datagrams: the next may follow at once
    std::chrono::steady_clock::time_point lastAttempt_{};

    mutable std::mutex childrenLock_;
    vcore::alist<netPort> children_{256};
    std::vector<netPort*> retired_;  // closed children waiting for their worker to end
    std::atomic<bool> deleteChildren_{false};
    mutable std::recursive_mutex parentLock_;  // held while a child calls into its server
    netPort* parent_ = nullptr;

    mutable std::mutex localCacheLock_;
    mutable std::vector<uint32_t> localCache_;
    mutable std::chrono::steady_clock::time_point localCacheTime_{};
    mutable sock::handle localCacheSocket_ = sock::none;
};

} // namespace vnet
