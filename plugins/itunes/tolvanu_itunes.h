#pragma once
#include <atomic>
#include <cstdint>

#include "plugins/common/medialist.h"
#include "plugins/common/session.h"
#include "plugins/itunes/apartment.h"
#include "vcore/str.h"
#include "vwin/idispatch.h"

// The iTunes plug-in's session: serves "media.iTunes" on a port the system chooses and drives a
// running iTunes through its automation objects, every member called by name. The objects live
// in one apartment thread (itunes::apartment) that makes all the calls; the hub's thread and the
// port's worker hand it jobs and wait for them only so long.
class Tolvanu_iTunes : public plugin::session {
public:
    static constexpr uint32_t pollMs = 990;
    static constexpr uint32_t closePauseMs = 5;
    static constexpr uint32_t lockWaitMs = 2000;
    static constexpr int32_t listCut = 200;
    // Longest wait of the hub's thread or the worker for one job in the apartment.
    static constexpr uint32_t jobWaitMs = 3000;
    // Creating the object may start iTunes (about 1 s under Wine for a first start).
    static constexpr uint32_t createWaitMs = 5000;

    Tolvanu_iTunes();
    ~Tolvanu_iTunes() override;

    bool present() override;

protected:
    uint32_t pollPeriod() const override { return pollMs; }
    uint32_t closePause() const override { return closePauseMs; }
    void resetState() override;
    media::mediaMessage split(const vcore::str& text) const override;
    bool dispatch(const vcore::str& name, const vcore::str& argument) override;
    void poll() override;
    void releasePlayer() override;
    // The computer's name for "media.app".
    virtual vcore::str computerName() const;
    // One report to the client; logged or not.
    virtual void deliver(const vcore::str& text, bool logged);

private:
    // The automation objects, by kind: each kind's member table is read once and shared.
    enum kind { appKind, playlistKind, tracksKind, trackKind, kinds };
    using object = vwin::iDispatch;

    // Everything below runs in the apartment.
    void create();
    void command(const vcore::str& name, const vcore::str& argument);
    void pollNow();
    bool attachKind(object& o, const VARIANT& from, kind k);
    bool child(object& parent, const char16_t* member, object& out, kind k);
    bool childAt(object& parent, const char16_t* member, int32_t index, object& out, kind k);
    // 1 with the current track, 0 when there is none, -1 when asking failed.
    int currentTrack(object& track);
    bool playlist(object& list);
    vcore::str titleOf(object& track);
    bool readInt(object& o, const char16_t* member, int32_t& value);

    void volume(double value, bool add);
    void position(double value, bool add);
    void track(int32_t index);
    void playToggle();
    void transport(const char16_t* member, const char16_t* report);
    int32_t playlistSwitch(const char16_t* member, int32_t n, vwin::variant (*value)(bool on));
    void shuffle(int32_t n);
    void repeat(int32_t n);
    void setRating(int32_t r);
    void incRating();
    void search(const vcore::str& text);
    void greet(const vcore::str& argument);
    void positionReport(bool forced);
    void titleReport(bool forced);
    void volumeReport(bool forced);
    void stateReport(bool forced);
    bool listRefresh();
    void listReport(bool forced);
    void shortList(int32_t count);

    itunes::apartment apartment_;
    std::atomic<bool> hasApp_{false};
    vwin::iDispatch app_;
    // The first object of each kind, whose member table the others copy.
    vwin::iDispatch models_[kinds];

    media::titleList list_;
    int32_t listSize_ = 0;
    int32_t playlistId_ = -1, firstOrder_ = -1, lastOrder_ = -1;
    bool listDirty_ = true;
    vcore::str title_;
    int32_t trackIndex_ = -2;
    int32_t position_ = -2, duration_ = 0, rating_ = 0;
    int32_t playerState_ = -2;
    int32_t repeat_ = 0, shuffle_ = 0;
    double volume_ = -1;
    std::atomic<bool> fullList_{false};
};
