// The soak's counters against objects made and freed in known numbers.
#include "soak/ProcessCounters.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

// Blocks handed here are in use as far as the compiler knows: a block that
// is allocated and freed unused may never be allocated at all.
void* volatile keptBlock = nullptr;
void Keep(void* block) { keptBlock = block; }

TEST(GdiObjectCount, TheHandleTableCountsEachObjectMadeAndFreedAndNoStockObject)
{
    // The process's first DC brings objects the system keeps for good.
    DeleteDC(CreateCompatibleDC(nullptr));
    const std::optional<std::uint32_t> before = soak::GdiObjectsInHandleTable();
    ASSERT_TRUE(before.has_value()) << "no GDI handle table in the PEB";

    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 100; ++i)
        brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    EXPECT_EQ(soak::GdiObjectsInHandleTable(), *before + 100);

    // Other kinds count alike; stock objects are the system's, not ours.
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HRGN region = CreateRectRgn(0, 0, 5, 5);
    GetStockObject(WHITE_BRUSH);
    GetStockObject(SYSTEM_FONT);
    EXPECT_EQ(soak::GdiObjectsInHandleTable(), *before + 104);

    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    DeleteObject(region);
    DeleteObject(pen);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EXPECT_EQ(soak::GdiObjectsInHandleTable(), *before);
}

TEST(GdiObjectCount, ObjectsAreToldApartByKind)
{
    DeleteDC(CreateCompatibleDC(nullptr));
    std::map<std::string, std::uint32_t> expected = soak::GdiObjectsByKind();
    HPEN pens[] = {CreatePen(PS_SOLID, 1, 0), CreatePen(PS_DASH, 1, 0), CreatePen(PS_SOLID, 2, 0)};
    HBRUSH brushes[] = {CreateSolidBrush(0), CreateHatchBrush(HS_CROSS, 0)};
    HRGN region = CreateRectRgn(0, 0, 1, 1);
    HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    expected["pen"] += 3;
    expected["brush"] += 2;
    expected["region"] += 1;
    expected["font"] += 1;
    EXPECT_EQ(soak::GdiObjectsByKind(), expected);
    for (HPEN pen : pens)
        DeleteObject(pen);
    for (HBRUSH brush : brushes)
        DeleteObject(brush);
    DeleteObject(region);
    DeleteObject(font);
}

TEST(GdiObjectCount, TheTableGivesEachObjectsHandleAndABrushTellsItsColour)
{
    HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    HBRUSH windowColoured = CreateSolidBrush(GetSysColor(COLOR_WINDOW));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0xAB, 0xCD, 0xEF));
    const std::vector<soak::GdiObject> objects = soak::GdiObjectsInTable();
    auto find = [&](HGDIOBJ handle) {
        for (const soak::GdiObject& object : objects)
            if (object.handle == handle)
                return object;
        return soak::GdiObject{nullptr, ""};
    };
    EXPECT_EQ(find(brush).kind, "brush");
    EXPECT_EQ(find(pen).kind, "pen");
    EXPECT_THAT(soak::DescribeGdiObject(find(brush)), testing::EndsWith(" #123456"));
    EXPECT_THAT(soak::DescribeGdiObject(find(pen)), testing::EndsWith(" #ABCDEF"));
    const std::string described = soak::DescribeGdiObject(find(windowColoured));
    const std::size_t list = described.find("(system colour ");
    ASSERT_NE(list, std::string::npos) << described;
    EXPECT_THAT("," + described.substr(list + 15, described.size() - list - 16) + ",",
                testing::HasSubstr("," + std::to_string(COLOR_WINDOW) + ","));
    DeleteObject(brush);
    DeleteObject(windowColoured);
    DeleteObject(pen);
    EXPECT_EQ(soak::GdiObjectsInTable().size(), objects.size() - 3);
}

TEST(GdiObjectCount, TheProcessCountFollowsABrushWhicheverSourceAnswers)
{
    bool fromTable = false;
    const std::uint32_t before = soak::GdiObjects(&fromTable);
    HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
    EXPECT_EQ(soak::GdiObjects(), before + 1);
    DeleteObject(brush);
    EXPECT_EQ(soak::GdiObjects(), before);
    // Wine answers 0 here; then the table counts.
    EXPECT_EQ(fromTable, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS) == 0);
}

