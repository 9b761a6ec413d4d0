#pragma once
#include <map>
#include <string>
#include <vector>

#include "tests/unit/media/narrow.h"
#include "plugins/vlc/replyparser.h"
#include "plugins/vlc/vlccommands.h"
#include "plugins/vlc/vlcshell.h"

// A shell that records what the operations send, and plays VLC by feeding scripted reply
// lines through the real reply parser, as the remote-control port's worker would.
class fakeShell : public vlc::vlcShell {
public:
    explicit fakeShell(vlc::vlcState& state) : parser_(state) {}

    std::vector<std::string> commands;
    std::vector<std::string> reports;
    std::map<std::string, std::vector<std::u16string>> replies;  // by trimmed command
    bool repliesComplete = true;
    bool lockFree = true;
    int locksTaken = 0;
    int locksReleased = 0;
    uint32_t ownAddress = 0xC0A80105;

    bool sendCommand(const vcore::str& text) override
    {
        commands.push_back(narrow(text));
        const vcore::str last = vlc::lastCommandOf(text);
        const auto found = replies.find(narrow(last));
        if (found == replies.end())
            return repliesComplete;
        parser_.beginData();
        for (const auto& line : found->second) {
            const vlc::lineOutcome out = parser_.feedLine(vcore::str(line.c_str()), last);
            for (const auto& r : out.reports)
                reports.push_back(narrow(r));
            if (out.replyComplete)
                break;
        }
        return repliesComplete;
    }

    bool sendReport(const vcore::str& text) override
    {
        reports.push_back(narrow(text));
        return true;
    }

    bool lockState(int32_t) override
    {
        if (lockFree)
            ++locksTaken;
        return lockFree;
    }

    void unlockState() override { ++locksReleased; }
    bool isOwnAddress(uint32_t address) override { return address == ownAddress; }
    vcore::str computerName() override { return vcore::str(u"DESK"); }

    void forget()
    {
        commands.clear();
        reports.clear();
    }

private:
    vlc::replyParser parser_;
};
