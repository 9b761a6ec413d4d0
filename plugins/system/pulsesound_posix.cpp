#include "plugins/system/pulsesound_posix.h"

#include <pulse/pulseaudio.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <vector>

namespace systemctl {
namespace {

constexpr const char* defaultSink = "@DEFAULT_SINK@";
constexpr uint32_t beepRate = 44100;
constexpr double beepHz = 500.0;
constexpr uint32_t beepMs = 100;

// Main-loop lock held for a scope.
class loopLock {
public:
    explicit loopLock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
    ~loopLock() { pa_threaded_mainloop_unlock(loop_); }

private:
    pa_threaded_mainloop* loop_;
};

const std::vector<int16_t>& tone()
{
    static const std::vector<int16_t> samples = [] {
        std::vector<int16_t> s(beepRate * beepMs / 1000);
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = int16_t(12000.0 * std::sin(2.0 * M_PI * beepHz * double(i) / beepRate));
        return s;
    }();
    return samples;
}

void contextChanged(pa_context*, void* self)
{
    static_cast<pulseSound*>(self)->wake();
}

void serverEvent(pa_context*, pa_subscription_event_type_t, uint32_t, void* self)
{
    static_cast<pulseSound*>(self)->sinkChanged();
}

void beepDrained(pa_stream* stream, int, void*)
{
    pa_stream_disconnect(stream);
}

// The stream owns itself: it writes the tone once it is ready and lets go when it ends.
void beepChanged(pa_stream* stream, void*)
{
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY: {
        const std::vector<int16_t>& samples = tone();
        pa_stream_write(stream, samples.data(), samples.size() * sizeof(int16_t), nullptr, 0, PA_SEEK_RELATIVE);
        if (pa_operation* op = pa_stream_drain(stream, beepDrained, nullptr))
            pa_operation_unref(op);
        break;
    }
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_unref(stream);
        break;
    default:
        break;
    }
}

} // namespace

struct pulseSound::sinkVolume {
    pulseSound* owner = nullptr;
    std::atomic<bool> done{false};
    bool found = false;
    bool success = false;
    pa_cvolume volume{};
};

namespace {

void sinkInfo(pa_context*, const pa_sink_info* info, int eol, void* data)
{
    auto* out = static_cast<pulseSound::sinkVolume*>(data);
    if (eol == 0 && info) {
        out->volume = info->volume;
        out->found = true;
        return;
    }
    out->done = true;
    out->owner->wake();
}

void volumeSet(pa_context*, int success, void* data)
{
    auto* out = static_cast<pulseSound::sinkVolume*>(data);
    out->success = success != 0;
    out->done = true;
    out->owner->wake();
}

} // namespace

pulseSound::pulseSound(logSink log)
    : missing_(std::move(log), u"[system] no sound server: volume and beep do nothing",
               u"[system] sound server reached")
{
}

pulseSound::~pulseSound()
{
    if (!loop_)
        return;
    pa_threaded_mainloop_stop(loop_);
    if (context_) {
        pa_context_disconnect(context_);
        pa_context_unref(context_);
    }
    pa_threaded_mainloop_free(loop_);
}

void pulseSound::wake()
{
    // Taken so a waiter between its check and its wait cannot miss this.
    std::lock_guard<std::mutex> hold(mutex_);
    changed_.notify_all();
}

bool pulseSound::ready()
{
    if (!loop_) {
        loop_ = pa_threaded_mainloop_new();
        if (!loop_ || pa_threaded_mainloop_start(loop_) < 0) {
            if (loop_)
                pa_threaded_mainloop_free(loop_);
            loop_ = nullptr;
            missing_.fail();
            return false;
        }
    }
    if (context_) {
        loopLock hold(loop_);
        const pa_context_state_t state = pa_context_get_state(context_);
        if (state == PA_CONTEXT_READY)
            return true;
    }
    drop();
    if (connect()) {
        subscribed_ = subscribe();
        missing_.recover();
        return true;
    }
    drop();
    missing_.fail();
    return false;
}

