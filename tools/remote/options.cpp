#include "tools/remote/options.h"

#include <cstddef>

#include "vnet/address.h"

namespace remote {

namespace {

constexpr uint32_t longestWaitMs = 3600000;

struct verbName {
    const char16_t* word;
    verb action;
};

constexpr verbName verbs[] = {
    {u"discover", verb::discover}, {u"open", verb::open},       {u"close", verb::close},
    {u"send", verb::send},         {u"session", verb::session}, {u"help", verb::help},
};

vcore::str quoted(const char16_t* before, const vcore::str& text, const char16_t* after = u"")
{
    vcore::str line(before);
    line.append(u'\'');
    line.append(text);
    line.append(u'\'');
    line.append(after);
    return line;
}

// Decimal milliseconds, 1 up to an hour.
bool readMilliseconds(const vcore::str& text, uint32_t& out)
{
    if (text.empty() || text.length() > 7)
        return false;
    uint32_t value = 0;
    for (int32_t i = 0; i < text.length(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return false;
        value = value * 10 + uint32_t(text[i] - u'0');
    }
    if (value == 0 || value > longestWaitMs)
        return false;
    out = value;
    return true;
}

// ';' separates the protocol's fields, so a text holding one would shift every field after it.
bool fitsInField(const vcore::str& text)
{
    return !text.empty() && text.find(0, u';') < 0;
}

class parser {
public:
    explicit parser(const std::vector<vcore::str>& args) : args_(args) {}

    parsed run()
    {
        for (size_t i = 0; i < args_.size() && result_.ok(); ++i)
            take(i);
        if (result_.ok())
            finish();
        return result_;
    }

private:
    void take(size_t& i)
    {
        const vcore::str& arg = args_[i];
        if (!rest_ && arg == u"--") {
            rest_ = true;
        } else if (!rest_ && arg.length() > 1 && arg[0] == u'-') {
            takeOption(i);
        } else {
            words_.push_back(arg);
        }
    }

    void takeOption(size_t& i)
    {
        vcore::str name(args_[i]);
        vcore::str value;
        bool hasValue = false;
        const int32_t equals = name.find(0, u'=');
        if (equals > 0) {
            value = vcore::str(name.mid(equals + 1));
            name = vcore::str(name.mid(0, equals));
            hasValue = true;
        }
        if (name == u"--help" || name == u"-h") {
            result_.value.action = verb::help;
            help_ = true;
            return;
        }
        if (name == u"--verbose" || name == u"-v") {
            result_.value.verbose = true;
            return;
        }
        if (!(name == u"--timeout" || name == u"--wait" || name == u"--name" || name == u"--hub")) {
            fail(quoted(u"unknown option ", name));
            return;
        }
        if (!hasValue) {
            if (i + 1 >= args_.size()) {
                fail(quoted(u"option ", name, u" needs a value"));
                return;
            }
            value = args_[++i];
        }
        setOption(name, value);
    }

    void setOption(const vcore::str& name, const vcore::str& value)
    {
        options& o = result_.value;
        if (name == u"--timeout" && !readMilliseconds(value, o.timeoutMs))
            fail(quoted(u"--timeout wants milliseconds from 1 to 3600000, not ", value));
        else if (name == u"--wait" && !readMilliseconds(value, o.waitMs))
            fail(quoted(u"--wait wants milliseconds from 1 to 3600000, not ", value));
        else if (name == u"--name" && !fitsInField(value))
            fail(vcore::str(u"--name must be a non-empty text without ';'"));
        else if (name == u"--name")
            o.name = value;
        else if (name == u"--hub" && vnet::parseDottedAddress(value.view()) == 0)
            fail(quoted(u"--hub wants a dotted address such as 192.168.1.20, not ", value));
        else if (name == u"--hub")
            o.hub = value;
    }

    void finish()
    {
        if (help_)
            return;
        options& o = result_.value;
        if (words_.empty()) {
            o.classes.push_back(vcore::str(u"media"));
            return;
        }
        if (!lookUpVerb(words_[0]))
            return;
        const size_t extra = words_.size() - 1;
        switch (o.action) {
        case verb::help:
            break;
        case verb::discover:
            takeClasses(1, words_.size());
            break;
        case verb::session:
            if (extra > 1)
                fail(vcore::str(u"session takes one class at most"));
            else
                takeClasses(1, words_.size());
            break;
        case verb::open:
        case verb::close:
            if (extra != 1)
                fail(quoted(u"", words_[0], u" takes exactly one class"));
            else
                takeClasses(1, 2);
            break;
        case verb::send:
            if (extra < 2)
                fail(vcore::str(u"send takes a class and a command"));
            else
                takeSend();
            break;
        }
    }

    bool lookUpVerb(const vcore::str& word)
    {
        for (const verbName& v : verbs)
            if (word == v.word) {
                result_.value.action = v.action;
                return true;
            }
        fail(quoted(u"unknown command ", word));
        return false;
    }

    void takeClasses(size_t from, size_t to)
    {
        options& o = result_.value;
        for (size_t i = from; i < to && result_.ok(); ++i) {
            if (!fitsInField(words_[i]))
                fail(quoted(u"a class is a non-empty text without ';', not ", words_[i]));
            o.classes.push_back(words_[i]);
        }
        if (o.classes.empty())
            o.classes.push_back(vcore::str(u"media"));
    }

    void takeSend()
    {
        takeClasses(1, 2);
        vcore::str& command = result_.value.command;
        for (size_t i = 2; i < words_.size(); ++i) {
            if (i > 2)
                command.append(u' ');
            command.append(words_[i]);
        }
        if (command.empty())
            fail(vcore::str(u"send takes a non-empty command"));
    }

    void fail(const vcore::str& reason)
    {
        if (result_.error.empty())
            result_.error = reason;
    }

    const std::vector<vcore::str>& args_;
    std::vector<vcore::str> words_;
    parsed result_;
    bool rest_ = false;
    bool help_ = false;
};

} // namespace

parsed parseOptions(const std::vector<vcore::str>& args)
{
    return parser(args).run();
}

const char* usageText()
{
    return "Usage: tolvanu-remote [OPTIONS] [COMMAND [ARGS...]]\n"
           "Finds Tolvanu hubs on the local network and talks to their services.\n"
           "\n"
           "Commands:\n"
           "  discover [CLASS...]     list the hubs that offer each CLASS (default: media)\n"
           "  open CLASS              open a session and print its port; the session stays open\n"
           "  close CLASS             end the session of CLASS at the hub\n"
           "  send CLASS COMMAND...   open, send one command, print the reports, close\n"
           "  session [CLASS]         open, send each line of standard input as a command and\n"
           "                          print the reports as they come; close at end of input\n"
           "                          (this is also what runs without a command, for media)\n"
           "\n"
           "Options:\n"
           "  --timeout MS   how long to wait for hubs and for the answer to \"open\" (3000)\n"
           "  --wait MS      how long reports are awaited after the last command (1000)\n"
           "  --name NAME    the name the hub shows when it asks for access (the computer's name)\n"
           "  --hub ADDRESS  open only at the hub with this address\n"
           "  -v, --verbose  show the discovery protocol's messages on standard error\n"
           "  -h, --help     show this text\n"
           "\n"
           "Exit status: 0 done, 1 no hub answered, 2 wrong arguments, 3 access refused,\n"
           "4 failure on this computer (a port that cannot be opened, settings).\n";
}

} // namespace remote
