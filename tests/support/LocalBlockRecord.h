#pragma once
// Watches the local-heap blocks that one loaded module allocates and frees
// through its own imports (LocalAlloc, LocalFree), or makes its LocalAlloc
// fail, while an object lives. One at a time per process.
#include "support/ImportPatch.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace testing_support {

class LocalBlockRecord {
public:
    explicit LocalBlockRecord(HMODULE module, bool failAllocation = false)
        : alloc_(module, "kernel32.dll", "LocalAlloc",
                 reinterpret_cast<void*>(failAllocation ? &FailingAlloc : &RecordingAlloc)),
          free_(module, "kernel32.dll", "LocalFree", reinterpret_cast<void*>(&RecordingFree))
    {
        State() = {};
        State().alloc = reinterpret_cast<AllocFn>(alloc_.Original());
        State().free = reinterpret_cast<FreeFn>(free_.Original());
    }
    LocalBlockRecord(const LocalBlockRecord&) = delete;
    LocalBlockRecord& operator=(const LocalBlockRecord&) = delete;
    ~LocalBlockRecord() = default;

    const std::vector<HLOCAL>& Allocated() const { return State().allocated; }
    const std::vector<HLOCAL>& Freed() const { return State().freed; }
    int FailedAllocations() const { return State().failed; }
    // Blocks allocated and not freed since the record began (a handle can
    // come back from a later allocation, so the two are counted).
    std::vector<HLOCAL> Held() const
    {
        std::vector<HLOCAL> held;
        for (HLOCAL block : State().allocated) {
            const auto allocations = std::count(State().allocated.begin(), State().allocated.end(), block);
            const auto frees = std::count(State().freed.begin(), State().freed.end(), block);
            if (allocations > frees && std::count(held.begin(), held.end(), block) == 0)
                held.push_back(block);
        }
        return held;
    }

private:
    using AllocFn = HLOCAL(WINAPI*)(UINT, SIZE_T);
    using FreeFn = HLOCAL(WINAPI*)(HLOCAL);
    struct Record {
        AllocFn alloc = nullptr;
        FreeFn free = nullptr;
        std::vector<HLOCAL> allocated;
        std::vector<HLOCAL> freed;
        int failed = 0;
    };
    static Record& State()
    {
        static Record record;
        return record;
    }
    static HLOCAL WINAPI RecordingAlloc(UINT flags, SIZE_T bytes)
    {
        const HLOCAL block = State().alloc(flags, bytes);
        if (block != nullptr)
            State().allocated.push_back(block);
        return block;
    }
    static HLOCAL WINAPI FailingAlloc(UINT, SIZE_T)
    {
        ++State().failed;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    static HLOCAL WINAPI RecordingFree(HLOCAL block)
    {
        State().freed.push_back(block);
        return State().free(block);
    }

    ImportPatch alloc_;
    ImportPatch free_;
};

} // namespace testing_support
