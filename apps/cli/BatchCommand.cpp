// batch --recipe FILE PHOTOS...|DIR: the recipe on many photos, each in a process of
// its own (this tool's apply --recipe), as many at once as there are cores. A photo
// that fails takes nothing else down with it, and its process's last words are the
// reason the summary gives.

#include "apps/cli/Commands.h"
#include "apps/cli/Interrupt.h"
#include "apps/cli/PhotoReading.h"
#include "apps/cli/RecipeFiles.h"
#include "platform/ComPtr.h"
#include "platform/WideString.h"
#include "refhost/PhotoBatch.h"
#include "refhost/TerminalProgress.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr const char* kBatchUsage =
    "usage: basicfilters batch --recipe FILE [--jobs N] [--suffix S | --out-dir DIR] [--overwrite] [--quality N]\n"
    "                          PHOTOS...|DIR";

void PrintError(const std::string& message)
{
    std::fprintf(stderr, "basicfilters: %s\n", message.c_str());
}

enum class JobState { Waiting, Skipped, Failed, Written };

struct Job {
    std::string input;
    std::string output;
    JobState state = JobState::Waiting;
    std::string reason;
};

// Outputs that would replace an input, or that two photos would write, are refused
// before anything runs; existing ones are skipped unless --overwrite.
void Screen(std::vector<Job>& jobs, bool overwrite)
{
    std::error_code error;
    std::set<std::string> inputs;
    for (const Job& job : jobs) inputs.insert(fs::weakly_canonical(job.input, error).string());
    std::set<std::string> outputs;
    for (Job& job : jobs) {
        const std::string canonical = fs::weakly_canonical(job.output, error).string();
        if (inputs.count(canonical) != 0 || IsSameFile(job.input, job.output)) {
            job.state = JobState::Failed;
            job.reason = "its output '" + job.output + "' is an input; give --suffix or another --out-dir";
        } else if (!outputs.insert(canonical).second) {
            job.state = JobState::Failed;
            job.reason = "another photo of the batch writes '" + job.output + "' too";
        } else if (!overwrite && fs::exists(job.output, error)) {
            job.state = JobState::Skipped;
        }
    }
}

int DefaultJobs()
{
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) == 0) return std::max(1, CPU_COUNT(&cores));
    return std::max(1u, std::thread::hardware_concurrency());
}

std::vector<std::string> WorkerArguments(const CommandLineOptions& options, const Job& job)
{
    std::vector<std::string> arguments{QCoreApplication::applicationFilePath().toStdString()};
    if (!options.modulePath.empty()) arguments.insert(arguments.end(), {"--module", options.modulePath});
    arguments.insert(arguments.end(), {"apply", "--quiet", "--recipe", options.recipeFile});
    if (options.quality >= 0) arguments.insert(arguments.end(), {"--quality", std::to_string(options.quality)});
    arguments.insert(arguments.end(), {"--", job.input, job.output});
    return arguments;
}

// What a worker said last, without the tool's name: the reason it gives up.
std::string LastWords(FILE* log)
{
    std::string text;
    std::rewind(log);
    char buffer[4096];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, log)) > 0;) text.append(buffer, read);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    std::string last = text.substr(text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1);
    const std::string prefix = "basicfilters: ";
    if (last.starts_with(prefix)) last.erase(0, prefix.size());
    return last;
}

class CWorkers {
public:
    CWorkers(const CommandLineOptions& options, std::vector<Job>& jobs) : m_options(options), m_jobs(jobs) {}

    // False when the worker could not be started (the job then failed).
    bool Start(size_t index)
    {
        FILE* log = std::tmpfile();
        Job& job = m_jobs[index];
        if (log == nullptr) return Fail(job, "no temporary file for the worker's messages");
        // Only this worker writes it: the workers started later do not inherit it.
        fcntl(fileno(log), F_SETFD, FD_CLOEXEC);
        const std::vector<std::string> arguments = WorkerArguments(m_options, job);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fileno(log), STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fileno(log), STDERR_FILENO);
        pid_t pid = 0;
        const int failure = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (failure != 0) {
            std::fclose(log);
            return Fail(job, std::string("cannot start a worker: ") + std::strerror(failure));
        }
        m_running[pid] = {index, log};
        return true;
    }

    size_t Running() const { return m_running.size(); }

    // Waits for one worker to end and records how its photo went.
    void WaitForOne()
    {
        int status = 0;
        const pid_t pid = waitpid(-1, &status, 0);
        if (pid < 0) {
            if (errno == ECHILD) m_running.clear();
            return;  // interrupted: the caller looks at the stop flag and waits again
        }
        const auto found = m_running.find(pid);
        if (found == m_running.end()) return;
        auto [index, log] = found->second;
        m_running.erase(found);
        Job& job = m_jobs[index];
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            job.state = JobState::Written;
        } else {
            std::string reason = LastWords(log);
            if (WIFSIGNALED(status)) reason = "the worker ended by signal " + std::to_string(WTERMSIG(status));
            Fail(job, reason.empty() ? "failed without saying why" : reason);
        }
        std::fclose(log);
    }

private:
    static bool Fail(Job& job, const std::string& reason)
    {
        job.state = JobState::Failed;
        job.reason = reason;
        return false;
    }

    const CommandLineOptions& m_options;
    std::vector<Job>& m_jobs;
    std::map<pid_t, std::pair<size_t, FILE*>> m_running;
};

