#include "game/wave_synth.h"
#include "support/file_size_limit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

using namespace tl;
namespace fs = std::filesystem;

namespace {

std::uint32_t U32(const std::vector<std::uint8_t> &b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::uint16_t U16(const std::vector<std::uint8_t> &b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::string Tag(const std::vector<std::uint8_t> &b, std::size_t at)
{
    return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
}

std::vector<std::uint8_t> ReadFile(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh, empty folder under the system's temporary folder.
fs::path TempFolder(const std::string &name)
{
    fs::path dir = fs::temp_directory_path() / ("tl_wave_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

} // namespace

TEST(WaveSynth, EncodesACanonicalPcmHeaderAndLittleEndianSamples)
{
    const std::vector<std::int16_t> samples = {0, 1, -1, 32767, -32768, 0x1234};
    const std::vector<std::uint8_t> b = EncodeWave(samples, 22050);
    ASSERT_EQ(b.size(), 44u + 12u);
    EXPECT_EQ(Tag(b, 0), "RIFF");
    EXPECT_EQ(U32(b, 4), b.size() - 8);
    EXPECT_EQ(Tag(b, 8), "WAVE");
    EXPECT_EQ(Tag(b, 12), "fmt ");
    EXPECT_EQ(U32(b, 16), 16u);
    EXPECT_EQ(U16(b, 20), 1u);      // PCM
    EXPECT_EQ(U16(b, 22), 1u);      // mono
    EXPECT_EQ(U32(b, 24), 22050u);
    EXPECT_EQ(U32(b, 28), 44100u);  // bytes per second
    EXPECT_EQ(U16(b, 32), 2u);      // block align
    EXPECT_EQ(U16(b, 34), 16u);     // bits
    EXPECT_EQ(Tag(b, 36), "data");
    EXPECT_EQ(U32(b, 40), 12u);
    for (std::size_t i = 0; i < samples.size(); ++i)
        EXPECT_EQ(static_cast<std::int16_t>(U16(b, 44 + 2 * i)), samples[i]) << "sample " << i;
}

TEST(WaveSynth, EverySoundIsShortAudibleAndBelowFullScale)
{
    for (int id = 0; id < kSoundCount; ++id) {
        SCOPED_TRACE(kSoundFileNames[id]);
        const std::vector<std::int16_t> s = SynthesiseSound(id);
        const double seconds = static_cast<double>(s.size()) / kSoundSampleRate;
        EXPECT_GE(seconds, 0.1);
        EXPECT_LE(seconds, 1.5);
        int peak = 0;
        for (std::int16_t v : s)
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_LT(peak, 0.9 * 32767) << "too close to clipping";
        EXPECT_GT(peak, 0.3 * 32767) << "too quiet";
        // Both ends fade to silence, so playing a clip starts and stops without a click.
        EXPECT_LT(std::abs(static_cast<int>(s.front())), 200);
        EXPECT_LT(std::abs(static_cast<int>(s.back())), 200);
        // No sound is offset from zero.
        long long sum = 0;
        for (std::int16_t v : s)
            sum += v;
        EXPECT_LT(std::abs(static_cast<double>(sum) / static_cast<double>(s.size())), 300.0);
    }
}

TEST(WaveSynth, SoundsAreDeterministicAndDistinct)
{
    std::vector<std::vector<std::int16_t>> all;
    for (int id = 0; id < kSoundCount; ++id) {
        all.push_back(SynthesiseSound(id));
        EXPECT_EQ(all.back(), SynthesiseSound(id)) << kSoundFileNames[id] << " changes between runs";
    }
    for (int a = 0; a < kSoundCount; ++a)
        for (int b = a + 1; b < kSoundCount; ++b)
            EXPECT_NE(all[a], all[b]) << kSoundFileNames[a] << " equals " << kSoundFileNames[b];
    EXPECT_THROW(SynthesiseSound(-1), std::out_of_range);
    EXPECT_THROW(SynthesiseSound(kSoundCount), std::out_of_range);
}

TEST(WaveSynth, WritesExactlyTheTenNamedFiles)
{
    const fs::path dir = TempFolder("ok");
    std::string error;
    ASSERT_TRUE(WriteSoundFiles(dir.string(), error)) << error;

    std::set<std::string> written;
    for (const auto &entry : fs::directory_iterator(dir))
        written.insert(entry.path().filename().string());
    const std::set<std::string> expected = {"Applause.wav", "Discard.wav", "Assign.wav",   "ResetCell.wav",
                                            "Solution.wav", "Label.wav",   "UndoRedo.wav", "Hint.wav",
                                            "Error.wav",    "Giggle.wav"};
    EXPECT_EQ(written, expected);

    for (int id = 0; id < kSoundCount; ++id) {
        const std::vector<std::uint8_t> bytes = ReadFile(dir / kSoundFileNames[id]);
        EXPECT_EQ(bytes, EncodeWave(SynthesiseSound(id), kSoundSampleRate)) << kSoundFileNames[id];
    }
    fs::remove_all(dir);
}

TEST(WaveSynth, ReportsAFolderThatCannotBeWritten)
{
    const fs::path dir = TempFolder("missing") / "no" / "such" / "folder";
    std::string error;
    EXPECT_FALSE(WriteSoundFiles(dir.string(), error));
    EXPECT_NE(error.find("Applause.wav"), std::string::npos) << error;
    fs::remove_all(dir.parent_path().parent_path().parent_path());
}

// A wave file that cannot be written whole (a full disk) leaves the one there as it was.
TEST(WaveSynth, AFileCutShortLeavesTheEarlierOne)
{
    const fs::path dir = TempFolder("limit");
    const std::vector<std::uint8_t> earlier = {'R', 'I', 'F', 'F'};
    {
        std::ofstream(dir / "Applause.wav", std::ios::binary).write("RIFF", 4);
        test::FileSizeLimit limit(1024);
        std::string error;
        EXPECT_FALSE(WriteSoundFiles(dir.string(), error));
        EXPECT_NE(error.find("Applause.wav"), std::string::npos) << error;
    }
    EXPECT_EQ(ReadFile(dir / "Applause.wav"), earlier);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}
