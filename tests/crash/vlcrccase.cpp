// The VLC connector's rewrite of a user's vlcrc, with the earlier file kept as vlcrc.bak.
#include <sys/stat.h>

#include <optional>
#include <string>

#include "crashcase.h"
#include "files.h"
#include "plugins/vlc/vlcconfig.h"
#include "plugins/vlc/vlcrcfile.h"

namespace crash {
namespace {

// About the size of the file VLC 3 writes (some 100 KB), its remote-control lines commented out.
std::string usersFile(int round)
{
    std::string text = "\xEF\xBB\xBF###\n###  vlc 3.0.x\n###\n\n[oldrc] # Remote control interface\n"
                       "#rc-fake-tty=0\n#rc-host=\n#rc-quiet=0\n\n";
    for (int option = 0; option < 1800; ++option)
        text += "# Option " + std::to_string(option) + " of some module (string)\n#option-" +
                std::to_string(option) + "=\n\n";
    text += "[core] # core program\n#extraintf=\n# edited by the user before round " + std::to_string(round) + "\n";
    return text;
}

std::string bytesOf(const vcore::str& text)
{
    vcore::str copy(text);
    return std::string(copy.narrow(), size_t(copy.length()));
}

class vlcrcRewrite : public crashCase {
public:
    ~vlcrcRewrite() override { removeTree(home_); }

    bool setUp(std::string& why) override
    {
        home_ = scratchFolder("vlcrc");
        if (home_.empty() || mkdir((home_ + "/vlc").c_str(), 0700) != 0)
            return fail(why, "no scratch folder");
        file_ = home_ + "/vlc/vlcrc";
        return true;
    }

    // Every third round the user's file is read-only for its owner, so that what a killed
    // rewrite leaves carries those rights too.
    bool beginRound(int round, std::string& why) override
    {
        (void)chmod(file_.c_str(), 0600);
        old_ = usersFile(round);
        if (!replaceContent(file_, old_) || (round % 3 == 2 && chmod(file_.c_str(), 0400) != 0))
            return fail(why, "the user's vlcrc could not be written");
        vcore::str loaded;
        if (!vlc::loadVlcrc(path(), loaded))
            return fail(why, "the user's vlcrc could not be read back");
        const vlc::vlcrcResult prepared = vlc::readVlcrc(loaded, vlc::vlcrcOptionsHere(true));
        if (!prepared.rewrite || prepared.port != vlc::rewrittenPort)
            return fail(why, "the user's vlcrc would not be rewritten");
        new_ = bytesOf(prepared.text);
        return true;
    }

    bool write() override { return vlc::prepareConfig(path(), vlc::vlcrcOptionsHere(true)).rewritten; }

    bool judge(found& result, int& leftovers, std::string& why) override
    {
        const auto left = contentOf(file_);
        const auto backup = contentOf(file_ + ".bak");
        if (left == new_ && backup != old_)
            return fail(why, "vlcrc was rewritten but vlcrc.bak is not the user's file");
        if (left == old_ && backup && backup != old_ && backup != backupBefore_)
            return fail(why, "vlcrc.bak holds neither the earlier backup nor the user's file (" +
                                 std::to_string(backup->size()) + " bytes)");
        if (left != old_ && left != new_)
            return fail(why, "vlcrc holds neither the user's file nor the rewritten one");
        result = left == old_ ? found::oldContent : found::newContent;
        leftovers = extraFiles();

        const vlc::configOutcome later = vlc::prepareConfig(path(), vlc::vlcrcOptionsHere(true));
        if (later.port != vlc::rewrittenPort || later.rewritten != (result == found::oldContent))
            return fail(why, "a later preparation did not end with the rewritten vlcrc");
        if (contentOf(file_) != new_ || contentOf(file_ + ".bak") != old_)
            return fail(why, "after a later preparation vlcrc or vlcrc.bak is not as it should be");
        if (extraFiles() != 0)
            return fail(why, "a later preparation left a temporary file behind");
        backupBefore_ = old_;
        return true;
    }

private:
    static bool fail(std::string& why, const std::string& text)
    {
        why = text;
        return false;
    }
    vcore::str path() const { return vcore::str(std::u16string(file_.begin(), file_.end()).c_str()); }
    int extraFiles() const
    {
        int extra = 0;
        for (const std::string& name : namesIn(home_ + "/vlc"))
            extra += name != "vlcrc" && name != "vlcrc.bak";
        return extra;
    }

    std::string home_;
    std::string file_;
    std::string old_;
    std::string new_;
    std::optional<std::string> backupBefore_;
};

} // namespace

std::unique_ptr<crashCase> vlcrcCase() { return std::make_unique<vlcrcRewrite>(); }

} // namespace crash
