// How fast "errmsg.xml" is read into catalogue entries, next to its floor:
// reading the same bytes from the file in the same run.
//   CatalogueLoadBench FILE [ROUNDS]
// Prints the catalogue's size, its entry count, the best time of each over
// the rounds, and both rates in MB/s with their ratio.
#include "config/ErrorCatalogueParser.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <time.h>  // <chrono> does not build with a GBK execution character set

namespace {

std::string ReadFile(const char* path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<std::size_t>(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

template <typename Work>
double BestSeconds(int rounds, Work work)
{
    double best = 1e9;
    for (int i = 0; i < rounds; ++i) {
        timespec start{}, end{};
        clock_gettime(CLOCK_MONOTONIC, &start);
        work();
        clock_gettime(CLOCK_MONOTONIC, &end);
        best = std::min(best, static_cast<double>(end.tv_sec - start.tv_sec) + (end.tv_nsec - start.tv_nsec) / 1e9);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
    const std::string bytes = ReadFile(argv[1]);
    if (bytes.empty()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    std::size_t entries = 0;
    std::size_t checksum = 0;
    const double floor = BestSeconds(rounds, [&] { checksum += ReadFile(argv[1]).size(); });
    const double parse = BestSeconds(rounds, [&] {
        const config::ParsedErrorCatalogue parsed = config::ParseErrorCatalogue(bytes, config::SystemGbkConverter());
        if (!parsed.loaded) {
            std::fprintf(stderr, "%s: the catalogue does not load\n", argv[0]);
            std::exit(1);
        }
        entries = parsed.entries.size();
        checksum += parsed.entries.back().msg.size();
    });
    const double megabytes = static_cast<double>(bytes.size()) / 1e6;
    std::printf("%s: %.2f MB, %zu entries\n", argv[1], megabytes, entries);
    std::printf("  read file (floor)  %8.2f ms  %8.1f MB/s\n", floor * 1e3, megabytes / floor);
    std::printf("  load catalogue     %8.2f ms  %8.1f MB/s  (%.1fx the floor's time)\n", parse * 1e3,
                megabytes / parse, parse / floor);
    return checksum == 0 ? 1 : 0;
}