TEST(ThreadWindowCount, CountsTopLevelWindowsWithAllDescendantsOfThisThreadOnly)
{
    // A thread with windows may have one of the system's own besides (Wine's
    // input-method window, made with the first and gone with the last): an
    // anchor keeps it there, as the host's main window does.
    HWND anchor = CreateWindowExA(0, "STATIC", "anchor", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    const std::uint32_t before = soak::ThreadWindows();
    HWND top = CreateWindowExA(0, "STATIC", "top", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, "STATIC", "child", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "STATIC", "grandchild", WS_CHILD, 0, 0, 5, 5, child, nullptr, nullptr, nullptr);
    HWND owned = CreateWindowExA(0, "STATIC", "owned", WS_POPUP, 0, 0, 5, 5, top, nullptr, nullptr, nullptr);
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(soak::ThreadWindows(), before + 4);

    // A window of another thread is not this thread's.
    std::uint32_t seenThere = 0;
    HWND foreign = nullptr;
    std::thread([&] {
        foreign = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
        seenThere = soak::ThreadWindows();
        DestroyWindow(foreign);
    }).join();
    EXPECT_NE(foreign, nullptr);
    EXPECT_GE(seenThere, 1u);
    EXPECT_EQ(soak::ThreadWindows(), before + 4);

    DestroyWindow(top);
    EXPECT_EQ(soak::ThreadWindows(), before);
    DestroyWindow(anchor);
}

TEST(CommittedPrivateMemory, CountsCommittedPagesAndNotReservedOnes)
{
    constexpr SIZE_T kSize = 4 * 1024 * 1024;
    const std::uint64_t before = soak::CommittedPrivateBytes();
    void* reserved = VirtualAlloc(nullptr, kSize, MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(reserved, nullptr);
    const std::uint64_t afterReserve = soak::CommittedPrivateBytes();
    EXPECT_LT(afterReserve, before + kSize / 4);

    ASSERT_NE(VirtualAlloc(reserved, kSize / 2, MEM_COMMIT, PAGE_READWRITE), nullptr);
    const std::uint64_t afterCommit = soak::CommittedPrivateBytes();
    EXPECT_GE(afterCommit, afterReserve + kSize / 2);
    EXPECT_LT(afterCommit, afterReserve + kSize / 2 + kSize / 4);

    VirtualFree(reserved, 0, MEM_RELEASE);
    EXPECT_LT(soak::CommittedPrivateBytes(), before + kSize / 4);
}

TEST(HeapBytesInUse, CountsBlocksOfEveryHeapTheCRuntimesAmongThem)
{
    constexpr std::size_t kBlocks = 100;
    constexpr std::size_t kBlockSize = 1000;
    const std::uint64_t before = soak::HeapBytesInUse();

    std::vector<void*> processHeap;
    for (std::size_t i = 0; i < kBlocks; ++i)
        processHeap.push_back(HeapAlloc(GetProcessHeap(), 0, kBlockSize));
    const std::uint64_t withProcessHeap = soak::HeapBytesInUse();
    EXPECT_GE(withProcessHeap, before + kBlocks * kBlockSize);
    EXPECT_LT(withProcessHeap, before + 2 * kBlocks * kBlockSize);

    HANDLE own = HeapCreate(0, 0, 0);
    void* inOwnHeap = HeapAlloc(own, 0, 50000);
    void* fromMalloc = std::malloc(70000);
    auto* fromNew = new char[30000];
    Keep(fromMalloc);
    Keep(fromNew);
    const std::uint64_t withAll = soak::HeapBytesInUse();
    EXPECT_GE(withAll, withProcessHeap + 150000);
    EXPECT_LT(withAll, withProcessHeap + 200000);

    delete[] fromNew;
    std::free(fromMalloc);
    HeapFree(own, 0, inOwnHeap);
    HeapDestroy(own);
    for (void* block : processHeap)
        HeapFree(GetProcessHeap(), 0, block);
    const std::uint64_t after = soak::HeapBytesInUse();
    EXPECT_LT(after, before + kBlocks * kBlockSize / 10);
    EXPECT_GT(after + kBlocks * kBlockSize / 10, before);
}

} // namespace
