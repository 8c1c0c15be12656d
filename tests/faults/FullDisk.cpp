#include "faults/FullDisk.h"

#include "faults/FaultChecks.h"
#include "faults/RunReport.h"

#include "sharedrt/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace faults {
namespace {

constexpr std::uint64_t kPage = 4096;
// Levels beyond what a whole start writes, so that the last ones succeed.
constexpr std::uint64_t kMargin = 4 * kPage;

std::uint64_t FreeBytes(const std::string& folder)
{
    ULARGE_INTEGER available{};
    ULARGE_INTEGER total{};
    ULARGE_INTEGER free{};
    if (!GetDiskFreeSpaceExA(folder.c_str(), &available, &total, &free))
        return 0;
    return available.QuadPart;
}

// Fills the file system up to `leave` bytes free with one file.
void Fill(const std::string& filler, std::uint64_t leave)
{
    const std::uint64_t free = FreeBytes(filler.substr(0, filler.rfind('\\') + 1));
    std::uint64_t size = free > leave ? free - leave : 0;
    rt::unique_hfile file(CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file)
        return;
    const std::vector<char> zeros(64 * 1024, '\0');
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::uint64_t>(size, zeros.size()));
        DWORD written = 0;
        if (!WriteFile(file.get(), zeros.data(), chunk, &written, nullptr) || written == 0)
            break;
        size -= written;
    }
}

} // namespace

int RunFullDisk(const StartRunner& runner, const std::string& work, std::uint64_t first)
{
    const Reference reference = MakeReference(runner);
    if (!reference.after.succeeded)
        return 1;
    // What a whole start takes: the installation after it, less as copied.
    runner.FreshCopy();
    const std::uint64_t copied = FreeBytes(work);
    runner.Start(0);
    const std::uint64_t started = FreeBytes(work);
    const std::uint64_t written = copied > started ? copied - started : 0;
    const std::uint64_t levels = (written + kMargin) / kPage + 1;

    const std::string filler = work + "filler.bin";
    const std::string kind = runner.WriteAheadLog() ? "fulldisk-wal" : "fulldisk";
    bool failed = false;
    for (std::uint64_t level = first; level < levels; ++level) {
        const std::uint64_t leave = level * kPage;
        const std::string id = std::to_string(level) + " (" + std::to_string(leave / 1024) + " KB free)";
        PrintBegin(kind, id);
        runner.FreshCopy();
        Fill(filler, leave);
        Verdict verdict;
        const std::uint64_t free = FreeBytes(work);
        if (free > leave + kPage)
            verdict.problems.push_back("could not fill the disk: " + std::to_string(free) + " bytes free");
        StartOutcome outcome = runner.Start(0);
        verdict.notes.push_back("result " + std::to_string(outcome.succeeded ? 1 : 0) + " " + outcome.text);
        for (const std::string& line : outcome.log)
            verdict.notes.push_back("log: " + line);
        // What the start left is read as the next start finds it, with room
        // on the disk again.
        DeleteFileA(filler.c_str());
        outcome.database = runner.ReadDatabaseNow();
        CheckFaultedStart(reference, outcome, verdict);
        CheckCleanStart(reference, runner.Start(0), verdict);
        PrintResult(kind, id, nullptr, verdict);
        failed = failed || verdict.Failed();
    }
    DeleteFileA(filler.c_str());
    return failed ? 1 : 0;
}

} // namespace faults
