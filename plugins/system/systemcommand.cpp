#include "plugins/system/systemcommand.h"

#include <iterator>

#include "vcore/str.h"

namespace systemctl {
namespace {

struct entry {
    const char16_t* name;
    systemCommand command;
};

constexpr entry exact[] = {
    {u"k", systemCommand::keyDown},     {u"K", systemCommand::keyUp},
    {u"P", systemCommand::steps},       {u"M", systemCommand::move},
    {u"Ml", systemCommand::leftDown},   {u"ML", systemCommand::leftUp},
    {u"Mr", systemCommand::rightDown},  {u"MR", systemCommand::rightUp},
    {u"Mm", systemCommand::middleDown}, {u"MM", systemCommand::middleUp},
    {u"MS", systemCommand::wheel},      {u"F", systemCommand::beep},
};

constexpr entry lowered[] = {
    {u"system.set_volume", systemCommand::setVolume},
    {u"system.add_volume", systemCommand::addVolume},
    {u"system.init", systemCommand::init},
    {u"system.get_state", systemCommand::getState},
    {u"system.pin", systemCommand::pin},
};

} // namespace

systemCommand commandNamed(vcore::strview name)
{
    vcore::str text(name);
    for (const entry& e : exact) {
        if (text.equals(e.name))
            return e.command;
    }
    text.toLower();
    for (const entry& e : lowered) {
        if (text.equals(e.name))
            return e.command;
    }
    return systemCommand::unknown;
}

bool needsSession(systemCommand command)
{
    return command != systemCommand::init && command != systemCommand::getState &&
           command != systemCommand::unknown;
}

} // namespace systemctl