bool pulseSound::connect()
{
    {
        loopLock hold(loop_);
        context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Tolvanu");
        if (!context_)
            return false;
        pa_context_set_state_callback(context_, contextChanged, this);
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
    }
    auto settled = [this] {
        loopLock hold(loop_);
        const pa_context_state_t state = pa_context_get_state(context_);
        return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
    };
    // The state is read under the loop's lock, never while holding mutex_ against a callback.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (!settled()) {
        std::unique_lock<std::mutex> hold(mutex_);
        if (changed_.wait_until(hold, deadline) == std::cv_status::timeout)
            break;
    }
    loopLock hold(loop_);
    return pa_context_get_state(context_) == PA_CONTEXT_READY;
}

// Sink changes, and server changes for a new default sink.
bool pulseSound::subscribe()
{
    loopLock hold(loop_);
    pa_context_set_subscribe_callback(context_, serverEvent, this);
    const auto mask = pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SERVER);
    pa_operation* op = pa_context_subscribe(context_, mask, nullptr, nullptr);
    if (!op)
        return false;
    pa_operation_unref(op);
    return true;
}

void pulseSound::drop()
{
    subscribed_ = false;
    cached_ = false;
    if (!context_)
        return;
    loopLock hold(loop_);
    pa_context_set_state_callback(context_, nullptr, nullptr);
    pa_context_set_subscribe_callback(context_, nullptr, nullptr);
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
}

bool pulseSound::finish(pa_operation* op, const std::atomic<bool>& done)
{
    if (!op)
        return false;
    bool finished = false;
    {
        std::unique_lock<std::mutex> hold(mutex_);
        finished = changed_.wait_for(hold, std::chrono::milliseconds(waitMs), [&] {
            return done.load();
        });
    }
    loopLock hold(loop_);
    // Cancelled under the loop's lock, the callback can no longer reach the caller's result.
    if (!finished && pa_operation_get_state(op) == PA_OPERATION_RUNNING)
        pa_operation_cancel(op);
    finished = pa_operation_get_state(op) == PA_OPERATION_DONE;
    pa_operation_unref(op);
    return finished;
}

bool pulseSound::querySink(sinkVolume& out)
{
    out.owner = this;
    pa_operation* op = nullptr;
    {
        loopLock hold(loop_);
        op = pa_context_get_sink_info_by_name(context_, defaultSink, sinkInfo, &out);
    }
    return finish(op, out.done) && out.found && pa_cvolume_valid(&out.volume);
}

bool pulseSound::readVolume(float& scalar)
{
    if (!ready())
        return false;
    const uint64_t seen = changes_.load();
    if (subscribed_ && cached_ && cachedAt_ == seen) {
        scalar = cachedScalar_;
        return true;
    }
    sinkVolume sink;
    if (!querySink(sink))
        return false;
    scalar = float(double(pa_cvolume_avg(&sink.volume)) / double(PA_VOLUME_NORM));
    cached_ = true;
    cachedAt_ = seen;
    cachedScalar_ = scalar;
    return true;
}

bool pulseSound::writeVolume(float scalar)
{
    // Like the Windows endpoint: only 0 to 1 is a volume.
    if (!(scalar >= 0.0f && scalar <= 1.0f) || !ready())
        return false;
    sinkVolume sink;
    if (!querySink(sink))
        return false;
    pa_cvolume wanted = sink.volume;
    pa_cvolume_set(&wanted, sink.volume.channels, pa_volume_t(std::lround(double(scalar) * PA_VOLUME_NORM)));
    sinkVolume result;
    result.owner = this;
    pa_operation* op = nullptr;
    {
        loopLock hold(loop_);
        op = pa_context_set_sink_volume_by_name(context_, defaultSink, &wanted, volumeSet, &result);
    }
    return finish(op, result.done) && result.success;
}

void pulseSound::beep()
{
    if (!ready())
        return;
    static const pa_sample_spec spec{PA_SAMPLE_S16LE, beepRate, 1};
    loopLock hold(loop_);
    pa_stream* stream = pa_stream_new(context_, "beep", &spec, nullptr);
    if (!stream)
        return;
    pa_stream_set_state_callback(stream, beepChanged, nullptr);
    if (pa_stream_connect_playback(stream, nullptr, nullptr, PA_STREAM_NOFLAGS, nullptr, nullptr) < 0) {
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_unref(stream);
    }
}

} // namespace systemctl
