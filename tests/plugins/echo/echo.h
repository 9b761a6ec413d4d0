#pragma once
#include "plugins/common/session.h"

// A test service on the plug-in frame: answers every command with "echo.reply <command>
// <argument>" and, once the client asked for the state, reports "echo.ping" at each poll.
class Tolvanu_echo : public plugin::session {
public:
    static constexpr uint32_t pollMs = 200;

    Tolvanu_echo() : session(u"echo.Test") {}
    ~Tolvanu_echo() override { close(); }

    bool present() override { return true; }

protected:
    uint32_t pollPeriod() const override { return pollMs; }
    uint32_t closePause() const override { return 20; }
    bool reopensOnConnect() const override { return false; }
    bool dispatch(const vcore::str& name, const vcore::str& argument) override;
    void poll() override;
};
