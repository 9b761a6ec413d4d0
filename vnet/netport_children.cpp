#include "vnet/netport.h"

#include "vnet/address.h"

namespace vnet {

// Takes over an accepted connection as a connected client port of server.
void netPort::adopt(sock::handle s, uint32_t address, uint32_t port, netPort* server)
{
    socket_ = s;
    remotePort_ = port;
    vcore::str text = formatAddress(address);
    setRemote(address, text, true);
    name_ = text;
    parent_ = server;
    connected_ = true;
    setThreaded(true);
    flags_ = flagClient;
    type_ = server->type_.load();
    protocol_ = server->protocol_.load();
    setTimeOut(server->timeOut());
}

bool netPort::addChild(netPort* child)
{
    std::lock_guard<std::mutex> hold(childrenLock_);
    return children_.count() < maxChildren && children_.append(child);
}

// A child whose peer closed leaves the list; the server deletes it later when asked to.
void netPort::retireChild(netPort* child)
{
    std::lock_guard<std::mutex> hold(childrenLock_);
    int32_t index = children_.indexOf(child);
    if (index < 0)
        return;
    children_.take(index);
    if (deleteChildren_) {
        retired_.push_back(child);
        socketEvent_.set();
    }
}

void netPort::leaveParent()
{
    std::lock_guard<std::recursive_mutex> hold(parentLock_);
    if (parent_)
        parent_->retireChild(this);
    parent_ = nullptr;
}

// Waits until this child is out of any call into its server, then forgets the server.
void netPort::detachParent()
{
    std::lock_guard<std::recursive_mutex> hold(parentLock_);
    parent_ = nullptr;
}

void netPort::closeChildren()
{
    std::vector<netPort*> taken;
    {
        std::lock_guard<std::mutex> hold(childrenLock_);
        while (children_.count() > 0)
            taken.push_back(children_.take(children_.count() - 1));
    }
    for (netPort* child : taken) {
        child->detachParent();
        child->close();
        if (!deleteChildren_)
            continue;
        std::lock_guard<std::mutex> hold(childrenLock_);
        retired_.push_back(child);
    }
    reapRetired(true);
}

// Deletes retired children whose worker has ended (or, with wait, once it has).
void netPort::reapRetired(bool wait)
{
    std::vector<netPort*> done;
    {
        std::lock_guard<std::mutex> hold(childrenLock_);
        for (auto it = retired_.begin(); it != retired_.end();) {
            netPort* child = *it;
            bool finished = !child->isRunning() || (wait && !child->onWorker());
            if (finished) {
                done.push_back(child);
                it = retired_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (netPort* child : done)
        delete child;
}

int32_t netPort::childCount() const
{
    std::lock_guard<std::mutex> hold(childrenLock_);
    return children_.count();
}

netPort* netPort::child(int32_t index) const
{
    std::lock_guard<std::mutex> hold(childrenLock_);
    return children_.at(index);
}

netPort* netPort::parent() const
{
    std::lock_guard<std::recursive_mutex> hold(parentLock_);
    return parent_;
}

} // namespace vnet
