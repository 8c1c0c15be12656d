// The growth rule on made-up series, and on series sampled for real from
// cycles that leak one thing each.
#include "soak/ProcessCounters.h"
#include "soak/SoakSeries.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <vector>

using testing::ElementsAre;
using testing::Field;
using testing::HasSubstr;
using testing::IsEmpty;

namespace {

constexpr std::uint64_t KB = 1024;

std::vector<soak::Sample> Flat(int samples)
{
    std::vector<soak::Sample> series;
    for (int i = 0; i < samples; ++i)
        series.push_back({i == 0 ? 1 : i * 500, 120, 40, 9000 * KB, 3000 * KB});
    return series;
}

std::vector<std::string> Figures(const std::vector<soak::Growth>& growth)
{
    std::vector<std::string> figures;
    for (const soak::Growth& g : growth)
        figures.push_back(g.figure);
    return figures;
}

TEST(GrowthRule, AFlatSeriesAndCountsThatFallAreNotGrowth)
{
    EXPECT_THAT(soak::FindGrowth(Flat(21)), IsEmpty());
    std::vector<soak::Sample> falling = Flat(5);
    falling[2].gdiObjects = 100;
    falling[3].windows = 30;
    falling[4].heapBytes -= 200 * KB;
    EXPECT_THAT(soak::FindGrowth(falling), IsEmpty());
    EXPECT_THAT(soak::FindGrowth({}), IsEmpty());
    EXPECT_THAT(soak::FindGrowth(Flat(1)), IsEmpty());
}

TEST(GrowthRule, OneGdiObjectOrWindowAboveTheFirstSampleIsGrowth)
{
    std::vector<soak::Sample> series = Flat(6);
    series[3].gdiObjects += 1;
    const std::vector<soak::Growth> growth = soak::FindGrowth(series);
    ASSERT_THAT(Figures(growth), ElementsAre("gdi"));
    EXPECT_EQ(growth[0].cycle, 1500);
    EXPECT_THAT(soak::FormatGrowth(growth[0]), HasSubstr("121 after 120 at cycle 1"));

    series = Flat(6);
    series[5].windows += 1;
    EXPECT_THAT(soak::FindGrowth(series), ElementsAre(Field(&soak::Growth::cycle, 2500)));
    EXPECT_THAT(Figures(soak::FindGrowth(series)), ElementsAre("windows"));
}

TEST(GrowthRule, MemoryMayStepUpWithinItsAllowanceButNotBeyond)
{
    const soak::MemoryRule rule;
    std::vector<soak::Sample> series = Flat(21);
    for (std::size_t i = 3; i < series.size(); ++i) {
        series[i].heapBytes += rule.heapAllowanceBytes;
        series[i].privateBytes += rule.privateAllowanceBytes;
    }
    EXPECT_THAT(soak::FindGrowth(series), IsEmpty());

    series[7].heapBytes += 1;
    series[9].privateBytes += 1;
    const std::vector<soak::Growth> growth = soak::FindGrowth(series);
    EXPECT_THAT(Figures(growth), ElementsAre("private KB", "heap KB"));
    EXPECT_EQ(growth[0].cycle, 4500);
    EXPECT_EQ(growth[1].cycle, 3500);
}

TEST(GrowthRule, ASteadyRiseToTheLastSampleIsGrowthEvenWithinTheAllowance)
{
    const soak::MemoryRule rule;
    std::vector<soak::Sample> series = Flat(21);
    // About 50 bytes a cycle over the last `steadyRises` intervals of 500 cycles.
    const std::size_t from = series.size() - rule.steadyRises;
    for (std::size_t i = from; i < series.size(); ++i)
        series[i].heapBytes += (i - from + 1) * 200 * KB / rule.steadyRises;
    std::vector<soak::Growth> growth = soak::FindGrowth(series);
    ASSERT_THAT(Figures(growth), ElementsAre("heap KB"));
    EXPECT_THAT(growth[0].reason, HasSubstr("rose at each of the last"));

    // Rises of a few bytes are the jitter of a heap, not a leak.
    std::vector<soak::Sample> jitter = Flat(21);
    for (std::size_t i = 1; i < jitter.size(); ++i)
        jitter[i].heapBytes = jitter[i - 1].heapBytes + rule.steadyStepBytes - 1;
    EXPECT_THAT(soak::FindGrowth(jitter), IsEmpty());

    // One interval without a rise ends it.
    series[from + 2].heapBytes = series[from + 1].heapBytes;
    EXPECT_THAT(soak::FindGrowth(series), IsEmpty());

    // A run too short for the whole rise is judged by the allowance alone.
    EXPECT_THAT(soak::FindGrowth(std::vector<soak::Sample>(series.end() - rule.steadyRises, series.end())),
                IsEmpty());
}

TEST(GrowthRule, MemoryThatRoseOnceAndStaysIsNotASteadyRise)
{
    std::vector<soak::Sample> series = Flat(21);
    for (std::size_t i = 1; i < series.size(); ++i)
        series[i].privateBytes += 512 * KB;
    for (std::size_t i = 1; i < series.size(); i += 2)
        series[i].heapBytes += 20 * KB;
    EXPECT_THAT(soak::FindGrowth(series), IsEmpty());
}

TEST(GrowthRule, TheSeriesPrintsOneLinePerSampleInKilobytes)
{
    EXPECT_EQ(soak::SeriesHeader(), "   cycle    gdi  windows  private KB   heap KB");
    EXPECT_EQ(soak::FormatSample({10000, 153, 41, 9 * 1024 * KB + 600, 3 * 1024 * KB + 100}),
              "   10000    153       41        9217      3072");
}

// Cycles that make and free a little of everything, as a show and close
// does, plus one thing per cycle that is never freed; sampled with the real
// counters after the first cycle and every `every` cycles.
std::vector<soak::Sample> RunCycles(int cycles, int every, const std::function<void()>& leak)
{
    std::vector<soak::Sample> series;
    for (int cycle = 1; cycle <= cycles; ++cycle) {
        HWND window = CreateWindowExA(0, "STATIC", "cycle", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
        HBRUSH brush = CreateSolidBrush(RGB(cycle % 256, 0, 0));
        void* block = HeapAlloc(GetProcessHeap(), 0, 4000);
        HeapFree(GetProcessHeap(), 0, block);
        DeleteObject(brush);
        DestroyWindow(window);
        if (leak)
            leak();
        if (cycle == 1 || cycle % every == 0)
            series.push_back({cycle, soak::GdiObjects(), soak::ThreadWindows(), soak::CommittedPrivateBytes(),
                              soak::HeapBytesInUse()});
    }
    return series;
}

TEST(GrowthRuleOnRealCounters, CyclesThatLeakNothingAreFlat)
{
    EXPECT_THAT(soak::FindGrowth(RunCycles(450, 50, nullptr)), IsEmpty());
}

TEST(GrowthRuleOnRealCounters, OneBrushOrOneWindowLeakedPerCycleIsCaught)
{
    std::vector<HGDIOBJ> brushes;
    EXPECT_THAT(Figures(soak::FindGrowth(RunCycles(450, 50, [&] { brushes.push_back(CreateSolidBrush(0)); }))),
                ElementsAre("gdi"));
    for (HGDIOBJ brush : brushes)
        DeleteObject(brush);

    std::vector<HWND> windows;
    EXPECT_THAT(Figures(soak::FindGrowth(RunCycles(450, 50, [&] {
                    windows.push_back(
                        CreateWindowExA(0, "STATIC", "leak", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
                }))),
                testing::Contains("windows"));
    for (HWND window : windows)
        DestroyWindow(window);
}

TEST(GrowthRuleOnRealCounters, A256ByteBlockLeakedPerCycleIsCaught)
{
    std::vector<void*> blocks;
    const std::vector<soak::Sample> series =
        RunCycles(450, 50, [&] { blocks.push_back(HeapAlloc(GetProcessHeap(), 0, 256)); });
    const std::vector<soak::Growth> growth = soak::FindGrowth(series);
    EXPECT_THAT(Figures(growth), ElementsAre("heap KB"));
    for (void* block : blocks)
        HeapFree(GetProcessHeap(), 0, block);
}

TEST(GrowthRuleOnRealCounters, CommittedPagesLeakedPerCycleAreCaught)
{
    std::vector<void*> pages;
    const std::vector<soak::Sample> series =
        RunCycles(450, 50, [&] { pages.push_back(VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_READWRITE)); });
    EXPECT_THAT(Figures(soak::FindGrowth(series)), testing::Contains("private KB"));
    for (void* page : pages)
        VirtualFree(page, 0, MEM_RELEASE);
}

} // namespace
