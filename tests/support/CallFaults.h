#pragma once
// A counting interposer at the import boundary of the module and the host
// model: every file, folder, profile, registry and C runtime file call that
// wscbs.dll and ModuleLib.dll import (SQLite's file I/O included, since
// SQLite is linked into ModuleLib.dll), and every host service that wscbs.dll
// imports from ModuleLib.dll, goes through a replacement while it is
// installed. Between Begin and End the replacements count their calls with
// one counter; the call whose number was armed fails the way the real call
// fails (its documented failure value and a fitting last error or errno; a
// host service gives the neutral result that the host model gives when it
// fails inside) and every other call goes on to the original.
//
// One interposer per process, used on one thread. The fault program
// (tests/faults) installs it into the loaded wscbs.dll and ModuleLib.dll;
// a test of the statically linked layers installs it into its own program
// and lets ForEachFault drive it.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace faults {

// Whose import table a call came through.
enum class Importer : std::uint8_t { Module, Host, Unknown };

const char* ImporterName(Importer importer);

// One counted call.
struct CountedCall {
    int hook = 0;                     // index into Hooks()
    Importer importer = Importer::Unknown;
    std::uintptr_t callerOffset = 0;  // return address less the importer's load address
    std::string subject;              // the path it names or the handle's path, if known
};

// One imported function the interposer stands in for.
struct HookInfo {
    const char* dll;
    const char* function;
    void* replacement;
};

const std::vector<HookInfo>& Hooks();

class CallFaults {
public:
    static CallFaults& Instance();

    // Points every hooked import of `module` at its replacement (functions
    // the module does not import are left out), remembering the originals.
    void Install(HMODULE module, Importer importer);
    // Puts the originals back into `module`'s table.
    void Remove(HMODULE module);

    // Counting from here: call number `failAt` (from 1) fails; 0 fails none.
    void Begin(std::uint64_t failAt);
    void End();
    // Calls counted since Begin, each with where it came from.
    const std::vector<CountedCall>& Calls() const { return calls_; }
    std::uint64_t Count() const { return calls_.size(); }
    // True when the armed call came.
    bool Fired() const { return fired_; }

    // Runs after every ExecADOQueryMsg of the module (not counted itself):
    // the statement and whether the host reported it done. Also before each
    // one with `before` set. Empty: nothing runs.
    using StatementObserver = std::function<void(const std::string& statement, bool before, bool done)>;
    void ObserveStatements(StatementObserver observer) { observer_ = std::move(observer); }

    // --- for the replacements -------------------------------------------------
    // Counts the call; true when it is the one to fail.
    bool Enter(int hook, const void* returnAddress, std::string subject);
    // The original that `returnAddress`'s module imported.
    void* Original(int hook, const void* returnAddress) const;
    // The path a handle was opened on, when it was opened while counting.
    std::string HandleSubject(HANDLE handle) const;
    void NoteHandle(HANDLE handle, const std::string& subject);
    void ForgetHandle(HANDLE handle);
    bool Counting() const { return counting_; }
    void NotifyStatement(const std::string& statement, bool before, bool done);

private:
    struct Installed {
        HMODULE module;
        Importer importer;
        std::uintptr_t base;
        std::uintptr_t end;
        std::vector<std::pair<int, void**>> slots;  // hook, import slot
        std::vector<void*> originals;               // by hook; null when not imported
    };
    const Installed* Owner(const void* address) const;

    std::vector<Installed> installed_;
    std::vector<CountedCall> calls_;
    std::map<HANDLE, std::string> handles_;
    std::uint64_t failAt_ = 0;
    bool counting_ = false;
    bool fired_ = false;
    StatementObserver observer_;
};

// Counts, and fails call `failAt` of, the interposed calls for its life.
class FaultWindow {
public:
    explicit FaultWindow(std::uint64_t failAt) { CallFaults::Instance().Begin(failAt); }
    ~FaultWindow() { CallFaults::Instance().End(); }
    FaultWindow(const FaultWindow&) = delete;
    FaultWindow& operator=(const FaultWindow&) = delete;
};

// Runs `action` with each of its interposed calls failing in turn: call 1,
// then call 2, and so on, until a run meets no fault. `check(n, call)`
// follows each run, with the call that failed. The interposer is put into
// this program's own import table for the while (the layers that a test
// links statically call through it).
template <typename Action, typename Check>
void ForEachFault(Action&& action, Check&& check)
{
    CallFaults& faults = CallFaults::Instance();
    const HMODULE program = GetModuleHandleA(nullptr);
    faults.Install(program, Importer::Module);
    for (std::uint64_t n = 1;; ++n) {
        {
            const FaultWindow window(n);
            action();
        }
        if (!faults.Fired())
            break;
        check(n, faults.Calls()[n - 1]);
    }
    faults.Remove(program);
}

} // namespace faults
