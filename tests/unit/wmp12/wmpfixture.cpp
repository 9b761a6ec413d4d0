#include "wmpfixture.h"

#include <mutex>

#include "plugins/common/hostlink.h"

namespace wmptest {
namespace {

std::mutex lock;
std::vector<std::string> sent;

int TOLVANU_STDCALL recordReports(const char16_t* command, const char16_t* argument)
{
    const std::string line = narrow(vcore::str(argument ? argument : u""));
    // "[media>address] report"
    if (vcore::str(command ? command : u"") == u"log" && line.rfind("[media>", 0) == 0) {
        const size_t cut = line.find("] ");
        std::lock_guard<std::mutex> hold(lock);
        sent.push_back(cut == std::string::npos ? line : line.substr(cut + 2));
    }
    return 1;
}

template <class P>
P entry(const char* name)
{
    return reinterpret_cast<P>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"standin_olecontrol.dll"), name)));
}

} // namespace

std::vector<std::string> reports()
{
    std::lock_guard<std::mutex> hold(lock);
    return sent;
}

void clearReports()
{
    std::lock_guard<std::mutex> hold(lock);
    sent.clear();
}

bool waitForReport(const std::string& report, std::chrono::milliseconds limit)
{
    return waitFor(
        [&] {
            for (const std::string& r : reports())
                if (r == report)
                    return true;
            return false;
        },
        limit);
}

void WmpTest::SetUp()
{
    StandinTest::SetUp();
    playerProc_ = entry<standinPlayerProc>("standinPlayer");
    addProc_ = entry<standinPlaylistAddProc>("standinPlaylistAdd");
    skinProc_ = entry<standinSkinHostProc>("standinSkinHost");
    versionProc_ = entry<standinPlayerVersionProc>("standinPlayerVersion");
    ASSERT_TRUE(playerProc_ && addProc_ && skinProc_ && versionProc_);
    plugin::setHostCallback(recordReports);
    clearReports();
    ASSERT_TRUE(skinHost(true));
    ASSERT_TRUE(session->prepare());
}

void WmpTest::TearDown()
{
    player().stallMs = 0;
    player().failing = false;
    session->closeSession();
    session.reset();
    skinHost(false);
    plugin::setHostCallback(nullptr);
    EXPECT_EQ(seen().objects, 0) << "every stand-in object is released with the session";
}

std::vector<std::string> WmpTest::run(const char16_t* name, const char16_t* argument)
{
    clearReports();
    session->dispatch(vcore::str(name), vcore::str(argument));
    return reports();
}

void WmpTest::connectWithPlaylist()
{
    addItem(L"Artist A", L"One", 200);
    addItem(L"", L"Two", 150);
    addItem(L"Artist C", L"", 100);
    ASSERT_NE(session->connectSession(), 0u);
}

} // namespace wmptest
