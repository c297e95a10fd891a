#include "game/wave_synth.h"

#include "platform/file_writes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string_view>

namespace tl {
namespace {

constexpr double kRate = kSoundSampleRate;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

double Midi(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// xorshift32: a tiny generator whose sequence is the same everywhere, unlike the standard
// library's distributions. Yields values in [-1, 1).
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 1u) {}
    std::uint32_t bits()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    double next() { return static_cast<double>(bits() >> 8) / 8388608.0 - 1.0; }
    double between(double lo, double hi) { return lo + (hi - lo) * (next() + 1.0) / 2.0; }

private:
    std::uint32_t state_;
};

enum class Wave {
    Sine,
    Triangle,
    Soft, // sine with a little second and third harmonic
    Bell, // sine with an inharmonic, faster-fading overtone
};

struct Tone {
    double start = 0.0;    // seconds
    double length = 0.2;   // seconds, including the release
    double freq = 440.0;   // Hz at the start
    double freqEnd = 0.0;  // Hz at the end of an exponential glide; 0 keeps the pitch
    double gain = 1.0;
    double attack = 0.005; // seconds of linear rise
    double decay = 0.15;   // time constant of the exponential fall after the attack
    Wave wave = Wave::Sine;
    double vibratoHz = 0.0;
    double vibratoDepth = 0.0; // fraction of the frequency
};

double Shape(Wave wave, double phase, double t)
{
    const double s = std::sin(phase);
    switch (wave) {
    case Wave::Sine:
        return s;
    case Wave::Triangle: {
        const double x = phase / kTwoPi - std::floor(phase / kTwoPi); // 0..1
        return x < 0.5 ? 4.0 * x - 1.0 : 3.0 - 4.0 * x;
    }
    case Wave::Soft:
        return 0.8 * s + 0.15 * std::sin(2.0 * phase) + 0.05 * std::sin(3.0 * phase);
    case Wave::Bell:
        return 0.75 * s + 0.25 * std::sin(2.76 * phase) * std::exp(-t / 0.08);
    }
    return s;
}

// A mono mixing buffer in floating point; finish() scales it to a fixed peak and quantises.
class Mix {
public:
    explicit Mix(double seconds) : buf_(static_cast<std::size_t>(std::lround(seconds * kRate)), 0.0) {}

    void add(const Tone &tone)
    {
        const auto first = static_cast<std::size_t>(std::lround(tone.start * kRate));
        const auto count = static_cast<std::size_t>(std::lround(tone.length * kRate));
        const double release = std::min(0.012, tone.length / 4.0);
        double phase = 0.0;
        for (std::size_t k = 0; k < count && first + k < buf_.size(); ++k) {
            const double t = static_cast<double>(k) / kRate;
            double f = tone.freq;
            if (tone.freqEnd > 0.0)
                f *= std::pow(tone.freqEnd / tone.freq, t / tone.length);
            if (tone.vibratoDepth > 0.0)
                f *= 1.0 + tone.vibratoDepth * std::sin(kTwoPi * tone.vibratoHz * t);
            double env = t < tone.attack ? t / tone.attack : std::exp(-(t - tone.attack) / tone.decay);
            const double left = tone.length - t;
            if (left < release)
                env *= left / release;
            buf_[first + k] += tone.gain * env * Shape(tone.wave, phase, t);
            phase += kTwoPi * f / kRate;
        }
    }

    // One hand clap: a burst of band-limited noise with a sharp attack.
    void clap(double start, double gain, double brightness, Noise &noise)
    {
        const auto first = static_cast<std::size_t>(std::lround(start * kRate));
        const auto count = static_cast<std::size_t>(0.07 * kRate);
        const double lowCut = 0.06 + 0.04 * brightness; // one-pole coefficients
        const double highCut = 0.3 + 0.25 * brightness;
        double smooth = 0.0; // noise with the hiss above the band taken off
        double rumble = 0.0; // the part of it below the band
        for (std::size_t k = 0; k < count && first + k < buf_.size(); ++k) {
            const double t = static_cast<double>(k) / kRate;
            const double x = noise.next();
            smooth += highCut * (x - smooth);
            rumble += lowCut * (smooth - rumble);
            const double env = t < 0.0015 ? t / 0.0015 : std::exp(-(t - 0.0015) / 0.014);
            buf_[first + k] += gain * env * (smooth - rumble);
        }
    }