size_t CountOf(const std::vector<Job>& jobs, JobState state)
{
    return static_cast<size_t>(
        std::count_if(jobs.begin(), jobs.end(), [&](const Job& job) { return job.state == state; }));
}

void ShowProgress(CTerminalProgress* bar, const std::vector<Job>& jobs, size_t total)
{
    const size_t done = CountOf(jobs, JobState::Written) + CountOf(jobs, JobState::Failed);
    const size_t failed = CountOf(jobs, JobState::Failed);
    std::string text = "photos " + std::to_string(done) + "/" + std::to_string(total);
    if (failed > 0) text += ", " + std::to_string(failed) + " failed";
    bar->SetText(WidenUtf8(text).c_str());
    bar->Step(static_cast<int>(done), static_cast<int>(std::max<size_t>(total, 1)));
}

void RunJobs(const CommandLineOptions& options, std::vector<Job>& jobs, int workers)
{
    FILE* out = options.quiet || isatty(STDERR_FILENO) == 0 ? nullptr : stderr;
    const auto bar = CComPtr<CTerminalProgress>::Adopt(CTerminalProgress::Create(out, nullptr));
    const size_t total = jobs.size() - CountOf(jobs, JobState::Skipped);
    CWorkers running(options, jobs);
    ShowProgress(bar.Get(), jobs, total);
    size_t next = 0;
    while (true) {
        while (!InterruptRequested() && running.Running() < static_cast<size_t>(workers) && next < jobs.size()) {
            if (jobs[next].state == JobState::Waiting) running.Start(next);
            ++next;
        }
        if (running.Running() == 0 && (InterruptRequested() || next == jobs.size())) break;
        if (running.Running() > 0) running.WaitForOne();
        ShowProgress(bar.Get(), jobs, total);
    }
    bar->Finish(!InterruptRequested());
}

int Summarise(const std::vector<Job>& jobs)
{
    const size_t failed = CountOf(jobs, JobState::Failed);
    const size_t skipped = CountOf(jobs, JobState::Skipped);
    const size_t waiting = CountOf(jobs, JobState::Waiting);
    std::string line = "batch: " + std::to_string(CountOf(jobs, JobState::Written)) + " of " +
                       std::to_string(jobs.size()) + " photos written";
    if (skipped > 0) {
        line += ", " + std::to_string(skipped) + " skipped (their outputs exist; --overwrite replaces them)";
    }
    if (waiting > 0) line += ", " + std::to_string(waiting) + " not started (interrupted)";
    if (failed > 0) line += ", " + std::to_string(failed) + " failed:";
    PrintError(line);
    for (const Job& job : jobs) {
        if (job.state == JobState::Failed) std::fprintf(stderr, "  %s: %s\n", job.input.c_str(), job.reason.c_str());
    }
    return failed > 0 || waiting > 0 ? kExitFilterFailed : kExitOk;
}

bool CollectJobs(const CommandLineOptions& options, std::vector<Job>& jobs)
{
    const std::string suffix =
        options.outDir.empty() && options.suffix.empty() ? CPhotoBatch::kDefaultSuffix : options.suffix;
    std::vector<std::string> inputs;
    for (const std::string& operand : options.operands) {
        std::error_code error;
        if (!fs::is_directory(operand, error)) {
            inputs.push_back(operand);
            continue;
        }
        const std::vector<std::string> found =
            CPhotoBatch::PhotosIn(operand, options.outDir.empty() ? suffix : std::string());
        if (found.empty()) std::fprintf(stderr, "basicfilters: warning: no photos in '%s'\n", operand.c_str());
        inputs.insert(inputs.end(), found.begin(), found.end());
    }
    for (const std::string& input : inputs) {
        Job job;
        job.input = input;
        job.output = CPhotoBatch::ResultPath(input, options.outDir, suffix);
        jobs.push_back(std::move(job));
    }
    std::error_code error;
    if (!options.outDir.empty() && !fs::is_directory(options.outDir, error) &&
        !fs::create_directories(options.outDir, error)) {
        PrintError("cannot make the folder '" + options.outDir + "': " + error.message());
        return false;
    }
    return true;
}

} // namespace

int RunBatch(const CommandLineOptions& options, const CFilterCatalog& catalog)
{
    if (options.recipeFile.empty() || options.operands.empty()) {
        PrintError(kBatchUsage);
        return kExitUsage;
    }
    CRecipePlan plan;
    if (!ReadRecipePlan(options.recipeFile, catalog, plan, options.quiet)) return kExitUsage;
    std::vector<Job> jobs;
    if (!CollectJobs(options, jobs)) return kExitFile;
    if (jobs.empty()) {
        PrintError("no photos to work on");
        return kExitUsage;
    }
    Screen(jobs, options.overwrite);
    const int workers = options.jobs > 0 ? options.jobs : DefaultJobs();
    // Each worker is one photo: the filters' own threads would only compete for the
    // same cores. A count the user set stays theirs.
    if (workers > 1 && std::getenv("BASICFILTERS_THREADS") == nullptr) setenv("BASICFILTERS_THREADS", "1", 1);
    // Ctrl-C reaches the workers too, and each stops cleanly; no new photo is started.
    CatchInterrupt();
    RunJobs(options, jobs, workers);
    return Summarise(jobs);
}
