#include "apps/cli/Interrupt.h"

#include <csignal>
#include <cstdio>

namespace {

std::atomic<bool> g_interrupted{false};
std::atomic<int> g_signal{0};

void OnInterrupt(int signal)
{
    g_signal = signal;
    g_interrupted = true;
}

} // namespace

void CatchInterrupt()
{
    struct sigaction action {};
    action.sa_handler = &OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGHUP, SIGTERM}) sigaction(signal, &action, nullptr);
}

const std::atomic<bool>& InterruptRequested()
{
    return g_interrupted;
}

void EndIfInterrupted(const std::string& written)
{
    const int signal = g_signal;
    if (signal == 0) return;
    std::fprintf(stderr, "basicfilters: stopped by a signal after '%s' was written whole\n", written.c_str());
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
