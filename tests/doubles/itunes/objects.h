#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include <windows.h>
#include <oaidl.h>

// The stand-in player's state and its automation objects. Objects name their playlist and
// track by position, so one whose entry is gone answers failure.
namespace player {

struct trackRec {
    std::wstring name, artist;
    long duration = 0, order = 0, rating = 0;
};

struct playlistRec {
    long id = 0;
    bool shuffle = false;
    long repeat = 0;
    std::vector<trackRec> tracks;
};

struct model {
    std::mutex lock;
    std::vector<playlistRec> lists;
    int currentList = 0;   // -1: none
    int currentTrack = 0;  // -1: none
    long state = 0, position = 0, volume = 50;
    long stallMs = 0;
    bool countForced = false;
    long forcedCount = 0;
    std::atomic<long> stalling{0};
    long playedOrder = -1;  // play order of the last track played by its own Play
};

model& theModel();
// Live objects; the server ends when the last one goes.
extern std::atomic<long> liveObjects;
void objectGone();

IDispatch* makeApp();
// With a state file (--state FILE): its one line is rewritten after every player call.
extern std::wstring stateFile;
void writeState();
// Withdraws the class object and ends the process abruptly.
void die();
ITypeInfo* typeInfoOf(REFIID dispinterface);
extern const IID iidApp;

} // namespace player
