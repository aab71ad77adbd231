// How long the trainer waits for a note: from FluidSynthPlayer::playFile to the first sample the
// sound server plays (through a private PulseAudio server with a null sink), and how long the
// SoundFont takes to load in the background. Prints medians; timings never fail the run.

#include "MonitorCapture.h"
#include "PrivatePulseServer.h"
#include "Summary.h"
#include "feedback/FluidSynthPlayer.h"
#include "training/NotePitches.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int loadRuns = 7;
constexpr int noteRuns = 10;
constexpr auto pauseBetweenNotes = 300ms;
constexpr std::int16_t audibleLevel = 16;

double milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

void measureSoundFontLoad() {
    std::vector<double> construction;
    std::vector<double> load;
    for (int run = 0; run < loadRuns; ++run) {
        const Clock::time_point start = Clock::now();
        auto player = std::make_unique<FluidSynthPlayer>();
        const Clock::time_point constructed = Clock::now();
        if (!player->waitForSoundFont()) {
            std::printf("no General MIDI SoundFont installed: nothing to measure\n");
            return;
        }
        construction.push_back(1000.0 * milliseconds(constructed - start));
        load.push_back(milliseconds(Clock::now() - start));
    }
    printFigure("construction", construction, "us");
    printFigure("SoundFont load", load, "ms");
}

QString noteFile(int run) {
    const std::vector<ClefPitches> clefs = clefPitches();
    const ClefPitches& clef = clefs[std::size_t(run) % clefs.size()];
    return QStringLiteral(VIRELO_PROGRAM_DIR "/sound/%1/%2.mid")
        .arg(QString::fromUtf8(clef.folder.data(), qsizetype(clef.folder.size())))
        .arg(run % int(clef.midiNotes.size()));
}

void measureLatency() {
    const PrivatePulseServer server;
    if (!server.isRunning()) {
        std::printf("pulseaudio is not installed or would not start: no latency measured\n");
        return;
    }
    qputenv("PULSE_SERVER", server.address().toLocal8Bit());
    FluidSynthPlayer player;
    MonitorCapture capture;
    if (!player.waitForSoundFont() || !capture.isRunning()) {
        std::printf("no SoundFont or no parec: no latency measured\n");
        return;
    }
    // Until the recording steadies the null sink, it may still render two seconds ahead.
    std::this_thread::sleep_for(2s);

    std::vector<Clock::time_point> calls;
    for (int run = 0; run < noteRuns; ++run) {
        calls.push_back(Clock::now());
        player.playFile(noteFile(run));
        std::this_thread::sleep_for(pauseBetweenNotes);
    }
    capture.stop();

    // The server mixed the first audible sample no later than it arrived here.
    const std::vector<std::int16_t>& played = capture.samples();
    std::vector<double> latencies;
    for (const Clock::time_point call : calls) {
        const auto first = played.begin() + std::ptrdiff_t(capture.firstArrivedAfter(call));
        const auto onset = std::find_if(first, played.end(), [](std::int16_t sample) {
            return std::abs(sample) > audibleLevel;
        });
        if (onset != played.end())
            latencies.push_back(
                milliseconds(capture.arrivalOf(std::size_t(onset - played.begin())) - call));
    }
    if (latencies.empty()) {
        std::printf("no note reached the sound server\n");
        return;
    }
    printFigure("note latency", latencies, "ms");
    if (latencies.size() < noteRuns)
        std::printf("only %zu of %d notes reached the sound server\n", latencies.size(), noteRuns);
}

} // namespace

int main(int argc, char** argv) {
    const QCoreApplication app(argc, argv);
    measureSoundFontLoad();
    measureLatency();
    return 0;
}
