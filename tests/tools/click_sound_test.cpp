#include "tools/click_sound.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace rpn {
namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::uint32_t ReadLittleEndian(const std::vector<std::uint8_t>& bytes, std::size_t offset, int byteCount)
{
    std::uint32_t value = 0;
    for (int index = byteCount - 1; index >= 0; --index)
        value = (value << 8) | bytes.at(offset + static_cast<std::size_t>(index));
    return value;
}

std::string ReadTag(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                       bytes.begin() + static_cast<std::ptrdiff_t>(offset + 4));
}

TEST(ClickSound, CommittedFileIsWhatTheGeneratorWrites)
{
    QTemporaryDir directory;
    ASSERT_TRUE(directory.isValid());
    const std::string regenerated = directory.filePath(QStringLiteral("click.wav")).toStdString();
    ASSERT_TRUE(WriteClickWav(regenerated));
    const std::vector<std::uint8_t> committed = ReadFile(RPN_RESOURCE_DIRECTORY "/click.wav");
    ASSERT_FALSE(committed.empty());
    EXPECT_EQ(ReadFile(regenerated), committed);
}

TEST(ClickSound, HeaderDescribesMono16BitPcmAt22050)
{
    const std::vector<std::uint8_t> wav = ReadFile(RPN_RESOURCE_DIRECTORY "/click.wav");
    ASSERT_EQ(wav.size(), 44u + 2u * 1079u);
    EXPECT_EQ(ReadTag(wav, 0), "RIFF");
    EXPECT_EQ(ReadLittleEndian(wav, 4, 4), wav.size() - 8);
    EXPECT_EQ(ReadTag(wav, 8), "WAVE");
    EXPECT_EQ(ReadTag(wav, 12), "fmt ");
    EXPECT_EQ(ReadLittleEndian(wav, 16, 4), 16u);
    EXPECT_EQ(ReadLittleEndian(wav, 20, 2), 1u);  // PCM
    EXPECT_EQ(ReadLittleEndian(wav, 22, 2), 1u);  // mono
    EXPECT_EQ(ReadLittleEndian(wav, 24, 4), 22050u);
    EXPECT_EQ(ReadLittleEndian(wav, 28, 4), 44100u);
    EXPECT_EQ(ReadLittleEndian(wav, 32, 2), 2u);
    EXPECT_EQ(ReadLittleEndian(wav, 34, 2), 16u);
    EXPECT_EQ(ReadTag(wav, 36), "data");
    EXPECT_EQ(ReadLittleEndian(wav, 40, 4) / 2, 1079u);
}

// A click, not a tone: loud at once, nearly gone well before the end, and
// silent at both edges so it does not pop.
TEST(ClickSound, IsAShortPercussiveBurst)
{
    const std::vector<std::int16_t> samples = MakeClickSamples();
    ASSERT_EQ(samples.size(), static_cast<std::size_t>(kClickSampleCount));
    const auto magnitude = [](std::int16_t sample) { return std::abs(static_cast<int>(sample)); };
    const auto loudest = std::max_element(samples.begin(), samples.end(),
                                          [&](std::int16_t a, std::int16_t b) { return magnitude(a) < magnitude(b); });
    const int peak = magnitude(*loudest);
    EXPECT_GT(peak, 12000);
    EXPECT_LT(peak, 32767) << "clipped";
    EXPECT_LT(std::distance(samples.begin(), loudest), 110) << "peak later than 5 ms";

    int tailPeak = 0;
    for (std::size_t index = samples.size() * 3 / 4; index < samples.size(); ++index)
        tailPeak = std::max(tailPeak, magnitude(samples[index]));
    EXPECT_LT(tailPeak, peak / 10);
    EXPECT_LT(magnitude(samples.front()), peak / 8);
    EXPECT_EQ(samples.back(), 0);
}

}  // namespace
}  // namespace rpn
