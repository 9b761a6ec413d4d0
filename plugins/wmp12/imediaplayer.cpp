// Creating the media player control and putting it into remote mode.
#include "plugins/wmp12/imediaplayer.h"

namespace vwin {

iMediaPlayer::iMediaPlayer() : iOleControl(vcore::str(clsidText))
{
    // In-process straight away: the control has no local server, and Wine's out-of-process
    // attempt from a single-threaded apartment sometimes answers with a proxy to another
    // instance of the class instead of failing.
    if (!create(nullptr, false, nullptr))
        return;
    put(u"enabled", variant::boolean(true));
    put(u"windowlessVideo", variant::boolean(true));
    put(u"enableContextMenu", variant::boolean(false));
    put(u"uiMode", variant::text(u"none"));
    attachPart(u"controls", controls_);
    attachPart(u"settings", settings_);
    attachPart(u"error", error_);
    inPlaceActivate();
    created_ = true;
}

iMediaPlayer::~iMediaPlayer()
{
    // The wrappers go before the container lets the control go.
    controls_.release();
    settings_.release();
    error_.release();
}

bool iMediaPlayer::attachPart(const char16_t* name, iDispatch& into)
{
    variant part = get(name);
    if (part.vt != VT_DISPATCH || !part.pdispVal)
        return false;
    return into.attach(part.pdispVal);
}

IUnknown* iMediaPlayer::extraInterface(REFIID iid)
{
    if (iid == IWMPRemoteMediaServices::id)
        return static_cast<IWMPRemoteMediaServices*>(this);
    return nullptr;
}

} // namespace vwin
