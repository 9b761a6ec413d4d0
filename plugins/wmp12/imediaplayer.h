#pragma once
#include "plugins/wmp12/remotemediaservices.h"
#include "vwin/idispatch.h"
#include "vwin/iolecontrol.h"

namespace vwin {

// The media player control hosted without a window in remote mode, with wrappers of its
// controls, settings and error objects. Made on the thread that then calls it. Windows only.
class iMediaPlayer : public iOleControl, public IWMPRemoteMediaServices {
public:
    static constexpr const char16_t* clsidText = u"{6BF52A52-394A-11D3-B153-00C04F79FAA6}";

    // Creates the control and attaches it; created() says whether that worked.
    iMediaPlayer();
    ~iMediaPlayer() override;

    bool created() const { return created_; }
    iDispatch& controls() { return controls_; }
    iDispatch& settings() { return settings_; }
    iDispatch& error() { return error_; }

    // Remote mode, offered through QueryInterface and QueryService alike.
    IUnknown* extraInterface(REFIID iid) override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        return iOleControl::QueryInterface(iid, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

private:
    bool attachPart(const char16_t* name, iDispatch& into);

    iDispatch controls_;
    iDispatch settings_;
    iDispatch error_;
    bool created_ = false;
};

} // namespace vwin
