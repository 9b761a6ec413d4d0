// The stand-in Winamp as a program of its own, for the end-to-end test and the benchmark: it owns
// the "Winamp v1.x" window, loads the component, registers it and raises event 10 as Winamp does
// at start-up, lets the position run while playing, and prints a line whenever its state changes.
//   standin_winamp COMPONENT [--titles FILE] [--generate N] [--playing] [--seconds S] [--quit-on FILE]
// Titles come one per line in UTF-8. It prints "ready" once the component listens; it quits after
// S seconds or once the --quit-on file exists, deregistering the component, and then prints
// "closed" when the component's port is free again.
#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "plugins/winamp_component/winampipc.h"
#include "tests/doubles/winamp/foreign.h"
#include "tests/doubles/winamp/standinwindow.h"
#include "tests/doubles/winamp/winampmodel.h"

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr int32_t entryLengthMs = 200000;

struct options {
    const char* component = nullptr;
    const char* titles = nullptr;
    int generate = 0;
    bool playing = false;
    int seconds = 900;
    const char* quitOn = nullptr;
};

bool parse(int argc, char** argv, options& o)
{
    if (argc < 2)
        return false;
    o.component = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--titles" && hasValue)
            o.titles = argv[++i];
        else if (a == "--generate" && hasValue)
            o.generate = std::atoi(argv[++i]);
        else if (a == "--seconds" && hasValue)
            o.seconds = std::atoi(argv[++i]);
        else if (a == "--quit-on" && hasValue)
            o.quitOn = argv[++i];
        else if (a == "--playing")
            o.playing = true;
        else
            return false;
    }
    return o.generate >= 0 && o.seconds > 0;
}

std::wstring widen(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
    return wide;
}

bool readTitles(const char* path, std::vector<std::wstring>& titles)
{
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::string line;
    for (int c; (c = std::fgetc(f)) != EOF;) {
        if (c != '\n') {
            line += char(c);
            continue;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        titles.push_back(widen(line));
        line.clear();
    }
    if (!line.empty())
        titles.push_back(widen(line));
    std::fclose(f);
    return true;
}

// Every title different, so that a title read from the wrong memory shows.
void generateTitles(int count, std::vector<std::wstring>& titles)
{
    for (int i = 0; i < count; ++i) {
        wchar_t text[96];
        std::swprintf(text, 96, L"Generated tune %04d of the long play list, take %d", i, i * 7 % 13);
        titles.emplace_back(text);
    }
}

std::string describe(const standin::winampModel::state& s)
{
    char head[160];
    std::snprintf(head, sizeof head, "state play=%d track=%d volume=%d shuffle=%d repeat=%d ratings=", s.playState,
                  s.current, s.volume, s.shuffle, s.repeat);
    std::string line = head;
    bool first = true;
    for (const auto& [entry, rating] : s.ratings) {
        if (rating == 0)
            continue;
        char pair[32];
        std::snprintf(pair, sizeof pair, "%s%d:%d", first ? "" : ",", entry, rating);
        line += pair;
        first = false;
    }
    return line;
}

void say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

bool portTaken()
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(winamp::componentPort);
    const bool taken = bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0;
    closesocket(s);
    return taken;
}

// A real Winamp moves on while it plays; so reports keep coming without any command.
void advance(standin::winampModel::state& s, int32_t elapsedMs)
{
    if (s.playState != 1 || s.titles.empty())
        return;
    s.positionMs += elapsedMs;
    if (s.lengthMs > 0 && s.positionMs >= s.lengthMs) {
        s.positionMs = 0;
        s.current = (s.current + 1) % int32_t(s.titles.size());
    }
}

struct component {
    foreign::callbackService service = foreign::makeCallbackService();
    foreign::serviceFactory factory = foreign::makeFactory(service);
    foreign::serviceManager manager = foreign::makeServiceManager(&factory);
    void* face = nullptr;
    void* sysCallback = nullptr;

    bool load(const char* path)
    {
        HMODULE library = LoadLibraryA(path);
        auto get = library ? reinterpret_cast<void* (*)()>(reinterpret_cast<void*>(
                                 GetProcAddress(library, "GetWinamp5SystemComponent")))
                           : nullptr;
        face = get ? get() : nullptr;
        return face != nullptr;
    }
    bool toComponent(int message)
    {
        void* managerAddress = &manager;
        void* params[] = {&managerAddress};
        return foreign::dispatch(face, message, nullptr, params, 1) != 0;
    }
    bool registerCallback()
    {
        if (!toComponent(10) || service.calls.empty() || service.calls.back().message != 20)
            return false;
        sysCallback = service.calls.back().callback;
        return sysCallback != nullptr;
    }
    void event(int number)
    {
        intptr_t one = 0, two = 0;
        void* params[] = {&number, &one, &two};
        int result = -1;
        foreign::dispatch(sysCallback, 200, &result, params, 3);
    }
};

} // namespace

int main(int argc, char** argv)
{
    options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: standin_winamp COMPONENT [--titles FILE] [--generate N] [--playing] [--seconds S] "
                     "[--quit-on FILE]\n");
        return 2;
    }
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);

    standin::winampModel model;
    std::vector<std::wstring> titles;
    if (o.titles && !readTitles(o.titles, titles)) {
        std::fprintf(stderr, "standin_winamp: cannot read %s\n", o.titles);
        return 1;
    }
    generateTitles(o.generate, titles);
    model.change([&](standin::winampModel::state& s) {
        s.titles = std::move(titles);
        s.lengthMs = entryLengthMs;
        s.playState = o.playing ? 1 : 0;
    });

    standin::standinWindow window(model);
    component c;
    if (!window.open() || !c.load(o.component) || !c.registerCallback()) {
        std::fprintf(stderr, "standin_winamp: no window, or the component did not load and register\n");
        return 1;
    }
    c.event(10);
    const auto end = steady_clock::now() + std::chrono::seconds(o.seconds);
    const auto readyBy = steady_clock::now() + std::chrono::seconds(30);
    bool ready = false;
    std::string last;
    auto tick = steady_clock::now();
    auto quitAsked = [&] { return o.quitOn && GetFileAttributesA(o.quitOn) != INVALID_FILE_ATTRIBUTES; };
    while (steady_clock::now() < end && !quitAsked()) {
        std::this_thread::sleep_for(milliseconds(10));
        const auto now = steady_clock::now();
        const int32_t elapsed = int32_t(std::chrono::duration_cast<milliseconds>(now - tick).count());
        tick = now;
        std::string line;
        // One short hold of the model's lock, no copy of the play list: the component's
        // messages wait on that lock.
        model.change([&](standin::winampModel::state& s) {
            advance(s, elapsed);
            line = describe(s);
        });
        if (!ready && portTaken()) {
            ready = true;
            say("ready");
        } else if (!ready && now > readyBy) {
            say("the component did not open its port");
            return 1;
        }
        if (line != last)
            say(line);
        last = line;
    }
    c.toComponent(20);
    if (!portTaken())
        say("closed");
    window.close();
    return 0;
}
