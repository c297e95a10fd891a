// The game's ten sounds, synthesised in code and written as 16-bit PCM mono wave files.
// The output is fully deterministic: the noise comes from a fixed-seed xorshift generator
// and every clip is scaled to a fixed peak below full scale, so nothing ever clips.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tl {

constexpr int kSoundCount = 10;
constexpr int kSoundSampleRate = 22050;

// Wave file names by sound number (MMID 0..9).
inline constexpr std::array<const char *, kSoundCount> kSoundFileNames = {
    "Applause.wav", "Discard.wav", "Assign.wav",   "ResetCell.wav", "Solution.wav",
    "Label.wav",    "UndoRedo.wav", "Hint.wav",    "Error.wav",     "Giggle.wav"};

// The samples of sound `mmid` at kSoundSampleRate; throws std::out_of_range outside 0..9.
std::vector<std::int16_t> SynthesiseSound(int mmid);

// A complete RIFF WAVE file (44-byte header, 16-bit PCM, one channel) holding `samples`.
std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t> &samples, int sampleRate);

// Writes the ten wave files into `folder` (which must exist). On failure returns false and
// puts a readable reason into `error`.
bool WriteSoundFiles(const std::string &folder, std::string &error);

} // namespace tl
