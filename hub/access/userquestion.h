#pragma once
#include <cstdint>
#include <memory>

#include "hub/access/linegate.h"
#include "vcore/str.h"

namespace hub {

enum class answer { yes, no, unasked };

// The question put to the user at this PC. Windows: a system-modal message box with Yes and No.
// Linux: on the terminal when stdin is one, else in a zenity dialog when a display is present.
class userquestion {
public:
    // Linux: an unanswered question counts as No after this long.
    static constexpr uint32_t answerWaitMs = 60000;

    // terminal: where the log lines meet the question on the terminal (Linux).
    explicit userquestion(linegate& terminal);
    ~userquestion();
    userquestion(const userquestion&) = delete;
    userquestion& operator=(const userquestion&) = delete;

    // Blocks until answered; unasked when there was nobody to ask (Linux without terminal or
    // display).
    answer ask(const vcore::str& question);
    // The hub is going: a question waiting now, and every later one, is answered No.
    void cancel();

private:
    struct impl;
    std::unique_ptr<impl> impl_;
};

} // namespace hub
