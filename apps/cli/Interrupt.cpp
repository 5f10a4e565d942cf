#include "apps/cli/Interrupt.h"

#include <csignal>

namespace {

std::atomic<bool> g_interrupted{false};

void OnInterrupt(int)
{
    g_interrupted = true;
}

} // namespace

void CatchInterrupt()
{
    struct sigaction action {};
    action.sa_handler = &OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

const std::atomic<bool>& InterruptRequested()
{
    return g_interrupted;
}
