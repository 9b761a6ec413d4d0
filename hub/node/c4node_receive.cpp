// What the node does with each message it hears.
#include "hub/node/c4node_rules.h"

#include "hub/node/c4destination.h"
#include "hub/node/c4text.h"
#include "vnet/address.h"

void C4NodeRules::receive(const vcore::str& message, uint32_t sender, bool senderIsLocal)
{
    lastSender_ = sender;
    // Deaf to this host's own broadcasts.
    if (senderIsLocal || sender == vnet::loopbackAddress)
        return;
    vcore::strtokens_var fields(u';');
    fields.split(message);
    const incoming in{fields, sender, vnet::formatAddress(sender)};
    link_.log(vcore::str::formatted(u"[in:%s] %s", in.senderText.data(), message.data()));
    if (const rule handle = ruleFor(fields.token(0)))
        (this->*handle)(in);
}

C4NodeRules::rule C4NodeRules::ruleFor(vcore::strview command)
{
    static const struct {
        const char16_t* word;
        rule handle;
    } rules[] = {
        {u"whois", &C4NodeRules::onWhois},       {u"whoami", &C4NodeRules::onWhoami},
        {u"youare", &C4NodeRules::onYouare},     {u"thankyou", &C4NodeRules::onThankyou},
        {u"search", &C4NodeRules::onSearch},     {u"server", &C4NodeRules::onServer},
        {u"open", &C4NodeRules::onOpen},         {u"connect", &C4NodeRules::onConnect},
        {u"close", &C4NodeRules::onClose},
    };
    for (const auto& r : rules)
        if (command.equals(r.word))
            return r.handle;
    return nullptr;
}

void C4NodeRules::onWhois(const incoming&)
{
    askIdentity();
}

void C4NodeRules::onWhoami(const incoming& in)
{
    const vcore::str address = in.field(1);
    if (address.empty())
        send(c4Reply(u"youare", in.senderText), vnet::broadcastAddress);
    else
        send(c4Reply(u"youare", address), c4Destination(address.view()));
}

void C4NodeRules::onYouare(const incoming& in)
{
    if (learnOwnAddress(in.field(1), 3))
        send(c4Reply(u"thankyou", in.senderText), in.sender);
}

void C4NodeRules::onThankyou(const incoming& in)
{
    learnOwnAddress(in.field(1), 2);
}

void C4NodeRules::onSearch(const incoming& in)
{
    const vcore::str service = in.field(1);
    const int32_t i = find(service);
    if (i >= 0 && entry(i).offered)
        announce(service);
}

void C4NodeRules::onServer(const incoming& in)
{
    const vcore::str service = in.field(1);
    const int32_t i = find(service);
    if (i < 0)
        return;
    const C4Service e = entry(i);
    C4Interface* owner = owner_;
    if (!e.offered && !e.open && owner)
        owner->serverFound(service, in.field(2));
}

void C4NodeRules::onOpen(const incoming& in)
{
    const vcore::str service = in.field(1);
    const vcore::str client = in.field(2);
    const int32_t i = find(service);
    if (i < 0)
        return;
    const C4Service e = entry(i);
    // While open, only the same client may open again (a reconnect).
    if (!e.offered || (e.open && !e.peer.equals(client)))
        return;
    int32_t port = 0;
    C4Interface* owner = owner_;
    if (!owner || !owner->openRequested(service, in.field(3), port))
        return;
    setSession(i, true, &client);
    send(vcore::str::formatted(u"connect;%s;%s;%d;", service.data(), ownAddress().data(), port), in.sender);
}

void C4NodeRules::onConnect(const incoming& in)
{
    const vcore::str service = in.field(1);
    const vcore::str server = in.field(2);
    const int32_t i = find(service);
    C4Interface* owner = owner_;
    if (i < 0 || entry(i).offered || !owner)
        return;
    // "0x" reads hexadecimal, anything without digits 0.
    const int32_t port = in.field(3).toInt();
    if (owner->connectOffered(service, server, port))
        setSession(i, true, &server);
}

void C4NodeRules::onClose(const incoming& in)
{
    const vcore::str service = in.field(1);
    const int32_t i = find(service);
    if (i < 0 || !entry(i).open)
        return;
    if (C4Interface* owner = owner_)
        owner->sessionClosed(service);
    setSession(i, false);
}
