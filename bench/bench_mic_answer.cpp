// Answering by playing or singing: from a note's onset to the answer judged, over rendered violin,
// cello and voice notes of both clefs, clean and with pink noise 20 dB below, fed to the note
// listener as the microphone feeds it; how many come out right or an octave off; whether the
// program's own piano note is decided once the listening starts again. Then the processor time
// with the microphone open on a private PulseAudio server, and after it has closed. Prints
// medians and shares; never fails the run.
#include "OfflineRender.h"
#include "PrivatePulseServer.h"
#include "RenderedNotes.h"
#include "Summary.h"
#include "input/HeardNotes.h"
#include "input/Microphone.h"
#include "input/NoteListener.h"
#include "training/NotePitches.h"

#include <QProcess>
#include <QThread>

#include <cstdio>
#include <ctime>

namespace {

constexpr double leadSeconds = 0.3;
constexpr double noiseDb = 20.0;
constexpr double muteAfterSoundSeconds = 0.5;
constexpr int listeningSeconds = 10;
constexpr int instruments[] = {instrument::violin, instrument::cello, instrument::voiceOohs};

struct Tally {
    int right = 0;
    int octave = 0;
    int notes = 0;
    std::vector<double> delays; // ms, of the right answers
};

// The first note decided in `samples` and the end of the hop that decided it, in samples.
std::vector<std::pair<int, std::size_t>> decisions(const std::vector<float>& samples,
                                                   const std::vector<int>& candidates) {
    NoteListener listener(*AubioLibrary::get(), Microphone::sampleRate, candidates);
    std::vector<std::pair<int, std::size_t>> decided;
    for (std::size_t at = 0; at < samples.size(); at += NoteListener::hopSize) {
        const std::size_t end = std::min(samples.size(), at + NoteListener::hopSize);
        listener.feed({samples.data() + at, end - at}, [&](int pitch) {
            decided.push_back({pitch, end});
        });
    }
    return decided;
}

Clef clefOf(const ClefPitches& clef) {
    return clef.folder == "bass" ? Clef::Bass : Clef::Violin;
}

bool tallyRenderedNotes(Tally& tally) {
    NoteRenderer renderer(largeSoundFont, Microphone::sampleRate);
    if (!renderer.isLoaded())
        return false;
    const auto onset = std::size_t(leadSeconds * Microphone::sampleRate);
    for (const int program : instruments)
        for (const ClefPitches& clef : clefPitches)
            for (const bool noisy : {false, true})
                for (const int pitch : clef.midiNotes) {
                    std::vector<float> samples =
                        renderer.render({program, pitch, 1.0}, leadSeconds);
                    if (noisy)
                        addPinkNoise(samples, onset, noiseDb);
                    const auto decided = decisions(samples, listenedPitches(clefOf(clef), false));
                    ++tally.notes;
                    if (decided.empty())
                        continue;
                    const int first = decided.front().first;
                    tally.octave += std::abs(first - pitch) % 12 == 0 && first != pitch;
                    if (first == pitch) {
                        ++tally.right;
                        tally.delays.push_back(1000.0 * double(decided.front().second - onset) /
                                               Microphone::sampleRate);
                    }
                }
    return true;
}

// Decisions on the program's own piano notes after their sound has ended and the mute passed.
int ownNotesAnswering() {
    int answering = 0;
    for (const ClefPitches& clef : clefPitches)
        for (std::size_t index = 0; index < clef.midiNotes.size(); ++index) {
            const QString file =
                QStringLiteral(VIRELO_PROGRAM_DIR "/sound/%1/%2.mid")
                    .arg(QString::fromUtf8(clef.folder.data(), qsizetype(clef.folder.size())))
                    .arg(index);
            std::vector<float> samples = renderMidiFile(
                largeSoundFont, file, Microphone::sampleRate, SoundFontPresets::PianoOnly);
            const auto listenFrom =
                samples.size() + std::size_t(muteAfterSoundSeconds * Microphone::sampleRate);
            samples.resize(samples.size() + 2 * Microphone::sampleRate, 0.0f);
            for (const auto& [pitch, at] : decisions(samples, listenedPitches(clefOf(clef), false)))
                answering += at >= listenFrom;
        }
    return answering;
}

double processSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

double processorPercentFor(int seconds) {
    const double before = processSeconds();
    QThread::sleep(seconds);
    return 100 * (processSeconds() - before) / seconds;
}

// Recording streams of clients, not the sound server's own.
int clientRecordingStreams() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("short"),
                                          QStringLiteral("source-outputs")});
    pactl.waitForFinished();
    return int(pactl.readAllStandardOutput().count("protocol-native"));
}

} // namespace

int main() {
    if (!AubioLibrary::get()) {
        std::printf("libaubio5 is not installed: nothing measured\n");
        return 0;
    }
    Tally tally;
    if (!tallyRenderedNotes(tally)) {
        std::printf("%s is not installed: nothing measured\n", qPrintable(largeSoundFont));
        return 0;
    }
    printFigure("microphone onset to answer judged", tally.delays, "ms", 1);
    std::sort(tally.delays.begin(), tally.delays.end());
    const double p90 = tally.delays[tally.delays.size() * 9 / 10];
    printFigure("microphone onset to answer judged, 90th percentile", {p90}, "ms", 1);
    printFigure("microphone right answers", {100.0 * tally.right / tally.notes}, "%", 2);
    printFigure("microphone octave errors", {double(tally.octave)}, "notes", 0);
    printFigure("microphone answers from the program's own piano notes",
                {double(ownNotesAnswering())}, "notes", 0);

    const PrivatePulseServer server;
    if (!server.isRunning()) {
        std::printf("pulseaudio would not start: processor time not measured\n");
        return 0;
    }
    qputenv("PULSE_SERVER", server.address().toLocal8Bit());
    {
        NoteListener listener(*AubioLibrary::get(), Microphone::sampleRate,
                              listenedPitches(Clef::Bass, false));
        Microphone microphone;
        if (!microphone.open(
                [&](std::span<const float> samples) { listener.feed(samples, [](int) {}); })) {
            std::printf("the microphone did not open: processor time not measured\n");
            return 0;
        }
        // The null sink renders two seconds ahead until someone listens in real time.
        QThread::sleep(3);
        printFigure("processor while listening to the microphone",
                    {processorPercentFor(listeningSeconds)}, "%", 2);
    }
    printFigure("microphone streams open at rest", {double(clientRecordingStreams())}, "", 0);
    printFigure("processor at rest after listening", {processorPercentFor(3)}, "%", 3);
    return 0;
}
