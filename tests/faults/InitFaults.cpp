// Fault injection over InitSubApp of the real wscbs.dll with the reference
// host model: every call at the import boundary of the module and the host
// model is made to fail in turn, each on a fresh copy of the sample
// installation, and what the start left behind is checked (FaultChecks.h).
// scripts/faults runs it and prints the table.
//
//   InitFaults.exe SAMPLE WORK calls
//       the calls of a start without a fault, one line each
//   InitFaults.exe SAMPLE WORK faults FIRST LAST STEP
//       makes call N fail for N = FIRST, FIRST+STEP, ... up to LAST
//   InitFaults.exe SAMPLE WORK damaged FIRST
//       starts on installations with a damaged file, from variant FIRST
//   InitFaults.exe SAMPLE WORK fulldisk FIRST
//       starts on a full disk (WORK on a small file system of its own),
//       from free-space level FIRST
//   InitFaults.exe - - image FILE
//       reads the database FILE as the checks read it, in a process of its
//       own, and prints what it read
// With --write-ahead-log after the mode's numbers the host keeps its
// database with a write-ahead log, as a host may choose to.
//
// SAMPLE is the sample installation, WORK a folder the starts may fill
// (both Windows paths). Output, tab-separated, one line each:
//   call    N importer function offset subject
//   begin   kind id
//   result  kind id importer function offset subject honest torn journal clean problems ms notes
// "begin" comes before a run, so that a run that ends the process shows.
// Exit code 0 when every check passed, 1 when one failed, 2 on misuse.
#include "support/CallFaults.h"
#include "faults/DamagedFiles.h"
#include "faults/FaultChecks.h"
#include "faults/FullDisk.h"
#include "faults/RunReport.h"
#include "faults/StartRunner.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

std::string Folder(std::string path)
{
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path;
}

int ListCalls(const faults::Reference& reference)
{
    std::uint64_t number = 0;
    for (const faults::CountedCall& call : reference.after.calls)
        faults::PrintCall(++number, call);
    return 0;
}

int RunFaults(const faults::StartRunner& runner, const faults::Reference& reference, std::uint64_t first,
              std::uint64_t last, std::uint64_t step)
{
    const std::uint64_t total = reference.after.calls.size();
    bool failed = false;
    for (std::uint64_t n = first; n <= last && n <= total; n += step) {
        const std::string id = std::to_string(n);
        faults::PrintBegin("fault", id);
        runner.FreshCopy();
        const faults::StartOutcome faulted = runner.Start(n);
        faults::Verdict verdict;
        if (!faulted.fired)
            verdict.problems.push_back("call " + id + " never came");
        faults::CheckFaultedStart(reference, faulted, verdict);
        faults::CheckCleanStart(reference, runner.Start(0), verdict);
        faults::PrintResult("fault", id, &reference.after.calls[n - 1], verdict);
        failed = failed || verdict.Failed() || !faulted.fired;
    }
    return failed ? 1 : 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: InitFaults SAMPLE WORK calls|faults|damaged|fulldisk ...\n");
        return 2;
    }
    // Lines end with a line feed alone, as the script reads them.
    _setmode(_fileno(stdout), _O_BINARY);
    try {
        const std::string mode = argv[3];
        if (mode == "image" && argc == 5) {
            const std::string text = faults::DatabaseStateText(faults::ReadDatabase(argv[4]));
            std::fwrite(text.data(), 1, text.size(), stdout);
            return 0;
        }
        const bool writeAheadLog = std::string(argv[argc - 1]) == "--write-ahead-log";
        if (writeAheadLog)
            --argc;
        const auto number = [&](int index, std::uint64_t fallback) {
            return index < argc ? std::strtoull(argv[index], nullptr, 10) : fallback;
        };
        const faults::StartRunner runner(Folder(argv[1]), Folder(argv[2]) + "installation\\", writeAheadLog);
        if (mode == "fulldisk")
            return faults::RunFullDisk(runner, Folder(argv[2]), number(4, 0));
        const faults::Reference reference = faults::MakeReference(runner);
        if (!reference.after.succeeded) {
            std::fprintf(stderr, "InitFaults: the start without a fault failed: %s\n", reference.after.text.c_str());
            return 1;
        }
        if (mode == "calls")
            return ListCalls(reference);
        if (mode == "faults")
            return RunFaults(runner, reference, std::max<std::uint64_t>(number(4, 1), 1), number(5, ~0ull),
                             std::max<std::uint64_t>(number(6, 1), 1));
        if (mode == "damaged")
            return faults::RunDamagedFiles(runner, reference, number(4, 0));
        std::fprintf(stderr, "InitFaults: unknown mode %s\n", mode.c_str());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "InitFaults: %s\n", e.what());
        return 2;
    }
}
