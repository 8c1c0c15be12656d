#include "soak/SoakSeries.h"

#include <cstdio>

namespace soak {
namespace {

std::string Kilobytes(std::uint64_t bytes) { return std::to_string((bytes + 512) / 1024); }

template <typename Field>
void CountsNeverAbove(const std::vector<Sample>& series, const char* figure, Field field, std::vector<Growth>& out)
{
    const auto first = field(series.front());
    for (std::size_t i = 1; i < series.size(); ++i) {
        const auto now = field(series[i]);
        if (now > first) {
            out.push_back({figure, series[i].cycle,
                           std::to_string(now) + " after " + std::to_string(first) + " at cycle " +
                               std::to_string(series.front().cycle)});
            return;
        }
    }
}

template <typename Field>
void MemoryStaysWithin(const std::vector<Sample>& series, const char* figure, Field field, std::uint64_t allowance,
                       const MemoryRule& rule, std::vector<Growth>& out)
{
    const std::uint64_t first = field(series.front());
    for (std::size_t i = 1; i < series.size(); ++i) {
        const std::uint64_t now = field(series[i]);
        if (now > first + allowance) {
            out.push_back({figure, series[i].cycle,
                           Kilobytes(now) + " KB, more than " + Kilobytes(allowance) + " KB above " +
                               Kilobytes(first) + " KB at cycle " + std::to_string(series.front().cycle)});
            return;
        }
    }
    if (rule.steadyRises <= 0 || series.size() < static_cast<std::size_t>(rule.steadyRises) + 1)
        return;
    const std::size_t from = series.size() - static_cast<std::size_t>(rule.steadyRises) - 1;
    for (std::size_t i = from + 1; i < series.size(); ++i)
        if (field(series[i]) < field(series[i - 1]) + rule.steadyStepBytes)
            return;
    out.push_back({figure, series.back().cycle,
                   "rose at each of the last " + std::to_string(rule.steadyRises) + " samples, from " +
                       Kilobytes(field(series[from])) + " KB at cycle " + std::to_string(series[from].cycle) +
                       " to " + Kilobytes(field(series.back())) + " KB"});
}

} // namespace

std::vector<Growth> FindGrowth(const std::vector<Sample>& series, const MemoryRule& rule)
{
    std::vector<Growth> growth;
    if (series.size() < 2)
        return growth;
    CountsNeverAbove(series, "gdi", [](const Sample& s) { return s.gdiObjects; }, growth);
    CountsNeverAbove(series, "windows", [](const Sample& s) { return s.windows; }, growth);
    MemoryStaysWithin(series, "private KB", [](const Sample& s) { return s.privateBytes; },
                      rule.privateAllowanceBytes, rule, growth);
    MemoryStaysWithin(series, "heap KB", [](const Sample& s) { return s.heapBytes; }, rule.heapAllowanceBytes, rule,
                      growth);
    return growth;
}

std::string SeriesHeader()
{
    char line[96];
    std::snprintf(line, sizeof line, "%8s %6s %8s %11s %9s", "cycle", "gdi", "windows", "private KB", "heap KB");
    return line;
}

std::string FormatSample(const Sample& sample)
{
    char line[96];
    std::snprintf(line, sizeof line, "%8d %6u %8u %11s %9s", sample.cycle, static_cast<unsigned>(sample.gdiObjects),
                  static_cast<unsigned>(sample.windows), Kilobytes(sample.privateBytes).c_str(),
                  Kilobytes(sample.heapBytes).c_str());
    return line;
}

std::string FormatGrowth(const Growth& growth)
{
    return growth.figure + " grows: " + growth.reason + " (seen at cycle " + std::to_string(growth.cycle) + ")";
}

} // namespace soak
