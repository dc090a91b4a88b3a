// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace korvin::test {

// Audio for the tests, generated on the spot: no sound file is kept in the
// project.

// Writes a 16-bit mono PCM WAV of `seconds` of a sine tone.
void writeToneWav(const std::filesystem::path& file, double seconds, int sampleRate = 22050,
                  double frequency = 440.0);

// Writes a 16-bit mono PCM WAV of tones of `secondsEach`, one per frequency, in
// order (a frequency of 0 is silence).
void writeToneSequenceWav(const std::filesystem::path& file, const std::vector<double>& frequencies,
                          double secondsEach, int sampleRate = 22050);

// The `lame` encoder on PATH, empty when it is not installed.
std::filesystem::path lameProgram();

// Encodes `wav` to a mono MP3 of `kbps` with lame (quietly); false when lame is
// missing or fails.
bool encodeMp3(const std::filesystem::path& wav, const std::filesystem::path& mp3, int kbps = 32);

// Encodes `wav` to a variable-bitrate MP3 without the header that holds its
// length and seek table, as some books have them: a player can only estimate
// the length from the first frames. False when lame is missing or fails.
bool encodeVbrMp3WithoutSeekTable(const std::filesystem::path& wav, const std::filesystem::path& mp3);

}  // namespace korvin::test
