#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// A Winamp as its window messages show it: play list (wide titles in heap memory), play state,
// position, volume, shuffle, repeat and ratings. Thread-safe; the tests read and set it directly.
namespace standin {

class winampModel {
public:
    struct state {
        std::vector<std::wstring> titles;
        int32_t current = 0;
        int32_t playState = 0;  // 1 playing, 3 paused, 0 stopped
        int32_t positionMs = 0;
        int32_t lengthMs = 0;   // 0: unknown
        int32_t volume = 255;
        int32_t shuffle = 0;
        int32_t repeat = 0;
        std::map<int32_t, int32_t> ratings;  // by entry
        intptr_t version = 0x5066;
        bool countOverride = false;   // answer countAnswer to IPC 124 instead of the list's size
        intptr_t countAnswer = 0;
        bool nullTitles = false;      // IPC 213 answers null
    };

    // One WM_USER message: IPC ipc with wParam.
    intptr_t answer(intptr_t wParam, intptr_t ipc);
    // One WM_COMMAND button.
    void press(int id);

    state get() const;
    template <class F>
    void change(F f)
    {
        std::lock_guard<std::mutex> hold(lock_);
        f(state_);
    }
    // How often an IPC was asked, and the buttons pressed so far.
    int asked(intptr_t ipc) const;
    std::vector<int> pressed() const;

private:
    intptr_t titleAddress(intptr_t index);

    mutable std::mutex lock_;
    state state_;
    std::map<intptr_t, int> asked_;
    std::vector<int> pressed_;
};

} // namespace standin
