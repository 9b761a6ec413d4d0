// A write of the hub's settings file (the registry's stand-in on Linux): one accepted device.
#include <stdlib.h>

#include <string>

#include "crashcase.h"
#include "files.h"
#include "vcore/regkey.h"
#include "vcore/regstore_posix.h"

namespace crash {
namespace {

constexpr const char16_t* devices = u"HKEY_CURRENT_USER\\SOFTWARE\\Tessary\\Tolvanu\\devices";
constexpr int deviceCount = 100;

std::u16string wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

class settingsWrite : public crashCase {
public:
    ~settingsWrite() override { removeTree(home_); }

    bool setUp(std::string& why) override
    {
        home_ = scratchFolder("settings");
        if (home_.empty() || setenv("XDG_CONFIG_HOME", home_.c_str(), 1) != 0)
            return fail(why, "no scratch folder");
        vcore::regkey key;
        if (!key.open(devices, true) || !key.writeDword(u"count", deviceCount))
            return fail(why, "the first settings could not be written");
        for (int d = 0; d < deviceCount; ++d)
            if (!key.writeText(wide(nameOf(d)).c_str(), wide(entryOf(d, -1)).c_str()))
                return fail(why, "the first settings could not be written");
        file_ = vcore::regfile::folder() + "/HKEY_CURRENT_USER.ini";
        return true;
    }

    bool beginRound(int round, std::string& why) override
    {
        round_ = round;
        const auto content = contentOf(file_);
        if (!content)
            return fail(why, "the settings file is missing");
        old_ = *content;
        return true;
    }

    bool write() override
    {
        vcore::regkey key;
        const int device = round_ % deviceCount;
        return key.open(devices) && key.writeText(wide(nameOf(device)).c_str(), wide(entryOf(device, round_)).c_str());
    }

    bool judge(found& result, int& leftovers, std::string& why) override
    {
        const auto left = contentOf(file_);
        leftovers = 0;
        for (const std::string& name : namesIn(vcore::regfile::folder())) {
            if (name.find(".corrupt-") != std::string::npos)
                return fail(why, "the file was taken for corrupt and set aside: " + name);
            leftovers += !known(name);
        }
        if (!write())
            return fail(why, "a later write failed");
        const auto fresh = contentOf(file_);
        if (!left || !fresh)
            return fail(why, "the settings file is missing");
        if (*left != old_ && *left != *fresh)
            return fail(why, "the file holds neither the old nor the new content:\n" + *left);
        for (const std::string& name : namesIn(vcore::regfile::folder()))
            if (!known(name))
                return fail(why, "a later write left " + name + " behind");
        result = *left == old_ ? found::oldContent : found::newContent;
        return true;
    }

private:
    static bool fail(std::string& why, const std::string& text)
    {
        why = text;
        return false;
    }
    static std::string nameOf(int device) { return "device-" + std::to_string(device); }
    // Long enough that the file is a few pages, as with a well-used device list.
    static std::string entryOf(int device, int round)
    {
        return "10.0.0." + std::to_string(device) + " phone of someone, accepted in round " + std::to_string(round);
    }
    static bool known(const std::string& name)
    {
        return name == "HKEY_CURRENT_USER.ini" || name == "HKEY_CURRENT_USER.lock";
    }

    std::string home_;
    std::string file_;
    std::string old_;
    int round_ = 0;
};

} // namespace

std::unique_ptr<crashCase> settingsCase() { return std::make_unique<settingsWrite>(); }

} // namespace crash
