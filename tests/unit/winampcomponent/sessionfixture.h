#pragma once
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugins/winamp_component/componentsession.h"
#include "tests/doubles/winamp/fakewindow.h"

// A component session over the fake window, recording what it sends and its pauses.
class recordingOutbox : public winamp::outbox {
public:
    std::vector<std::u16string> sent;
    std::vector<std::u16string> trail;  // sends and pauses in order
    int broadcasts = 0;

    void send(const vcore::str& report) override
    {
        sent.emplace_back(report.data(), size_t(report.length()));
        trail.push_back(sent.back());
    }
    void pause(uint32_t ms) override { trail.push_back(ms == 0 ? u"<yield>" : u"<sleep>"); }
    void toBroadcast() override { ++broadcasts; }
};

class ComponentSession : public ::testing::Test {
protected:
    standin::winampModel model;
    standin::fakeWindow window{model};
    recordingOutbox out;
    vcore::semaphore lock;
    winamp::componentSession session{window, out, lock,
                                     {vcore::str(u"BENCH"), [](uint32_t a) { return a == 0x0A000002; }}};

    void run(const char16_t* text, bool fromThisHost = false)
    {
        session.command(vcore::str(text), fromThisHost);
    }
    std::vector<std::u16string> take()
    {
        std::vector<std::u16string> s;
        s.swap(out.sent);
        out.trail.clear();
        return s;
    }
    bool sentReport(const std::u16string& report) const
    {
        for (const auto& s : out.sent)
            if (s == report)
                return true;
        return false;
    }
    void playlist(std::vector<std::wstring> titles, int32_t current)
    {
        model.change([&](standin::winampModel::state& s) {
            s.titles = std::move(titles);
            s.current = current;
        });
    }
};
