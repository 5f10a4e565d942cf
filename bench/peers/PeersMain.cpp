// Times our filters' kernels beside OpenCV and libvips on the same photo, one thread
// each, runs alternating between the sides, then measures each apply's memory in a
// fresh process and our own cost at four picture sizes.
//
//   basicfilters_peers --sample FILE --out DIR [--runs N] [--only TEXT] [--sizes compared]
//   basicfilters_peers --sample FILE --memory INDEX SIDE     (one child measurement)
//   basicfilters_peers --sample FILE --repeat INDEX SIDE     [--runs N]   (N applies, for a profiler)
//   basicfilters_peers --sample FILE --speed-ups ROUNDS [--runs N] [--only TEXT]
//       (ours only: each operation's paired speed-up of every core over one thread,
//        ROUNDS times, the rounds apart so that each meets a different spell of the machine)

#include "Measure.h"
#include "Operations.h"
#include "filters/shared/parallel/RowBands.h"
#include "ResultTable.h"
#include "TestPicture.h"

#include <opencv2/core.hpp>
#include <opencv2/core/utility.hpp>
#include <vips/vips.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>

namespace {

constexpr PictureSize kComparedSize{4000, 3000};
const std::vector<PictureSize> kScalingSizes = {{1152, 864}, {2304, 1728}, {4000, 3000}, {8000, 6000}};
// A scaling cell gets fewer runs when its warm-up shows they would take longer.
constexpr double kScalingBudgetMilliseconds = 12000.0;

struct Options {
    std::string sample;
    std::string out;
    std::string only;
    int runs = 7;
    int memoryIndex = -1;
    int repeatIndex = -1;
    int speedUpRounds = 0;
    std::string side;
    bool scaling = true;  // false: only the side-by-side table
};

Options Parse(int argc, char** argv)
{
    std::map<std::string, std::string> values;
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string key = argv[i];
        if ((key == "--memory" || key == "--repeat") && i + 2 < argc) {
            (key == "--memory" ? options.memoryIndex : options.repeatIndex) = std::stoi(argv[++i]);
            options.side = argv[++i];
        } else if (i + 1 < argc) {
            values[key] = argv[++i];
        } else {
            throw std::runtime_error("missing value for " + key);
        }
    }
    options.sample = values["--sample"];
    options.out = values["--out"];
    options.only = values["--only"];
    if (values.count("--runs")) options.runs = std::max(1, std::stoi(values["--runs"]));
    if (values.count("--speed-ups")) options.speedUpRounds = std::max(1, std::stoi(values["--speed-ups"]));
    if (values.count("--sizes")) {
        if (values["--sizes"] != "compared") throw std::runtime_error("--sizes takes only \"compared\"");
        options.scaling = false;
    }
    if (options.sample.empty()) throw std::runtime_error("--sample FILE is required");
    return options;
}

Trial Prepare(Side side, const Operation& operation, const CTestPicture& picture)
{
    switch (side) {
    case Side::Ours: return PrepareOurs(operation, picture.Ours());
    case Side::OpenCv: return PrepareOpenCv(operation, picture.Bgr());
    case Side::Vips: return PrepareVips(operation, picture.Rgb());
    }
    return {};
}

Side SideNamed(const std::string& name)
{
    for (const Side side : kSides) {
        if (name == SideName(side)) return side;
    }
    throw std::runtime_error("no side " + name);
}

int MeasureMemory(const Options& options)
{
    const CTestPicture picture(options.sample, kComparedSize.width, kComparedSize.height);
    const Operation& operation = AllOperations().at(static_cast<size_t>(options.memoryIndex));
    const Side side = SideNamed(options.side);
    std::cout << PeakGrowthKilobytes([&] { return Prepare(side, operation, picture); }) << std::endl;
    return 0;
}

int Repeat(const Options& options)
{
    const CTestPicture picture(options.sample, kComparedSize.width, kComparedSize.height);
    const Operation& operation = AllOperations().at(static_cast<size_t>(options.repeatIndex));
    const Trial trial = Prepare(SideNamed(options.side), operation, picture);
    std::vector<double> times;
    for (int run = 0; run < options.runs; ++run) times.push_back(TimeOnce(trial));
    std::cout << operation.name << ", " << options.side << ": " << MedianOf(times) << " ms" << std::endl;
    return 0;
}

std::vector<const Operation*> Chosen(const Options& options)
{
    std::vector<const Operation*> chosen;
    for (const Operation& operation : AllOperations()) {
        if (operation.name.find(options.only) != std::string::npos) chosen.push_back(&operation);
    }
    return chosen;
}

