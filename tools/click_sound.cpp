#include "tools/click_sound.h"

#include <algorithm>
#include <fstream>

#include "persist/archive.h"

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

// The generator's file, written straight out.
class FileSink final : public ByteSink {
public:
    explicit FileSink(const std::string& path) : m_file(path, std::ios::binary | std::ios::trunc) {}
    bool Write(std::span<const std::uint8_t> bytes) override
    {
        m_file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(m_file);
    }
    bool Commit() override
    {
        m_file.close();
        return static_cast<bool>(m_file);
    }

private:
    std::ofstream m_file;
};

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

bool WriteClickWav(const std::string& path)
{
    const std::vector<std::int16_t> samples = MakeClickSamples();
    const auto dataSize = static_cast<std::int32_t>(samples.size() * 2);
    FileSink file(path);
    ArchiveWriter out(file);
    // A chunk's four-letter name is two little-endian words.
    const auto name = [&out](const char(&text)[5]) {
        out.Word(static_cast<std::uint16_t>(text[0] | text[1] << 8));
        out.Word(static_cast<std::uint16_t>(text[2] | text[3] << 8));
    };
    name("RIFF");
    out.Int32(36 + dataSize);
    name("WAVE");
    name("fmt ");
    out.Int32(16);
    out.Word(1);  // PCM
    out.Word(1);  // mono
    out.Int32(kClickSampleRate);
    out.Int32(kClickSampleRate * 2);  // bytes per second
    out.Word(2);                      // bytes per frame
    out.Word(16);                     // bits per sample
    name("data");
    out.Int32(dataSize);
    for (const std::int16_t sample : samples)
        out.Word(static_cast<std::uint16_t>(sample));
    return out.Close() && file.Commit();
}

}  // namespace rpn
