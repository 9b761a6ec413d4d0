#include "plugins/common/mediareports.h"

namespace media {
namespace {

// Texts are appended, not formatted, so every unit of a title arrives as it was.
vcore::str joined(const char16_t* head, const vcore::str& text)
{
    vcore::str report(head);
    report.append(text);
    return report;
}

} // namespace

vcore::str speedReport(speedWord word)
{
    switch (word) {
    case speedWord::playing: return vcore::str(u"media.speed 1.0");
    case speedWord::paused: return vcore::str(u"media.speed 0.0");
    case speedWord::stopped: break;
    }
    return vcore::str(u"media.speed 0");
}

speedWord speedOfPlayState(int32_t playState)
{
    if (playState > 0)
        return speedWord::playing;
    return playState == 0 ? speedWord::paused : speedWord::stopped;
}

speedWord speedOfPlaying(bool playing)
{
    return playing ? speedWord::playing : speedWord::paused;
}

speedWord speedOfStopped(bool stopped)
{
    return stopped ? speedWord::paused : speedWord::playing;
}

vcore::str volumeReport(double percent)
{
    vcore::str report;
    report.format(u"media.volume %.2f", percent);
    return report;
}

vcore::str titleReport(const vcore::str& title)
{
    return joined(u"media.title ", title);
}

vcore::str trackReport(int32_t index)
{
    return vcore::str::formatted(u"media.track %d", int(index));
}

vcore::str shuffleReport(int32_t shuffle)
{
    return vcore::str::formatted(u"media.shuffle %d", int(shuffle));
}

vcore::str repeatReport(int32_t repeat)
{
    return vcore::str::formatted(u"media.repeat %d", int(repeat));
}

vcore::str ratingReport(int32_t rating)
{
    return vcore::str::formatted(u"media.rating %d", int(rating));
}

vcore::str appReport(const vcore::str& computerName, const char16_t* player)
{
    vcore::str report = joined(u"media.app ", computerName);
    report.append(u':');
    report.append(player);
    return report;
}

vcore::str closeReport()
{
    return vcore::str(u"media.close");
}

} // namespace media
