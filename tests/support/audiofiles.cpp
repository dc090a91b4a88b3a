// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/audiofiles.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <string_view>

extern char** environ;

namespace korvin::test {

namespace {

void putLittleEndian(std::ofstream& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

class WavWriter {
public:
    WavWriter(const std::filesystem::path& file, int sampleRate, std::uint64_t samples)
        : m_out(file, std::ios::binary | std::ios::trunc)
    {
        if (!m_out)
            throw std::runtime_error("cannot write " + file.string());
        const auto dataBytes = static_cast<std::uint32_t>(samples * 2);
        m_out.write("RIFF", 4);
        putLittleEndian(m_out, 36 + dataBytes, 4);
        m_out.write("WAVEfmt ", 8);
        putLittleEndian(m_out, 16, 4);                                        // format chunk size
        putLittleEndian(m_out, 1, 2);                                         // PCM
        putLittleEndian(m_out, 1, 2);                                         // mono
        putLittleEndian(m_out, static_cast<std::uint32_t>(sampleRate), 4);
        putLittleEndian(m_out, static_cast<std::uint32_t>(sampleRate) * 2, 4);  // bytes a second
        putLittleEndian(m_out, 2, 2);                                         // bytes a frame
        putLittleEndian(m_out, 16, 2);                                        // bits a sample
        m_out.write("data", 4);
        putLittleEndian(m_out, dataBytes, 4);
    }

    // Appends `count` samples of a sine of `frequency` (silence for 0), its phase
    // running on from the previous tone so that no click is heard.
    void tone(double frequency, int sampleRate, std::uint64_t count)
    {
        const double step = 2 * std::numbers::pi * frequency / sampleRate;
        std::string block;
        block.reserve(8192);
        for (std::uint64_t i = 0; i < count; ++i) {
            const auto sample = static_cast<std::int16_t>(std::lround(9000 * std::sin(m_phase)));
            m_phase = std::fmod(m_phase + step, 2 * std::numbers::pi);
            const auto bits = static_cast<std::uint16_t>(sample);
            block.push_back(static_cast<char>(bits & 0xFF));
            block.push_back(static_cast<char>(bits >> 8));
            if (block.size() >= 8192) {
                m_out.write(block.data(), static_cast<std::streamsize>(block.size()));
                block.clear();
            }
        }
        m_out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }

private:
    std::ofstream m_out;
    double m_phase = 0;
};

std::uint64_t sampleCount(double seconds, int sampleRate)
{
    return seconds > 0 ? static_cast<std::uint64_t>(std::llround(seconds * sampleRate)) : 0;
}

}  // namespace

void writeToneWav(const std::filesystem::path& file, double seconds, int sampleRate, double frequency)
{
    writeToneSequenceWav(file, {frequency}, seconds, sampleRate);
}

void writeToneSequenceWav(const std::filesystem::path& file, const std::vector<double>& frequencies,
                          double secondsEach, int sampleRate)
{
    const std::uint64_t each = sampleCount(secondsEach, sampleRate);
    WavWriter wav(file, sampleRate, each * frequencies.size());
    for (const double frequency : frequencies)
        wav.tone(frequency, sampleRate, each);
}

std::filesystem::path lameProgram()
{
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "/usr/bin:/bin";
    while (!folders.empty()) {
        const auto colon = folders.find(':');
        const std::filesystem::path folder(folders.substr(0, colon));
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        if (folder.empty())
            continue;
        const auto candidate = folder / "lame";
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

namespace {

bool runLame(std::vector<std::string> arguments)
{
    const auto lame = lameProgram();
    if (lame.empty())
        return false;
    arguments.insert(arguments.begin(), {lame.string(), "--quiet", "-m", "m"});
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, arguments.front().c_str(), nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool encodeMp3(const std::filesystem::path& wav, const std::filesystem::path& mp3, int kbps)
{
    return runLame({"-b", std::to_string(kbps), wav.string(), mp3.string()}) && std::filesystem::exists(mp3);
}

bool encodeVbrMp3WithoutSeekTable(const std::filesystem::path& wav, const std::filesystem::path& mp3)
{
    return runLame({"-V", "0", "-t", wav.string(), mp3.string()}) && std::filesystem::exists(mp3);
}

}  // namespace korvin::test
