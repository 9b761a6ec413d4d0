// The iTunes session's life: presence, connect and close, and the hand-over of commands and the
// poll to the apartment that owns the player's objects.
#include "plugins/itunes/tolvanu_itunes.h"

#include <thread>

#include <windows.h>
#include <objbase.h>

#include "plugins/common/mediacommand.h"
#include "vcore/computername.h"

namespace {

const CLSID appClass = {0xDC0C2640, 0x1415, 0x4644, {0x87, 0x5C, 0x6F, 0x4D, 0x76, 0x98, 0x39, 0xBA}};
const IID appInterface = {0x9DD6680B, 0x3EDC, 0x40DB, {0xA7, 0x71, 0xE6, 0xFE, 0x48, 0x32, 0xE3, 0x4A}};

} // namespace

Tolvanu_iTunes::Tolvanu_iTunes() : plugin::session(u"media.iTunes") {}

Tolvanu_iTunes::~Tolvanu_iTunes()
{
    close();
    hasApp_ = false;
    apartment_.run([this] { app_.release(); }, lockWaitMs, true);
    apartment_.stop(lockWaitMs);
}

bool Tolvanu_iTunes::present()
{
    if (hasApp_)
        return true;
    if (!FindWindowW(L"iTunes", nullptr) && !FindWindowW(nullptr, L"iTunes"))
        return false;
    std::this_thread::yield();
    apartment_.run([this] { create(); }, createWaitMs);
    return hasApp_;
}

void Tolvanu_iTunes::create()
{
    if (hasApp_)
        return;
    IUnknown* made = nullptr;
    if (FAILED(CoCreateInstance(appClass, nullptr, CLSCTX_LOCAL_SERVER, appInterface,
                                reinterpret_cast<void**>(&made))) || !made)
        return;
    const bool attached = app_.attach(made);
    made->Release();
    hasApp_ = attached && app_.memberCount() > 0;
    if (!hasApp_)
        app_.release();
}

void Tolvanu_iTunes::releasePlayer()
{
    // Known gone at once, so that a later presence test creates afresh even while the apartment
    // still waits on a hung call; the release itself follows there in turn.
    hasApp_ = false;
    apartment_.run(
        [this] {
            const bool held = stateLock().wait(lockWaitMs);
            app_.release();
            if (held)
                stateLock().release();
        },
        jobWaitMs, true);
}

void Tolvanu_iTunes::resetState()
{
    list_.clear();
    listSize_ = 0;
    playlistId_ = firstOrder_ = lastOrder_ = -1;
    listDirty_ = true;
    fullList_ = false;
    setActive(false);
}

media::mediaMessage Tolvanu_iTunes::split(const vcore::str& text) const
{
    media::mediaMessage whole = media::splitMediaMessageWholeArgument(text);
    return whole.command() == media::mediaCommand::search ? whole : media::splitMediaMessage(text);
}

bool Tolvanu_iTunes::dispatch(const vcore::str& name, const vcore::str& argument)
{
    using media::mediaCommand;
    const mediaCommand c = media::mediaCommandFromName(name.view());
    if (c == mediaCommand::unknown || c == mediaCommand::getTitle || c == mediaCommand::done)
        return false;
    if (c == mediaCommand::close) {
        setActive(false);
        return true;
    }
    if (c == mediaCommand::getComplete)
        fullList_ = argument.empty();
    apartment_.run([this, name, argument] { command(name, argument); }, jobWaitMs);
    return true;
}

void Tolvanu_iTunes::poll()
{
    apartment_.run([this] { pollNow(); }, jobWaitMs);
}

vcore::str Tolvanu_iTunes::computerName() const
{
    return vcore::computerName();
}
