// Named event handlers: registration, order, emission and the sender.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "vcore/vobject.h"

namespace {

using vcore::vObject;

struct recorder {
    std::vector<std::string>* log;
    std::string tag;
    void* lastArg = nullptr;

    void onData(void* arg)
    {
        lastArg = arg;
        log->push_back(tag);
    }
    void onTimeOut() { log->push_back(tag + ":timeout"); }
    bool onClose(void*)
    {
        log->push_back(tag + ":close");
        return true;
    }
};

TEST(VObject, SameHandlerTwiceKeepsOneEntry)
{
    vObject source;
    std::vector<std::string> log;
    recorder r{&log, "r"};
    EXPECT_TRUE(source.addHandler(u"onData", &r, &recorder::onData));
    EXPECT_TRUE(source.addHandler(vcore::str(u"onData"), &r, &recorder::onData));
    EXPECT_EQ(source.handlerCount(), 1);
    EXPECT_EQ(source.emitEvent(u"onData"), 1);
    EXPECT_EQ(log.size(), 1u);

    // Another name, receiver or member function is another entry.
    recorder other{&log, "other"};
    EXPECT_TRUE(source.addHandler(u"onOpen", &r, &recorder::onData));
    EXPECT_TRUE(source.addHandler(u"onData", &other, &recorder::onData));
    EXPECT_TRUE(source.addHandler(u"onData", &r, &recorder::onClose));
    EXPECT_EQ(source.handlerCount(), 4);
}

TEST(VObject, HandlersRunInRegistrationOrderWithTheArgument)
{
    vObject source;
    std::vector<std::string> log;
    recorder first{&log, "first"}, second{&log, "second"};
    source.addHandler(u"onData", &first, &recorder::onData);
    source.addHandler(u"onTimeOut", &first, &recorder::onTimeOut);
    source.addHandler(u"onData", &second, &recorder::onData);

    int port = 0;
    EXPECT_EQ(source.emitEvent(u"onData", &port), 2);
    EXPECT_EQ(log, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(first.lastArg, &port);
    EXPECT_EQ(second.lastArg, &port);

    EXPECT_EQ(source.emitEvent(vcore::str(u"onTimeOut")), 1);
    EXPECT_EQ(log.back(), "first:timeout");
    EXPECT_EQ(source.emitEvent(u"ondata"), 0);  // names are case-sensitive
    EXPECT_EQ(source.emitEvent(u"onClose"), 0);
}

struct selfExtending {
    vObject* source;
    int calls = 0;
    int lateCalls = 0;
    void onData()
    {
        ++calls;
        source->addHandler(u"onData", this, &selfExtending::onLate);
    }
    void onLate() { ++lateCalls; }
};

TEST(VObject, HandlerAddedDuringEmissionRunsFromTheNextOne)
{
    vObject source;
    selfExtending handler{&source};
    source.addHandler(u"onData", &handler, &selfExtending::onData);
    EXPECT_EQ(source.emitEvent(u"onData"), 1);
    EXPECT_EQ(handler.lateCalls, 0);
    EXPECT_EQ(source.emitEvent(u"onData"), 2);
    EXPECT_EQ(handler.lateCalls, 1);
}

// A receiver that is itself an event source, reached through a virtual base as the streams are.
struct relay : virtual vObject {
    vObject* seenSender = nullptr;
    int forwarded = 0;
    void onData(void* arg)
    {
        seenSender = sender();
        forwarded = emitEvent(u"log", arg);
    }
};
struct relayChild : relay {};

struct sink {
    void* got = nullptr;
    void onLog(void* arg) { got = arg; }
};

TEST(VObject, ReceiverLearnsTheSenderAndMayEmitFromAHandler)
{
    vObject source;
    relayChild middle;
    sink end;
    EXPECT_EQ(middle.sender(), nullptr);
    source.addHandler(u"onData", &middle, &relay::onData);
    middle.addHandler(u"log", &end, &sink::onLog);
    int text = 7;
    EXPECT_EQ(source.emitEvent(u"onData", &text), 1);
    EXPECT_EQ(middle.seenSender, &source);
    EXPECT_EQ(middle.forwarded, 1);
    EXPECT_EQ(end.got, &text);
}

TEST(VObject, TableGrowsPastItsFirstCapacity)
{
    vObject source;
    std::vector<std::string> log;
    std::vector<recorder> receivers(100, recorder{&log, "r"});
    for (auto& r : receivers)
        ASSERT_TRUE(source.addHandler(u"onData", &r, &recorder::onData));
    EXPECT_EQ(source.handlerCount(), 100);
    EXPECT_EQ(source.emitEvent(u"onData"), 100);
}

struct counter {
    std::atomic<int> calls{0};
    void onData() { ++calls; }
};

// An event source as receiver: every emitting thread writes its sender.
struct sharedReceiver : vObject {
    std::atomic<int> fromSource{0};
    void onData()
    {
        if (sender())
            ++fromSource;
    }
};

// Run under ThreadSanitizer: emissions on several threads while handlers are added.
TEST(VObject, EmitsFromSeveralThreadsWhileHandlersAreAdded)
{
    vObject source;
    sharedReceiver target;
    counter hits;
    source.addHandler(u"onData", &hits, &counter::onData);
    source.addHandler(u"onData", &target, &sharedReceiver::onData);

    std::vector<counter> late(50);
    std::atomic<int> counted{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 300; ++i)
                counted += source.emitEvent(u"onData");
        });
    threads.emplace_back([&] {
        for (auto& c : late)
            source.addHandler(u"onTimeOut", &c, &counter::onData);
    });
    for (auto& t : threads)
        t.join();

    EXPECT_EQ(hits.calls.load(), 900);
    EXPECT_EQ(target.fromSource.load(), 900);
    EXPECT_EQ(counted.load(), 1800);
    EXPECT_EQ(source.handlerCount(), 52);
    EXPECT_EQ(source.emitEvent(u"onTimeOut"), 50);
}

} // namespace
