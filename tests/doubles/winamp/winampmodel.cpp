#include "tests/doubles/winamp/winampmodel.h"

#include <algorithm>
#include <cstring>

#include "plugins/winamp_component/winampipc.h"

namespace standin {

namespace ipc = winamp::ipc;
namespace button = winamp::button;

intptr_t winampModel::titleAddress(intptr_t index)
{
    if (state_.nullTitles || index < 0 || index >= intptr_t(state_.titles.size()))
        return 0;
    return reinterpret_cast<intptr_t>(state_.titles[size_t(index)].c_str());
}

intptr_t winampModel::answer(intptr_t wParam, intptr_t number)
{
    std::lock_guard<std::mutex> hold(lock_);
    ++asked_[number];
    state& s = state_;
    switch (number) {
    case ipc::version: return s.version;
    case ipc::playState: return s.playState;
    case ipc::position: return wParam == winamp::positionLength ? s.lengthMs : s.positionMs;
    case ipc::jumpTo: s.positionMs = int32_t(wParam); return 0;
    case ipc::setTrack: s.current = int32_t(wParam); s.positionMs = 0; return 0;
    case ipc::volume:
        if (wParam != winamp::volumeQuery)
            s.volume = int32_t(std::clamp<intptr_t>(wParam, 0, 255));
        return s.volume;
    case ipc::listLength: return s.countOverride ? s.countAnswer : intptr_t(s.titles.size());
    case ipc::listPosition: return s.current;
    case ipc::listTitle: return titleAddress(wParam);
    case ipc::getShuffle: return s.shuffle;
    case ipc::getRepeat: return s.repeat;
    case ipc::setShuffle: s.shuffle = wParam ? 1 : 0; return s.shuffle;
    case ipc::setRepeat: s.repeat = wParam ? 1 : 0; return s.repeat;
    case ipc::titleRecord: {
        auto* record = reinterpret_cast<winamp::titleInfo*>(wParam);
        std::string narrow;
        if (s.current >= 0 && s.current < int32_t(s.titles.size()))
            for (wchar_t c : s.titles[size_t(s.current)])
                narrow += c < 256 ? char(c) : '?';
        narrow.resize(std::min<size_t>(narrow.size(), size_t(record->titleRoom)));
        std::memcpy(record->title, narrow.c_str(), narrow.size() + 1);
        return 1;
    }
    case ipc::setRating: s.ratings[s.current] = int32_t(wParam); return 1;
    case ipc::getRating: return s.ratings[s.current];
    default: return 0;
    }
}

void winampModel::press(int id)
{
    std::lock_guard<std::mutex> hold(lock_);
    pressed_.push_back(id);
    state& s = state_;
    const int32_t last = int32_t(s.titles.size()) - 1;
    switch (id) {
    case button::play: s.playState = 1; break;
    case button::pause: s.playState = s.playState == 1 ? 3 : s.playState == 3 ? 1 : 0; break;
    case button::stop: s.playState = 0; s.positionMs = 0; break;
    case button::prev: s.current = std::max(s.current - 1, 0); s.positionMs = 0; break;
    case button::next: s.current = std::min(s.current + 1, std::max(last, 0)); s.positionMs = 0; break;
    default: break;
    }
}

winampModel::state winampModel::get() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return state_;
}

int winampModel::asked(intptr_t number) const
{
    std::lock_guard<std::mutex> hold(lock_);
    auto it = asked_.find(number);
    return it == asked_.end() ? 0 : it->second;
}

std::vector<int> winampModel::pressed() const
{
    std::lock_guard<std::mutex> hold(lock_);
    return pressed_;
}

} // namespace standin
