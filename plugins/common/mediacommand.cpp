#include "plugins/common/mediacommand.h"

#include <iterator>

namespace media {
namespace {

struct entry {
    const char16_t* name;
    mediaCommand command;
};

// Order matters: the first match wins.
constexpr entry commands[] = {
    {u"media.set_volume", mediaCommand::setVolume},
    {u"media.add_volume", mediaCommand::addVolume},
    {u"media.set_pos", mediaCommand::setPos},
    {u"media.add_pos", mediaCommand::addPos},
    {u"media.set_track", mediaCommand::setTrack},
    {u"media.play", mediaCommand::play},
    {u"media.pause", mediaCommand::pause},
    {u"media.prev", mediaCommand::prev},
    {u"media.next", mediaCommand::next},
    {u"media.stop", mediaCommand::stop},
    {u"media.set_shuffle", mediaCommand::setShuffle},
    {u"media.set_repeat", mediaCommand::setRepeat},
    {u"media.search", mediaCommand::search},
    {u"media.set_rating", mediaCommand::setRating},
    {u"media.inc_rating", mediaCommand::incRating},
    {u"media.init", mediaCommand::init},
    {u"media.get_complete", mediaCommand::getComplete},
    {u"media.get_list", mediaCommand::getList},
    {u"media.get_shortlist", mediaCommand::getShortlist},
    {u"media.get_state", mediaCommand::getState},
    {u"media.close", mediaCommand::close},
    {u"media.get_title", mediaCommand::getTitle},
    {u"media.done", mediaCommand::done},
};

} // namespace

mediaCommand mediaCommandFromName(vcore::strview name)
{
    for (const entry& e : commands)
        if (name.equals(e.name))
            return e.command;
    return mediaCommand::unknown;
}

const char16_t* mediaCommandName(mediaCommand command)
{
    for (const entry& e : commands)
        if (e.command == command)
            return e.name;
    return u"";
}

} // namespace media
