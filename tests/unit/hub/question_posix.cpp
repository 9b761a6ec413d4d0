// The hub's own access question on Linux when there is nobody to ask.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "hub/tolvanu_com.h"
#include "profile.h"

namespace {

std::string narrow(const vcore::str& s)
{
    std::string out;
    for (int32_t i = 0; i < s.length(); ++i)
        out += s[i] < 128 ? char(s[i]) : '?';
    return out;
}

TEST(HubQuestion, NobodyToAskIsANoAndSaysSoInTheLog)
{
    scratchProfile profile;
    const int savedStdin = dup(STDIN_FILENO);
    const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
    dup2(nothing, STDIN_FILENO);
    close(nothing);
    const std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    const std::string wayland = std::getenv("WAYLAND_DISPLAY") ? std::getenv("WAYLAND_DISPLAY") : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");

    Tolvanu_Com com;
    com.setLevel(-1);
    int32_t port = -1;
    EXPECT_FALSE(com.openRequested(vcore::str(u"media"), vcore::str(u"Pho\x1bne:1234"), port));
    EXPECT_EQ(0, port);
    EXPECT_EQ("Do you want to give access to Pho\x1bne? (no terminal or display to ask: refused)",
              narrow(com.ring().newest(0)));

    if (!display.empty())
        setenv("DISPLAY", display.c_str(), 1);
    if (!wayland.empty())
        setenv("WAYLAND_DISPLAY", wayland.c_str(), 1);
    dup2(savedStdin, STDIN_FILENO);
    close(savedStdin);
}

} // namespace
