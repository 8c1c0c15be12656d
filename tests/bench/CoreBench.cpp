// The OS-free figures of scripts/bench, each next to its floor, measured by
// Google Benchmark in a native optimised build without sanitizers:
//   - the error catalogue load (well-formedness, parse, GBK conversion,
//     record array) against expat's bare parse of the same bytes;
//   - ReplaceAllText on 1 KB and 1 MB against the std::string find/replace
//     loop and against memmem search plus copy;
//   - WriteParamValue and ReadParamValue on a text of 100 pairs against a
//     plain find of the pair and a copy of the text.
//   CoreBench [benchmark flags] GB2312_CATALOGUE UTF8_CATALOGUE
#include "startup/catalogue/ErrorCatalogueParser.h"
#include "startup/catalogue/ErrorRecordArray.h"
#include "util/FastStrings.h"
#include "util/ParamText.h"

#include <benchmark/benchmark.h>
#include <expat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The catalogue as the module loads it: parsed, converted, and published as
// the host's record array (the previous array released by the next load).
void CatalogueLoad(benchmark::State& state, const std::string& bytes)
{
    startup::ErrorRecordArray records;
    for (auto _ : state) {
        const startup::ParsedErrorCatalogue parsed = startup::ParseErrorCatalogue(bytes, text::SystemGbkConverter());
        if (!parsed.loaded) {
            state.SkipWithError("the catalogue does not load");
            return;
        }
        records.Assign(parsed.entries);
        benchmark::DoNotOptimize(records.First());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

// expat alone over the same bytes: no handlers, nothing kept. GBK bytes are
// read as Latin-1, one character each, so that nothing is converted.
void BareParse(benchmark::State& state, const std::string& bytes, const char* encoding)
{
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate(encoding);
        const bool parsed = XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) == XML_STATUS_OK;
        XML_ParserFree(parser);
        if (!parsed) {
            state.SkipWithError("expat rejects the catalogue");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

constexpr std::string_view kFind = "&eq%";
constexpr std::string_view kReplacement = "=";

// A parameter-like text of `size` bytes: names, values with GBK characters,
// separators, and an escaped '=' about every 48 bytes.
std::string ReplaceSource(std::size_t size)
{
    static const char* const kWords[] = {"SubAppCode", "WSCBS", "UserCode", "001", "RunMode", "纳税人", "识别号",
                                         "330106999900017", "当前税款所属期", "202401", ";", "ModalFormMsg"};
    std::string text;
    unsigned seed = 12345;
    while (text.size() < size) {
        seed = seed * 1103515245u + 12345u;
        const unsigned pick = (seed >> 16) % 16;
        if (pick < 12)
            text += kWords[pick];
        else if (pick < 14)
            text += kFind;
        else
            text += ' ';
    }
    text.resize(size);
    return text;
}

void ReplaceOurs(benchmark::State& state, const std::string& source)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(util::ReplaceAllText(source, kFind, kReplacement));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}

// The common loop: find, replace in place, go on behind the replacement.
void ReplaceLoop(benchmark::State& state, const std::string& source)
{
    for (auto _ : state) {
        std::string text = source;
        std::size_t at = 0;
        while ((at = text.find(kFind, at)) != std::string::npos) {
            text.replace(at, kFind.size(), kReplacement);
            at += kReplacement.size();
        }
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}

// The floor: memmem from one occurrence to the next, every piece copied
// once into a buffer of the source's size.
void ReplaceFloor(benchmark::State& state, const std::string& source)
{
    for (auto _ : state) {
        std::string out(source.size(), '\0');
        char* write = out.data();
        const char* from = source.data();
        const char* const end = source.data() + source.size();
        while (const void* hit = memmem(from, static_cast<std::size_t>(end - from), kFind.data(), kFind.size())) {
            const char* at = static_cast<const char*>(hit);
            std::memcpy(write, from, static_cast<std::size_t>(at - from));
            write += at - from;
            std::memcpy(write, kReplacement.data(), kReplacement.size());
            write += kReplacement.size();
            from = at + kFind.size();
        }
        std::memcpy(write, from, static_cast<std::size_t>(end - from));
        write += end - from;
        out.resize(static_cast<std::size_t>(write - out.data()));
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size()));
}

std::string HundredPairs()
{
    std::string text;
    for (int i = 0; i < 100; ++i) {
        char pair[64];
        std::snprintf(pair, sizeof pair, "%sName%03d=值%03d&eq%%x", i == 0 ? "" : ";", i, i);
        text += pair;
    }
    return text;
}

constexpr std::string_view kParamName = "Name050";

void ParamWrite(benchmark::State& state, const std::string& text)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(util::WriteParamValue(text, kParamName, "新值=1;2"));
    state.SetItemsProcessed(state.iterations());
}

void ParamRead(benchmark::State& state, const std::string& text)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(util::ReadParamValue(text, kParamName));
    state.SetItemsProcessed(state.iterations());
}

// The floor of either: find the pair byte for byte and copy the text.
void ParamFloor(benchmark::State& state, const std::string& text)
{
    const std::string key = ";" + std::string(kParamName) + "=";
    for (auto _ : state) {
        std::string copy = ";" + text;
        benchmark::DoNotOptimize(copy.find(key));
        benchmark::DoNotOptimize(copy);
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: CoreBench [benchmark flags] GB2312_CATALOGUE UTF8_CATALOGUE\n");
        return 2;
    }
    static const std::string gb2312 = ReadFile(argv[1]);
    static const std::string utf8 = ReadFile(argv[2]);
    if (gb2312.empty() || utf8.empty()) {
        std::fprintf(stderr, "CoreBench: cannot read the catalogues\n");
        return 2;
    }
    static const std::string small = ReplaceSource(1024);
    static const std::string large = ReplaceSource(1024 * 1024);
    static const std::string pairs = HundredPairs();

    benchmark::RegisterBenchmark("catalogue/gb2312/load", CatalogueLoad, gb2312);
    benchmark::RegisterBenchmark("catalogue/gb2312/expat", BareParse, gb2312, "ISO-8859-1");
    benchmark::RegisterBenchmark("catalogue/utf8/load", CatalogueLoad, utf8);
    benchmark::RegisterBenchmark("catalogue/utf8/expat", BareParse, utf8, "UTF-8");
    benchmark::RegisterBenchmark("replace/1K/ours", ReplaceOurs, small);
    benchmark::RegisterBenchmark("replace/1K/loop", ReplaceLoop, small);
    benchmark::RegisterBenchmark("replace/1K/memmem", ReplaceFloor, small);
    benchmark::RegisterBenchmark("replace/1M/ours", ReplaceOurs, large);
    benchmark::RegisterBenchmark("replace/1M/loop", ReplaceLoop, large);
    benchmark::RegisterBenchmark("replace/1M/memmem", ReplaceFloor, large);
    benchmark::RegisterBenchmark("param/write", ParamWrite, pairs);
    benchmark::RegisterBenchmark("param/read", ParamRead, pairs);
    benchmark::RegisterBenchmark("param/find+copy", ParamFloor, pairs);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
