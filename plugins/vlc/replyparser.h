#pragma once
#include <cstdint>
#include <vector>

#include "plugins/vlc/lineparts.h"
#include "plugins/vlc/vlcstate.h"
#include "vcore/str.h"

// Turns VLC's reply and status lines, one at a time, into changes of the remembered state.
namespace vlc {

// What one line brought, for the shell to carry out.
struct lineOutcome {
    std::vector<vcore::str> reports;   // to the client, in order
    std::vector<vcore::str> logLines;  // to the hub's log
    bool restartReply = false;         // set reply-started again
    bool replyComplete = false;        // set reply-done and stop reading for now
};

class replyParser {
public:
    // Entries beyond this are dropped: the list is held in memory and reported whole.
    static constexpr int32_t maxListEntries = 65536;

    explicit replyParser(vlcState& state) : state_(state) {}

    // Each time data arrives, before its lines. The entry counter starts again, unless a play
    // list listing is still open: a long list arrives in several pieces.
    void beginData();
    // lastCommand: the last command sent, trimmed.
    lineOutcome feedLine(const vcore::str& line, const vcore::str& lastCommand);

private:
    bool headRule(const vcore::str& line, const lineParts& parts, lineOutcome& out);
    void statusChange(const lineParts& parts, lineOutcome& out);
    void playStateChange(vcore::strview key, vcore::strview tail, lineOutcome& out);
    void positionLine(const vcore::str& line);
    void settingLine(vcore::strview head, lineOutcome& out);
    void firstCharRule(const vcore::str& line, const vcore::str& lastCommand, lineOutcome& out);
    void listLine(const vcore::str& line, lineOutcome& out);
    void entryLine(const vcore::str& line);
    void answerLine(const vcore::str& line, const vcore::str& lastCommand, lineOutcome& out);

    vlcState& state_;
    int32_t entryCounter_ = -1;  // 0: list header seen, above 0: inside the play list node
    bool listing_ = false;       // between a list header and its end
};

} // namespace vlc
