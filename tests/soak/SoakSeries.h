#pragma once
// The figures a long show/close run samples, and the rule that decides
// whether any of them grows.
#include <cstdint>
#include <string>
#include <vector>

namespace soak {

struct Sample {
    int cycle = 0;
    std::uint32_t gdiObjects = 0;
    std::uint32_t windows = 0;
    std::uint64_t privateBytes = 0;
    std::uint64_t heapBytes = 0;
};

// What memory may do without being called a leak. Heaps and the address
// space grow in steps (a new heap segment, a cache filled once), so the
// memory figures get a fixed allowance above the first sample; a leak of a
// few hundred bytes per cycle passes it within a few thousand cycles. A
// leak too small for that still shows as a rise at every sample of a run:
// `steadyRises` rises in a row, each of at least `steadyStepBytes`, to the
// last sample, are growth whatever their sum. The step keeps a jitter of a
// few bytes (a string that needs another block now and then) from counting
// as a rise; at 500 cycles a sample it is half a byte a cycle.
struct MemoryRule {
    std::uint64_t privateAllowanceBytes = 1024 * 1024;
    std::uint64_t heapAllowanceBytes = 256 * 1024;
    int steadyRises = 8;
    std::uint64_t steadyStepBytes = 256;
};

struct Growth {
    std::string figure;  // "gdi", "windows", "private KB", "heap KB"
    int cycle = 0;       // the sample where it was seen
    std::string reason;
};

// The rule over a series whose first sample was taken after the first show
// and close: GDI objects and windows may never be above their first figure;
// private and heap bytes may not pass the first figure by more than the
// allowance, nor rise steadily to the end. Empty: flat.
std::vector<Growth> FindGrowth(const std::vector<Sample>& series, const MemoryRule& rule = {});

// The header and one line per sample: cycle, gdi, windows, private KB, heap KB.
std::string SeriesHeader();
std::string FormatSample(const Sample& sample);
std::string FormatGrowth(const Growth& growth);

} // namespace soak
