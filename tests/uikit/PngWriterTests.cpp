#include "sharedrt/ui/PngWriter.h"

#include "support/TempFolder.h"

#include "sharedrt/RtError.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

using namespace rt::ui;

namespace {

std::uint32_t BigEndian(const std::uint8_t* p) { return (p[0] << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

struct Chunk {
    std::string type;
    std::vector<std::uint8_t> data;
};

// Splits a PNG file into its chunks, checking every CRC on the way.
std::vector<Chunk> Chunks(const std::vector<std::uint8_t>& png)
{
    std::vector<Chunk> chunks;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = BigEndian(&png[at]);
        Chunk chunk{std::string(png.begin() + at + 4, png.begin() + at + 8),
                    std::vector<std::uint8_t>(png.begin() + at + 8, png.begin() + at + 8 + length)};
        EXPECT_EQ(BigEndian(&png[at + 8 + length]), Crc32(&png[at + 4], 4 + length)) << chunk.type;
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    return chunks;
}

// Reads back a zlib stream made of stored blocks, checking its Adler-32.
std::vector<std::uint8_t> InflateStored(const std::vector<std::uint8_t>& zlib)
{
    std::vector<std::uint8_t> raw;
    EXPECT_EQ((zlib[0] * 256 + zlib[1]) % 31, 0);
    std::size_t at = 2;
    bool last = false;
    while (!last) {
        last = zlib.at(at) & 1;
        EXPECT_EQ(zlib[at] & 6, 0) << "not a stored block";
        const unsigned length = zlib[at + 1] | (zlib[at + 2] << 8);
        const unsigned complement = zlib[at + 3] | (zlib[at + 4] << 8);
        EXPECT_EQ(length ^ 0xFFFFu, complement);
        raw.insert(raw.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + length);
        at += 5 + length;
    }
    EXPECT_EQ(BigEndian(&zlib[at]), Adler32(raw.data(), raw.size()));
    EXPECT_EQ(at + 4, zlib.size());
    return raw;
}

} // namespace

TEST(PngWriter, ChecksumsMatchTheirDefinitions)
{
    const char iend[] = "IEND";
    EXPECT_EQ(Crc32(reinterpret_cast<const std::uint8_t*>(iend), 4), 0xAE426082u);
    const char wiki[] = "Wikipedia";
    EXPECT_EQ(Adler32(reinterpret_cast<const std::uint8_t*>(wiki), 9), 0x11E60398u);
    EXPECT_EQ(Adler32(nullptr, 0), 1u);
}

TEST(PngWriter, LargeImageRoundTripsThroughStoredBlocks)
{
    // 200 x 150 RGB rows are 90 150 bytes: two stored blocks.
    const int width = 200, height = 150;
    std::vector<std::uint32_t> pixels(width * height);
    for (int i = 0; i < width * height; ++i)
        pixels[i] = static_cast<std::uint32_t>(i * 2654435761u) & 0xFFFFFF;
    const std::vector<std::uint8_t> png = EncodePng(width, height, pixels);
    ASSERT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);

    const std::vector<Chunk> chunks = Chunks(png);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(BigEndian(&chunks[0].data[0]), 200u);
    EXPECT_EQ(BigEndian(&chunks[0].data[4]), 150u);
    EXPECT_EQ(chunks[0].data[8], 8);  // bit depth
    EXPECT_EQ(chunks[0].data[9], 2);  // RGB
    EXPECT_EQ(chunks[1].type, "IDAT");
    EXPECT_EQ(chunks[2].type, "IEND");

    const std::vector<std::uint8_t> raw = InflateStored(chunks[1].data);
    ASSERT_EQ(raw.size(), static_cast<std::size_t>(height) * (1 + 3 * width));
    for (int y : {0, 77, 149}) {
        const std::size_t row = static_cast<std::size_t>(y) * (1 + 3 * width);
        EXPECT_EQ(raw[row], 0);
        for (int x : {0, 123, 199}) {
            const std::uint32_t p = pixels[y * width + x];
            EXPECT_EQ(raw[row + 1 + 3 * x], (p >> 16) & 0xFF);
            EXPECT_EQ(raw[row + 2 + 3 * x], (p >> 8) & 0xFF);
            EXPECT_EQ(raw[row + 3 + 3 * x], p & 0xFF);
        }
    }
}

TEST(PngWriter, RefusesMismatchedSizesAndUnwritablePaths)
{
    EXPECT_THROW(EncodePng(2, 2, std::vector<std::uint32_t>(3)), rt::Error);
    EXPECT_THROW(EncodePng(0, 0, {}), rt::Error);
    testing_support::TempFolder folder;
    EXPECT_THROW(WritePngFile(folder.Path() + "missing\\a.png", 1, 1, {0}), rt::IoError);
    const std::string path = folder.Path() + "一.png";
    WritePngFile(path, 1, 1, {0x123456});
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(bytes, EncodePng(1, 1, {0x123456}));
}
