#pragma once
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "plugins/system/faultnotes.h"

struct pa_threaded_mainloop;
struct pa_context;
struct pa_operation;

// The master volume and the beep through a PulseAudio server (or PipeWire's), reached again
// whenever it was away. Every wait is bounded, so a hung server cannot hold the caller.
namespace systemctl {

class pulseSound {
public:
    static constexpr uint32_t waitMs = 1000;

    explicit pulseSound(logSink log);
    ~pulseSound();
    pulseSound(const pulseSound&) = delete;
    pulseSound& operator=(const pulseSound&) = delete;

    // The default sink's volume, channels averaged, 1.0 being normal.
    bool readVolume(float& scalar);
    bool writeVolume(float scalar);
    // A 500 Hz tone of 100 ms; does not wait for it to be played.
    void beep();

    // For the main loop's callbacks.
    void wake();
    void sinkChanged() { changes_.fetch_add(1); }

    // What a query or change of the default sink brings back.
    struct sinkVolume;

private:
    bool ready();
    bool connect();
    void drop();
    bool querySink(sinkVolume& out);
    bool subscribe();
    // Waits for done (set by a callback under mutex_), then lets go of op either way.
    bool finish(pa_operation* op, const std::atomic<bool>& done);

    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    std::mutex mutex_;
    std::condition_variable changed_;
    faultNote missing_;
    // The poll reads the volume the server last announced: while nothing changes it costs
    // no round trip. Change events from the main loop make the next read ask again.
    std::atomic<uint64_t> changes_{0};
    bool subscribed_ = false;
    bool cached_ = false;
    uint64_t cachedAt_ = 0;
    float cachedScalar_ = 0.0f;
};

} // namespace systemctl
