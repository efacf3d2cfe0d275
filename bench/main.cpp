// Runs every registered benchmark with the console table, then prints the ratios that
// the benchmark files declared, from the median CPU time of each benchmark. CPU time,
// not wall time: on a shared machine the wall clock also counts time spent descheduled.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "BenchSummary.h"

namespace {
std::vector<BenchRatio>& ratios() {
    static std::vector<BenchRatio> all;
    return all;
}

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const double seconds = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median") medians_[name] = seconds;
            } else {
                samples_[name].push_back(seconds);
            }
        }
    }

    void printSummary() {
        if (ratios().empty()) return;
        std::printf("\n%-34s %12s %12s %8s  %s\n", "ratio (median CPU time)", "numerator", "denominator", "ratio", "target");
        for (const BenchRatio& ratio : ratios()) {
            const double numerator = median(ratio.numerator), denominator = median(ratio.denominator);
            if (numerator <= 0 || denominator <= 0) continue;
            const double value = numerator / denominator;
            std::printf("%-34s %9.1f us %9.1f us %7.2fx  ", ratio.label, numerator * 1e6, denominator * 1e6, value);
            if (ratio.limit > 0) std::printf("<= %.2fx %s\n", ratio.limit, value <= ratio.limit ? "met" : "MISSED");
            else std::printf("-\n");
        }
    }

private:
    double median(const std::string& name) {
        if (auto found = medians_.find(name); found != medians_.end()) return found->second;
        auto found = samples_.find(name);
        if (found == samples_.end() || found->second.empty()) return 0;
        std::vector<double> values = found->second;
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        return values[values.size() / 2];
    }

    std::map<std::string, double> medians_;
    std::map<std::string, std::vector<double>> samples_;
};
} // namespace

bool registerBenchRatio(const BenchRatio& ratio) {
    ratios().push_back(ratio);
    return true;
}

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printSummary();
    benchmark::Shutdown();
    return 0;
}
