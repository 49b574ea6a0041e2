// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program again and again on the X display and measures, for each
// run, the time from exec to its first window being mapped, its resident
// memory once it is up, and the CPU time it uses in the following seconds
// while nobody touches it.
//   bench_startup [--runs N] [--idle S] [--dir D] -- PROGRAM [ARGS...] [-- PROGRAM2 ...]
// Each program runs N times after one warm-up, the programs taking turns,
// in working directory D.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample
{
    double MapMs = 0;
    long RssKb = 0;
    double IdleCpuMs = 0;
};

long PidOfWindow(Display* display, Window window)
{
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", True);
    if (pidAtom == None)
        return -1;
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data != nullptr) {
        if (type == XA_CARDINAL && format == 32 && count == 1)
            pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
        XFree(data);
    }
    return pid;
}

long RssKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// User and system time of the process so far, in milliseconds.
double CpuMs(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long utime = 0;
    unsigned long stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14)
            utime = std::stoul(field);
        if (i == 15) {
            stime = std::stoul(field);
            break;
        }
    }
    return 1000.0 * static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

Sample RunOnce(Display* display, const std::vector<std::string>& command, const std::string& dir,
               int idleSeconds)
{
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);

    std::vector<char*> argv;
    for (const auto& arg : command)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!dir.empty() && chdir(dir.c_str()) != 0)
            _exit(126);
        if (const int quiet = open("/dev/null", O_WRONLY); quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }

    Sample sample;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && PidOfWindow(display, event.xmap.window) == pid) {
            sample.MapMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
    }
    // Let it finish what it does right after the window appears.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    sample.RssKb = RssKb(pid);
    const double before = CpuMs(pid);
    std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
    sample.IdleCpuMs = CpuMs(pid) - before;

    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XSelectInput(display, DefaultRootWindow(display), NoEventMask);
    return sample;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const auto n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = 7;
    int idle = 10;
    std::string dir;
    std::vector<std::vector<std::string>> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (arg == "--idle" && i + 1 < argc)
            idle = std::atoi(argv[++i]);
        else if (arg == "--dir" && i + 1 < argc)
            dir = argv[++i];
        else if (arg == "--")
            programs.emplace_back();
        else if (!programs.empty())
            programs.back().push_back(arg);
    }
    programs.erase(
        std::remove_if(programs.begin(), programs.end(), [](const auto& p) { return p.empty(); }),
        programs.end());
    if (programs.empty() || runs < 1) {
        std::fprintf(stderr, "usage: %s [--runs N] [--idle S] [--dir D] -- PROGRAM [ARGS] ...\n",
                     argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }

    std::vector<std::vector<Sample>> samples(programs.size());
    for (int run = 0; run <= runs; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            const Sample s = RunOnce(display, programs[p], dir, idle);
            if (run > 0)
                samples[p].push_back(s);
        }
    }

    std::printf("%-40s %10s %10s %10s %12s\n", "program", "map ms", "min ms", "RSS MB",
                "idle CPU ms");
    for (std::size_t p = 0; p < programs.size(); ++p) {
        std::vector<double> map;
        std::vector<double> rss;
        std::vector<double> cpu;
        for (const auto& s : samples[p]) {
            map.push_back(s.MapMs);
            rss.push_back(static_cast<double>(s.RssKb) / 1024.0);
            cpu.push_back(s.IdleCpuMs);
        }
        std::string name = programs[p][0];
        name = name.substr(name.rfind('/') + 1);
        std::printf("%-40s %10.1f %10.1f %10.1f %12.1f\n", name.c_str(), Median(map),
                    *std::min_element(map.begin(), map.end()), Median(rss), Median(cpu));
    }
    std::printf("(median of %d runs after a warm-up; idle CPU over %d s)\n", runs, idle);
    XCloseDisplay(display);
    return 0;
}
