#include "faults/RunReport.h"

#include <windows.h>

#include <cstdio>

namespace faults {
namespace {

// One field: no tabs or line breaks inside.
std::string Field(std::string text)
{
    for (char& c : text)
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    return text.empty() ? std::string("-") : text;
}

std::string CallFields(const CountedCall* call)
{
    if (call == nullptr)
        return "-\t-\t-\t-";
    const HookInfo& hook = Hooks()[call->hook];
    char offset[32];
    std::snprintf(offset, sizeof offset, "0x%llx", static_cast<unsigned long long>(call->callerOffset));
    return std::string(ImporterName(call->importer)) + "\t" + hook.dll + "!" + hook.function + "\t" + offset + "\t" +
           Field(call->subject);
}

// When the run that is being reported began.
LARGE_INTEGER g_begun{};

std::string MillisecondsSinceBegin()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return std::to_string((now.QuadPart - g_begun.QuadPart) * 1000 / frequency.QuadPart);
}

void Emit(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

void PrintCall(std::uint64_t number, const CountedCall& call)
{
    Emit("call\t" + std::to_string(number) + "\t" + CallFields(&call));
}

void PrintBegin(const std::string& kind, const std::string& id)
{
    Emit("begin\t" + kind + "\t" + Field(id));
    QueryPerformanceCounter(&g_begun);
}

void PrintResult(const std::string& kind, const std::string& id, const CountedCall* call, const Verdict& verdict)
{
    std::string problems;
    for (const std::string& problem : verdict.problems)
        problems += (problems.empty() ? "" : " ; ") + problem;
    std::string notes;
    for (const std::string& note : verdict.notes)
        notes += (notes.empty() ? "" : " ; ") + note;
    Emit("result\t" + kind + "\t" + Field(id) + "\t" + CallFields(call) + "\t" + (verdict.honest ? "1" : "0") + "\t" +
         (verdict.torn ? "1" : "0") + "\t" + (verdict.journal ? "1" : "0") + "\t" + (verdict.clean ? "1" : "0") +
         "\t" + Field(problems) + "\t" + MillisecondsSinceBegin() + "\t" + Field(notes));
}

} // namespace faults