// One thread on every side, or ours and OpenCV with their default threading.
void UseEveryCore(bool every)
{
    SetKernelThreadCount(every ? 0 : 1);
    cv::setNumThreads(every ? -1 : 0);
}

// The medians of runs alternating between the trials, after one warm-up each.
std::vector<double> TimeAlternating(const std::vector<Trial>& trials, int runs)
{
    std::vector<std::vector<double>> times(trials.size());
    for (const Trial& trial : trials) TimeOnce(trial);
    for (int run = 0; run < runs; ++run) {
        for (size_t side = 0; side < trials.size(); ++side) times[side].push_back(TimeOnce(trials[side]));
    }
    std::vector<double> medians;
    for (std::vector<double>& sideTimes : times) medians.push_back(MedianOf(sideTimes));
    return medians;
}

// The medians of each trial's runs back to back, after one warm-up. On every core
// the sides cannot alternate: OpenCV's TBB workers keep spinning for a while after
// a call and take a core from the run that follows, and a pause long enough for
// them to stop lets this virtual machine's second processor fall asleep, to wake
// too late for a run of a few milliseconds (measured: a 6 ms resize on two threads
// takes 3.3 ms back to back, 6 ms after 5 ms of rest).
std::vector<double> TimeInTurn(const std::vector<Trial>& trials, int runs)
{
    std::vector<double> medians;
    for (const Trial& trial : trials) {
        TimeOnce(trial);
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) times.push_back(TimeOnce(trial));
        medians.push_back(MedianOf(times));
    }
    return medians;
}

// The median over pairs of runs of ours on one thread over ours on every core. The
// two runs of a pair follow each other, so that a slow spell of this shared machine
// weighs on both sides of a ratio rather than on one side's median. Each timed run
// on every core follows an untimed one, which wakes the kernel threads the one-thread
// run let fall asleep.
double PairedSpeedUp(const Trial& trial, int runs)
{
    std::vector<double> speedUps;
    for (int run = 0; run < runs; ++run) {
        SetKernelThreadCount(0);
        TimeOnce(trial);
        const double allCores = TimeOnce(trial);
        SetKernelThreadCount(1);
        const double one = TimeOnce(trial);
        speedUps.push_back(one / allCores);
    }
    return MedianOf(speedUps);
}

// Times one thread on every side, then ours and OpenCV on every core.
ComparisonRow TimeSideBySide(const Operation& operation, const CTestPicture& picture, int runs)
{
    std::vector<Trial> trials;
    for (const Side side : kSides) trials.push_back(Prepare(side, operation, picture));
    const std::vector<double> oneThread = TimeAlternating(trials, runs);
    const double speedUp = PairedSpeedUp(trials[0], runs);
    UseEveryCore(true);
    const std::vector<double> allCores = TimeInTurn({trials[0], trials[1]}, runs);
    UseEveryCore(false);
    return {&operation, {oneThread[0], oneThread[1], oneThread[2]}, {}, {allCores[0], allCores[1]}, speedUp};
}

// Every row-parallel operation of ours, round after round; prints each round's
// speed-ups, then each operation's median over the rounds.
int MeasureSpeedUps(const Options& options, const std::vector<const Operation*>& operations)
{
    const CTestPicture picture(options.sample, kComparedSize.width, kComparedSize.height);
    std::vector<Trial> trials;
    for (const Operation* operation : operations) trials.push_back(PrepareOurs(*operation, picture.Ours()));
    std::vector<std::vector<double>> speedUps(operations.size());
    for (int round = 0; round < options.speedUpRounds; ++round) {
        for (size_t i = 0; i < operations.size(); ++i) {
            speedUps[i].push_back(PairedSpeedUp(trials[i], options.runs));
            std::cerr << "round " << round + 1 << ", " << operations[i]->name << ": " << speedUps[i].back() << std::endl;
        }
    }
    std::cout << "| operation | every core over one thread: median of " << options.speedUpRounds
              << " rounds | lowest | highest |\n|---|---:|---:|---:|\n";
    for (size_t i = 0; i < operations.size(); ++i) {
        const auto [lowest, highest] = std::minmax_element(speedUps[i].begin(), speedUps[i].end());
        std::cout << "| " << operations[i]->name << " | " << std::fixed << std::setprecision(2) << MedianOf(speedUps[i])
                  << " | " << *lowest << " | " << *highest << " |\n";
    }
    return 0;
}

