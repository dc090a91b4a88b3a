// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated player keeps the same contract as the libmpv player, so that
// what the engine's tests show holds for the program.

#include "platform/mediaplayercontract.h"
#include "support/simulatedplayer.h"
#include "support/virtualclock.h"

namespace korvin::test {
namespace {

class SimulatedHarness final : public PlayerHarness {
public:
    SimulatedHarness()
    {
        m_player.addCorruptFile("/book/corrupt.mp3");
        // A load that takes a while, as a real one does, so that the
        // load-pending behaviour is part of the contract run.
        m_player.setLoadDelay(30);
    }

    MediaPlayer& player() override { return m_player; }
    bool supports(AudioFormat) override { return true; }

    std::string audioFile(AudioFormat format, double seconds) override
    {
        const std::string path =
            "/book/file" + std::to_string(++m_files) + (format == AudioFormat::Mp3 ? ".mp3" : ".wav");
        m_player.addFile(path, seconds);
        return path;
    }

    std::string missingFile() override { return "/book/missing.mp3"; }
    std::string corruptFile() override { return "/book/corrupt.mp3"; }
    std::int64_t nowMs() override { return m_clock.now(); }
    void wait(int ms) override { m_clock.advance(ms); }

    bool waitUntil(const std::function<bool()>& condition, int timeoutMs) override
    {
        return m_clock.advanceUntil(condition, timeoutMs);
    }

private:
    VirtualClock m_clock;
    SimulatedPlayer m_player{m_clock};
    int m_files = 0;
};

INSTANTIATE_TEST_SUITE_P(Simulated, MediaPlayerContract,
                         ::testing::ValuesIn(contractCases([] { return std::make_unique<SimulatedHarness>(); })),
                         contractCaseName);

}  // namespace
}  // namespace korvin::test
