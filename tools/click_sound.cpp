#include "tools/click_sound.h"

#include <algorithm>
#include <fstream>
#include <string_view>

namespace rpn {

namespace {

// Only +, -, * and / on doubles below (no libm), which IEEE 754 rounds the
// same way everywhere; with contraction off the samples are bit-identical.
constexpr double kPeak = 26000.0;

// A 1.9 kHz ring and a 420 Hz body, advanced by rotation; cos and sin of
// 2 pi f / 22050 are written out rather than computed.
constexpr double kRingCos = 0.85698379510295941;  // cos(2 pi 1900 / 22050)
constexpr double kRingSin = 0.51534335634693973;  // sin(2 pi 1900 / 22050)
constexpr double kBodyCos = 0.99284692634183735;  // cos(2 pi 420 / 22050)
constexpr double kBodySin = 0.11939422454024434;  // sin(2 pi 420 / 22050)

// Per-sample decay factors: time constants of about 3 ms (noise), 6 ms (ring) and 11 ms (body).
constexpr double kNoiseDecay = 0.9850;
constexpr double kRingDecay = 0.9930;
constexpr double kBodyDecay = 0.9960;

constexpr int kAttackSamples = 6;
constexpr int kFadeSamples = 120;

class NoiseSource {
public:
    // xorshift32, fixed seed: the same burst every time.
    double Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return static_cast<double>(static_cast<std::int32_t>(m_state)) / 2147483648.0;
    }

private:
    std::uint32_t m_state = 0x1F2E3D4Cu;
};

void AppendText(std::vector<std::uint8_t>& bytes, std::string_view text)
{
    // One byte at a time: GCC 12 at -O3 misreads a range insert into a
    // vector that was just reserved as an overflow.
    for (const char c : text)
        bytes.push_back(static_cast<std::uint8_t>(c));
}

void AppendLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int byteCount)
{
    for (int index = 0; index < byteCount; ++index)
        bytes.push_back(static_cast<std::uint8_t>((value >> (8 * index)) & 0xFFu));
}

}  // namespace

std::vector<std::int16_t> MakeClickSamples()
{
    std::vector<std::int16_t> samples;
    samples.reserve(kClickSampleCount);
    NoiseSource noise;
    double ringCos = 1.0;
    double ringSin = 0.0;
    double bodyCos = 1.0;
    double bodySin = 0.0;
    double noiseLevel = 1.0;
    double ringLevel = 0.55;
    double bodyLevel = 0.45;
    double previousNoise = 0.0;
    for (int index = 0; index < kClickSampleCount; ++index) {
        // Differencing the noise tilts it towards the treble: a tick, not a hiss.
        const double white = noise.Next();
        const double bright = white - 0.6 * previousNoise;
        previousNoise = white;
        double value = 0.5 * noiseLevel * bright + ringLevel * ringSin + bodyLevel * bodySin;

        // A few samples of attack and a fade at the end avoid a pop at either edge.
        if (index < kAttackSamples)
            value = value * static_cast<double>(index + 1) / static_cast<double>(kAttackSamples + 1);
        const int remaining = kClickSampleCount - index;
        if (remaining <= kFadeSamples)
            value = value * static_cast<double>(remaining - 1) / static_cast<double>(kFadeSamples);

        const double scaled = std::clamp(value * kPeak, -32767.0, 32767.0);
        // Round half away from zero by hand, independent of the rounding mode.
        const double rounded = scaled < 0.0 ? -static_cast<double>(static_cast<long>(-scaled + 0.5))
                                            : static_cast<double>(static_cast<long>(scaled + 0.5));
        samples.push_back(static_cast<std::int16_t>(rounded));

        const double nextRingCos = ringCos * kRingCos - ringSin * kRingSin;
        ringSin = ringSin * kRingCos + ringCos * kRingSin;
        ringCos = nextRingCos;
        const double nextBodyCos = bodyCos * kBodyCos - bodySin * kBodySin;
        bodySin = bodySin * kBodyCos + bodyCos * kBodySin;
        bodyCos = nextBodyCos;
        noiseLevel *= kNoiseDecay;
        ringLevel *= kRingDecay;
        bodyLevel *= kBodyDecay;
    }
    return samples;
}

std::vector<std::uint8_t> MakeClickWav()
{
    const std::vector<std::int16_t> samples = MakeClickSamples();
    constexpr std::uint32_t kChannels = 1;
    constexpr std::uint32_t kBitsPerSample = 16;
    constexpr std::uint32_t kBlockAlign = kChannels * kBitsPerSample / 8;
    const auto dataSize = static_cast<std::uint32_t>(samples.size()) * kBlockAlign;

    std::vector<std::uint8_t> bytes;
    bytes.reserve(44 + dataSize);
    AppendText(bytes, "RIFF");
    AppendLittleEndian(bytes, 36 + dataSize, 4);
    AppendText(bytes, "WAVE");
    AppendText(bytes, "fmt ");
    AppendLittleEndian(bytes, 16, 4);
    AppendLittleEndian(bytes, 1, 2);  // PCM
    AppendLittleEndian(bytes, kChannels, 2);
    AppendLittleEndian(bytes, kClickSampleRate, 4);
    AppendLittleEndian(bytes, kClickSampleRate * kBlockAlign, 4);
    AppendLittleEndian(bytes, kBlockAlign, 2);
    AppendLittleEndian(bytes, kBitsPerSample, 2);
    AppendText(bytes, "data");
    AppendLittleEndian(bytes, dataSize, 4);
    for (const std::int16_t sample : samples)
        AppendLittleEndian(bytes, static_cast<std::uint16_t>(sample), 2);
    return bytes;
}

bool WriteClickWav(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = MakeClickWav();
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

}  // namespace rpn
