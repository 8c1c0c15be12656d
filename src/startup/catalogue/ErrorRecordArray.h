#pragma once
// The catalogue as the host reads it: a counted array of packed TErrorMsg
// records in the shared heap (reference count, element count, records).
// The array belongs to the module; the host only borrows the address of the
// first record.
#include "startup/catalogue/ErrorCatalogueParser.h"

#include "sharedrt/ErrorMsgLayout.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace startup {

class ErrorRecordArray {
public:
    ErrorRecordArray() = default;
    ErrorRecordArray(const ErrorRecordArray&) = delete;
    ErrorRecordArray& operator=(const ErrorRecordArray&) = delete;
    ~ErrorRecordArray() { Release(); }

    // Builds a new array from `entries` (SeqNo from 1, reserved fields empty
    // and zero) and releases the previous one. When building fails the
    // previous array stays as it was and the failure propagates.
    void Assign(const std::vector<ErrorCatalogueEntry>& entries);

    // The address of the first record; null when the array is empty.
    rt::TErrorMsg* First() const noexcept { return first_; }
    std::int32_t Count() const noexcept { return rt::CountedArrayLength(first_); }

    // Exchanges the arrays of the two objects.
    void Swap(ErrorRecordArray& other) noexcept { std::swap(first_, other.first_); }

    // Releases the array with all its strings; it becomes empty.
    void Release() noexcept;

private:
    rt::TErrorMsg* first_ = nullptr;
};

} // namespace startup
