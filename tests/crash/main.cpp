// Kills a settings write or a vlcrc rewrite at random moments and checks what each kill left.
//   crashsafety settings|vlcrc ROUNDS [SEED]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "crashcase.h"
#include "killer.h"

using namespace crash;

namespace {

constexpr int calibrationRuns = 9;

int usage()
{
    std::fprintf(stderr, "usage: crashsafety settings|vlcrc ROUNDS [SEED]\n");
    return 2;
}

bool calibrate(crashCase& subject, killer& kills, std::string& why)
{
    std::vector<std::chrono::nanoseconds> lengths;
    for (int run = 0; run < calibrationRuns; ++run) {
        found result;
        int leftovers = 0;
        if (!subject.beginRound(-1 - run, why))
            return false;
        const auto length = killer::timeWhole([&] { return subject.write(); });
        if (!length) {
            why = "a write that nobody killed failed";
            return false;
        }
        if (!subject.judge(result, leftovers, why))
            return false;
        lengths.push_back(*length);
    }
    std::sort(lengths.begin(), lengths.end());
    kills.setWindow(lengths[lengths.size() / 2]);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    std::unique_ptr<crashCase> subject = std::strcmp(argv[1], "settings") == 0 ? settingsCase()
                                        : std::strcmp(argv[1], "vlcrc") == 0  ? vlcrcCase()
                                                                              : nullptr;
    const int rounds = std::atoi(argv[2]);
    const unsigned seed = argc > 3 ? unsigned(std::strtoul(argv[3], nullptr, 10)) : std::random_device{}();
    if (!subject || rounds <= 0)
        return usage();

    std::string why;
    killer kills(seed);
    if (!subject->setUp(why) || !calibrate(*subject, kills, why)) {
        std::printf("FAIL %s: %s\n", argv[1], why.c_str());
        return 1;
    }
    int killedOld = 0, killedNew = 0, finished = 0, withLeftovers = 0;
    for (int round = 0; round < rounds; ++round) {
        if (!subject->beginRound(round, why)) {
            std::printf("FAIL %s round %d: %s\n", argv[1], round, why.c_str());
            return 1;
        }
        const ending end = kills.strike([&] { return subject->write(); });
        found result;
        int leftovers = 0;
        if (end == ending::failed || !subject->judge(result, leftovers, why)) {
            if (end == ending::failed)
                why = "the writer failed or died of something else than the kill";
            std::printf("FAIL %s round %d (seed %u): %s\n", argv[1], round, seed, why.c_str());
            return 1;
        }
        finished += end == ending::finished;
        killedOld += end == ending::killed && result == found::oldContent;
        killedNew += end == ending::killed && result == found::newContent;
        withLeftovers += leftovers > 0;
    }
    std::printf("%s: %d rounds (seed %u), a whole write takes %.2f ms; killed before the new file was in place %d, "
                "after %d; finished before the kill %d; kills that left a temporary file %d\n",
                argv[1], rounds, seed, double(kills.window().count()) / 1e6, killedOld, killedNew, finished,
                withLeftovers);
    // Kills that all land before or all after the replacement test nothing.
    if (rounds >= 50 && (killedOld < rounds / 50 || killedNew + finished < rounds / 50)) {
        std::printf("FAIL %s: the kills did not spread over the write\n", argv[1]);
        return 1;
    }
    return 0;
}
