#include "startup/catalogue/ErrorRecordArray.h"

#include "sharedrt/SharedHeap.h"

#include <new>
#include <utility>

namespace startup {
namespace {

void ReleaseRecords(rt::TErrorMsg* first) noexcept
{
    if (first == nullptr)
        return;
    const std::int32_t count = rt::CountedArrayLength(first);
    for (std::int32_t i = 0; i < count; ++i) {
        rt::TErrorMsg& record = first[i];
        record.Msg.Release();
        record.ReservedText1.Release();
        record.ReservedText2.Release();
        record.ModuleType.Release();
        record.InsideCode.Release();
    }
    rt::SharedHeap::Free(reinterpret_cast<rt::CountedArrayHeader*>(first) - 1);
}

// Owns a block under construction until it is handed over.
struct PendingArray {
    rt::TErrorMsg* first = nullptr;
    ~PendingArray() { ReleaseRecords(first); }
};

} // namespace

void ErrorRecordArray::Assign(const std::vector<ErrorCatalogueEntry>& entries)
{
    PendingArray pending;
    if (!entries.empty()) {
        const std::size_t bytes = sizeof(rt::CountedArrayHeader) + entries.size() * sizeof(rt::TErrorMsg);
        // Zero bytes are valid records: every string empty, every number 0.
        auto* header = static_cast<rt::CountedArrayHeader*>(rt::SharedHeap::AllocZeroed(bytes));
        header->RefCount = 1;
        header->Count = static_cast<std::int32_t>(entries.size());
        pending.first = reinterpret_cast<rt::TErrorMsg*>(header + 1);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            rt::TErrorMsg& record = pending.first[i];
            const ErrorCatalogueEntry& entry = entries[i];
            record.SeqNo = static_cast<std::int32_t>(i + 1);
            record.Code = entry.code;
            record.Msg = std::string_view(entry.msg);
            record.ModuleType = std::string_view(entry.moduleType);
            record.InsideCode = std::string_view(entry.insideCode);
        }
    }
    std::swap(first_, pending.first);
}

void ErrorRecordArray::Release() noexcept
{
    ReleaseRecords(std::exchange(first_, nullptr));
}

} // namespace startup
