// "media.set_volume" to its "media.volume" report through the iTunes session against the
// stand-in player, beside the bare by-name put of the same member on the same object, in one
// run: median and 99th percentile of COUNT of each (default 200).
#include <winsock2.h>
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "plugins/itunes/tolvanu_itunes.h"
#include "vwin/idispatch.h"

namespace {

using clock_type = std::chrono::steady_clock;

// The session with this host's sender let in; volume reports are noted as they leave.
class measuredSession : public Tolvanu_iTunes {
public:
    bool waitVolume(const std::string& report, std::chrono::milliseconds limit)
    {
        std::unique_lock<std::mutex> hold(lock_);
        return arrived_.wait_for(hold, limit, [&] { return last_ == report; });
    }

protected:
    bool fromThisHost() const override { return false; }
    void deliver(const vcore::str& text, bool logged) override
    {
        Tolvanu_iTunes::deliver(text, logged);
        vcore::str bytes(text);
        std::lock_guard<std::mutex> hold(lock_);
        last_.assign(bytes.narrow(), size_t(bytes.length()));
        arrived_.notify_all();
    }

private:
    std::mutex lock_;
    std::condition_variable arrived_;
    std::string last_;
};

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const size_t i = std::min(values.size() - 1, size_t(p * double(values.size())));
    return values[i];
}

void print(const char* what, const std::vector<double>& ms)
{
    std::printf("%-34s median %.3f ms  p99 %.3f ms  (%zu)\n", what, percentile(ms, 0.5), percentile(ms, 0.99),
                ms.size());
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);

    const CLSID appClass = {0xDC0C2640, 0x1415, 0x4644, {0x87, 0x5C, 0x6F, 0x4D, 0x76, 0x98, 0x39, 0xBA}};
    IUnknown* made = nullptr;
    if (FAILED(CoCreateInstance(appClass, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&made))) || !made) {
        std::printf("itunes_volume: the stand-in player did not start\n");
        return 1;
    }
    vwin::iDispatch app;
    app.attach(made);
    made->Release();

    measuredSession session;
    const uint32_t port = session.connectSession();
    if (!port) {
        std::printf("itunes_volume: no session\n");
        return 1;
    }
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(u_short(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);

    std::vector<double> through, bare;
    for (int i = 0; i < count; ++i) {
        const int v = 1 + i % 99;
        const std::string command = "media.set_volume " + std::to_string(v);
        char report[32];
        std::snprintf(report, sizeof report, "media.volume %d.00", v);
        const auto start = clock_type::now();
        sendto(s, command.data(), int(command.size()), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        if (!session.waitVolume(report, std::chrono::milliseconds(5000))) {
            std::printf("itunes_volume: no report for \"%s\"\n", command.c_str());
            return 1;
        }
        through.push_back(std::chrono::duration<double, std::milli>(clock_type::now() - start).count());
    }
    for (int i = 0; i < count; ++i) {
        const auto start = clock_type::now();
        if (!app.put(u"SoundVolume", vwin::variant::integer(1 + i % 99))) {
            std::printf("itunes_volume: the bare put failed\n");
            return 1;
        }
        bare.push_back(std::chrono::duration<double, std::milli>(clock_type::now() - start).count());
    }
    print("set_volume to its report", through);
    print("bare SoundVolume put by name", bare);
    closesocket(s);
    session.closeSession();
    app.release();
    return 0;
}
