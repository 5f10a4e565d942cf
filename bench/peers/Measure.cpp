#include "Measure.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace {

long StatusKilobytes(const std::string& field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
    }
    throw std::runtime_error("no " + field + " in /proc/self/status");
}

void ResetPeakResidentSet()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    if (!clear) throw std::runtime_error("cannot reset the peak resident set");
}

} // namespace

double TimeOnce(const Trial& trial)
{
    if (trial.reset) trial.reset();
    const auto start = std::chrono::steady_clock::now();
    trial.apply();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double MedianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

long PeakGrowthKilobytes(const std::function<Trial()>& prepare)
{
    ResetPeakResidentSet();
    const long before = StatusKilobytes("VmRSS");
    const Trial trial = prepare();
    if (trial.reset) trial.reset();
    trial.apply();
    return StatusKilobytes("VmHWM") - before;
}

long NumberFromChild(const std::string& program, const std::vector<std::string>& arguments)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string text;
    char chunk[64];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], chunk, sizeof chunk)) > 0) text.append(chunk, static_cast<size_t>(got));
    close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    try {
        return std::stol(text);
    } catch (const std::exception&) {
        return -1;
    }
}