    std::vector<std::int16_t> finish(double peak, double fadeOut)
    {
        const auto n = buf_.size();
        const auto fadeIn = static_cast<std::size_t>(0.002 * kRate);
        const auto fade = static_cast<std::size_t>(fadeOut * kRate);
        for (std::size_t k = 0; k < fadeIn && k < n; ++k)
            buf_[k] *= static_cast<double>(k) / static_cast<double>(fadeIn);
        for (std::size_t k = 0; k < fade && k < n; ++k)
            buf_[n - 1 - k] *= static_cast<double>(k) / static_cast<double>(fade);
        double top = 0.0;
        for (double v : buf_)
            top = std::max(top, std::fabs(v));
        const double scale = top > 0.0 ? peak * 32767.0 / top : 0.0;
        std::vector<std::int16_t> out(n);
        for (std::size_t k = 0; k < n; ++k)
            out[k] = static_cast<std::int16_t>(std::lround(buf_[k] * scale));
        return out;
    }

private:
    std::vector<double> buf_;
};

// Completion: a bright major arpeggio under a round of applause.
std::vector<std::int16_t> Applause()
{
    Mix mix(1.5);
    const double notes[] = {72, 76, 79, 84};
    for (int i = 0; i < 4; ++i) {
        Tone t;
        t.start = 0.07 * i;
        t.length = i == 3 ? 0.9 : 0.45;
        t.freq = Midi(notes[i]);
        t.gain = i == 3 ? 0.32 : 0.26;
        t.decay = i == 3 ? 0.35 : 0.2;
        t.wave = Wave::Triangle;
        mix.add(t);
    }
    // Claps fall more densely in the middle of the round and thin out towards its end.
    Noise noise(0x5eedC1a9u);
    int placed = 0;
    while (placed < 110) {
        const double at = noise.between(0.02, 1.38);
        const double density = std::min(1.0, at / 0.15) * std::min(1.0, (1.42 - at) / 0.6);
        if (noise.between(0.0, 1.0) > density)
            continue;
        mix.clap(at, noise.between(0.35, 0.9), noise.between(0.0, 1.0), noise);
        ++placed;
    }
    return mix.finish(0.78, 0.12);
}

// Undo: a soft glide downwards.
std::vector<std::int16_t> Discard()
{
    Mix mix(0.3);
    Tone t;
    t.length = 0.28;
    t.freq = 700.0;
    t.freqEnd = 330.0;
    t.decay = 0.12;
    t.wave = Wave::Soft;
    mix.add(t);
    return mix.finish(0.62, 0.02);
}

// A cell set by a click: a short, light tick; heard often, so kept quieter.
std::vector<std::int16_t> Assign()
{
    Mix mix(0.12);
    Tone t;
    t.length = 0.11;
    t.freq = 1250.0;
    t.freqEnd = 1000.0;
    t.attack = 0.002;
    t.decay = 0.025;
    t.wave = Wave::Soft;
    mix.add(t);
    return mix.finish(0.5, 0.01);
}

// No more hints: two mellow notes falling a fourth.
std::vector<std::int16_t> ResetCell()
{
    Mix mix(0.5);
    Tone a;
    a.length = 0.22;
    a.freq = Midi(69);
    a.decay = 0.1;
    a.wave = Wave::Soft;
    mix.add(a);
    Tone b = a;
    b.start = 0.17;
    b.length = 0.32;
    b.freq = Midi(64);
    b.decay = 0.13;
    mix.add(b);
    return mix.finish(0.6, 0.03);
}

// The solution revealed: a shimmering rising arpeggio of bells.
std::vector<std::int16_t> Solution()
{
    Mix mix(1.1);
    const double notes[] = {72, 76, 79, 83, 86};
    for (int i = 0; i < 5; ++i) {
        Tone t;
        t.start = 0.1 * i;
        t.length = 0.6;
        t.freq = Midi(notes[i]);
        t.gain = 0.5;
        t.decay = 0.25;
        t.wave = Wave::Bell;
        mix.add(t);
    }
    return mix.finish(0.7, 0.05);
}

// A new puzzle on the board: a cheerful "ding-ding" a fourth upwards.
std::vector<std::int16_t> Label()
{
    Mix mix(0.55);
    Tone a;
    a.length = 0.3;
    a.freq = Midi(79);
    a.decay = 0.14;
    a.wave = Wave::Triangle;
    mix.add(a);
    Tone b = a;
    b.start = 0.12;
    b.length = 0.42;
    b.freq = Midi(84);
    b.decay = 0.18;
    mix.add(b);
    return mix.finish(0.66, 0.03);
}

// Redo: the undo glide mirrored upwards.
std::vector<std::int16_t> UndoRedo()
{
    Mix mix(0.3);
    Tone t;
    t.length = 0.28;
    t.freq = 330.0;
    t.freqEnd = 700.0;
    t.decay = 0.14;
    t.wave = Wave::Soft;
    mix.add(t);
    return mix.finish(0.62, 0.02);
}

// A hint: two high bell strokes with a gentle shimmer.
std::vector<std::int16_t> Hint()
{
    Mix mix(0.75);
    Tone a;
    a.length = 0.5;
    a.freq = Midi(88);
    a.decay = 0.2;
    a.wave = Wave::Bell;
    a.vibratoHz = 7.0;
    a.vibratoDepth = 0.004;
    mix.add(a);
    Tone b = a;
    b.start = 0.09;
    b.length = 0.64;
    b.freq = Midi(95);
    b.gain = 0.8;
    b.decay = 0.26;
    mix.add(b);
    return mix.finish(0.62, 0.04);
}

// A wrong cell or a puzzle given up: a soft "uh-oh" falling a minor third.
std::vector<std::int16_t> Error()
{
    Mix mix(0.5);
    Tone a;
    a.length = 0.17;
    a.freq = Midi(64);
    a.attack = 0.01;
    a.decay = 0.2;
    a.wave = Wave::Triangle;
    mix.add(a);
    Tone b = a;
    b.start = 0.16;
    b.length = 0.32;
    b.freq = Midi(61);
    b.decay = 0.16;
    b.vibratoHz = 6.0;
    b.vibratoDepth = 0.012;
    mix.add(b);
    return mix.finish(0.66, 0.03);
}

// Restart: a giggle of quick blips, each bent upwards, their pitch wobbling down.
std::vector<std::int16_t> Giggle()
{
    Mix mix(0.85);
    const double starts[] = {0.0, 0.1, 0.19, 0.29, 0.4, 0.52, 0.63};
    const double pitch[] = {980, 900, 940, 830, 860, 760, 700};
    for (int i = 0; i < 7; ++i) {
        Tone t;
        t.start = starts[i];
        t.length = 0.085;
        t.freq = pitch[i];
        t.freqEnd = pitch[i] * 1.4;
        t.gain = 1.0 - 0.06 * i;
        t.attack = 0.006;
        t.decay = 0.05;
        t.wave = Wave::Soft;
        t.vibratoHz = 28.0;
        t.vibratoDepth = 0.03;
        mix.add(t);
    }
    return mix.finish(0.64, 0.02);
}

void PutU32(std::vector<std::uint8_t> &out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutU16(std::vector<std::uint8_t> &out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutTag(std::vector<std::uint8_t> &out, const char *tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

} // namespace

std::vector<std::int16_t> SynthesiseSound(int mmid)
{
    switch (mmid) {
    case 0: return Applause();
    case 1: return Discard();
    case 2: return Assign();
    case 3: return ResetCell();
    case 4: return Solution();
    case 5: return Label();
    case 6: return UndoRedo();
    case 7: return Hint();
    case 8: return Error();
    case 9: return Giggle();
    default: throw std::out_of_range("no sound number " + std::to_string(mmid));
    }
}

std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t> &samples, int sampleRate)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    PutU32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 16);                                   // size of the format chunk
    PutU16(out, 1);                                    // PCM
    PutU16(out, 1);                                    // mono
    PutU32(out, static_cast<std::uint32_t>(sampleRate));
    PutU32(out, static_cast<std::uint32_t>(sampleRate) * 2); // bytes per second
    PutU16(out, 2);                                    // bytes per sample frame
    PutU16(out, 16);                                   // bits per sample
    PutTag(out, "data");
    PutU32(out, dataBytes);
    for (std::int16_t s : samples)
        PutU16(out, static_cast<std::uint16_t>(s));
    return out;
}

bool WriteSoundFiles(const std::string &folder, std::string &error)
{
    std::string base = folder;
    if (!base.empty() && base.back() != '/')
        base += '/';
    for (int id = 0; id < kSoundCount; ++id) {
        const std::string path = base + kSoundFileNames[id];
        const std::vector<std::uint8_t> bytes = EncodeWave(SynthesiseSound(id), kSoundSampleRate);
        // Replaced whole: a file that cannot be written stays as it was, never cut short.
        std::string why;
        if (!ReplaceFile(path, std::string_view(reinterpret_cast<const char *>(bytes.data()), bytes.size()), &why)) {
            error = "cannot write " + path + " (" + why + ")";
            return false;
        }
    }
    return true;
}

} // namespace tl
