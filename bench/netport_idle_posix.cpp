// Idle cost: 100 open datagram ports doing nothing for 30 s; CPU time and memory per port.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "vnet/netport.h"

#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int portCount = 100;
constexpr int idleSeconds = 30;

double cpuSeconds()
{
    rusage use{};
    getrusage(RUSAGE_SELF, &use);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) +
           double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1e6;
}

double residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / 1024;
}

} // namespace

int main()
{
    double before = residentKiB();
    std::vector<std::unique_ptr<vnet::netPort>> ports;
    for (int i = 0; i < portCount; ++i) {
        ports.push_back(std::make_unique<vnet::netPort>(nullptr, 0, vnet::netPort::flagDatagram,
                                                        vnet::sock::typeDatagram, vnet::sock::protoUdp));
        if (!ports.back()->open(u"127.0.0.1")) {
            std::fprintf(stderr, "netport_idle: port %d did not open\n", i);
            return 1;
        }
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));  // workers settled
    double opened = residentKiB();
    double cpuStart = cpuSeconds();
    auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    double cpu = cpuSeconds() - cpuStart;
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double after = residentKiB();
    ports.clear();

    std::printf("idle cost, %d open datagram ports (time-out 1000 ms) for %.0f s\n", portCount, wall);
    std::printf("  CPU time            %.3f s = %.3f %% of one core   (target: under 1 %%)\n", cpu,
                100 * cpu / wall);
    std::printf("  resident per port   %.1f KiB   (%.0f KiB before, %.0f KiB open, %.0f KiB after idling)\n",
                (after - before) / portCount, before, opened, after);
    return 0;
}