std::array<long, 3> MemoryOfEachSide(const Options& options, const Operation& operation)
{
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const auto index = std::to_string(&operation - AllOperations().data());
    std::array<long, 3> kilobytes{};
    for (size_t side = 0; side < 3; ++side) {
        kilobytes[side] = NumberFromChild(self, {"--sample", options.sample, "--memory", index, SideName(kSides[side])});
    }
    return kilobytes;
}

std::vector<ComparisonRow> Compare(const Options& options, const std::vector<const Operation*>& operations)
{
    const CTestPicture picture(options.sample, kComparedSize.width, kComparedSize.height);
    std::vector<ComparisonRow> rows;
    for (const Operation* operation : operations) {
        if (operation->oursOnly) continue;
        std::cerr << "comparing " << operation->name << std::endl;
        rows.push_back(TimeSideBySide(*operation, picture, options.runs));
    }
    for (ComparisonRow& row : rows) {
        std::cerr << "memory of " << row.operation->name << std::endl;
        row.kilobytes = MemoryOfEachSide(options, *row.operation);
    }
    return rows;
}

std::vector<ScalingRow> Scale(const Options& options, const std::vector<const Operation*>& operations)
{
    std::vector<ScalingRow> rows;
    if (!options.scaling) return rows;
    for (const Operation* operation : operations) rows.push_back({operation, {}, {}});
    for (const PictureSize& size : kScalingSizes) {
        const CTestPicture picture(options.sample, size.width, size.height);
        for (ScalingRow& row : rows) {
            std::cerr << "scaling " << row.operation->name << " at " << size.width << 'x' << size.height << std::endl;
            const Trial trial = PrepareOurs(*row.operation, picture.Ours());
            const double warmUp = TimeOnce(trial);
            const int runs = std::clamp(static_cast<int>(kScalingBudgetMilliseconds / warmUp), 1, options.runs);
            std::vector<double> times;
            for (int run = 0; run < runs; ++run) times.push_back(TimeOnce(trial));
            row.milliseconds.push_back(MedianOf(times));
            row.runs.push_back(runs);
        }
    }
    return rows;
}

std::string ModelName()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) return line.substr(line.find(':') + 2);
    }
    return "unknown";
}

std::string MachineText()
{
    std::ostringstream text;
    text << "Machine: " << ModelName() << ", " << sysconf(_SC_NPROCESSORS_ONLN) << " logical CPUs. OpenCV "
         << CV_VERSION << " (dispatch: " << cv::getCPUFeaturesLine() << "), libvips " << vips_version_string()
         << ".\n";
    return text.str();
}

void Publish(const Options& options, const std::vector<ComparisonRow>& comparison,
             const std::vector<ScalingRow>& scaling)
{
    std::ostringstream markdown;
    // Operations that no peer computes have only the second table.
    if (!comparison.empty()) {
        markdown << "## Side by side on a " << kComparedSize.width << "x" << kComparedSize.height
                 << " photo (samples/fruits.jpg enlarged with bicubic OpenCV resize before timing)\n\n";
    }
    markdown << MachineText() << "\n";
    if (!comparison.empty()) {
        WriteComparisonMarkdown(markdown, comparison, options.runs);
        markdown << "\n";
    }
    if (!scaling.empty()) {
        markdown << "## Our cost by picture size\n\n";
        WriteScalingMarkdown(markdown, scaling, kScalingSizes, options.runs);
    }
    std::cout << markdown.str();
    if (options.out.empty()) return;
    std::filesystem::create_directories(options.out);
    std::ofstream(options.out + "/peers.md") << markdown.str();
    std::ofstream comparisonCsv(options.out + "/peers.csv");
    WriteComparisonCsv(comparisonCsv, comparison);
    if (scaling.empty()) return;
    std::ofstream scalingCsv(options.out + "/scaling.csv");
    WriteScalingCsv(scalingCsv, scaling, kScalingSizes);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const Options options = Parse(argc, argv);
        if (VIPS_INIT(argv[0])) throw std::runtime_error("cannot start libvips");
        vips_concurrency_set(1);
        vips_cache_set_max(0);
        UseEveryCore(false);
        if (options.memoryIndex >= 0) return MeasureMemory(options);
        if (options.repeatIndex >= 0) return Repeat(options);
        const std::vector<const Operation*> operations = Chosen(options);
        if (options.speedUpRounds > 0) return MeasureSpeedUps(options, operations);
        const std::vector<ComparisonRow> comparison = Compare(options, operations);
        Publish(options, comparison, Scale(options, operations));
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "basicfilters_peers: " << error.what() << std::endl;
        return 1;
    }
}
