// Answering by playing or singing: rendered notes of twelve string, wind and voice instruments
// from two SoundFonts, over the notes of their clefs within their range and the semitones between
// them, clean and with pink noise 20 dB below, fed to the note listener as the microphone feeds
// it: from a note's onset to the answer judged, how many come out right, an octave off, as a
// neighbour or not at all, per instrument; how many semitones answer nothing, and how many answer
// as themselves in a key; whether the program's own piano note gets through the mute around it.
// Then phrases, legato and detached, heard whole (MicPhrases.h). Then, on a private PulseAudio
// server whose microphone hears the program's notes, an exercise on the real player: from each head
// showing to the microphone listening again; and the processor time with the microphone open, and
// after it has closed. Prints a table and medians; never fails the run.
#include "MicInstruments.h"
#include "MicPhrases.h"
#include "OfflineRender.h"
#include "PrivatePulseServer.h"
#include "RenderedNotes.h"
#include "Summary.h"
#include "feedback/FluidSynthPlayer.h"
#include "input/HeardNotes.h"
#include "input/Microphone.h"
#include "input/MicrophoneAnswers.h"
#include "input/NoteListener.h"
#include "input/OwnSoundMute.h"
#include "training/Exercise.h"
#include "training/NotePitches.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLoggingCategory>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>

namespace {

constexpr double noiseDb = 20.0;
// From the end of a note file to the player's end of its sound.
constexpr double outputLatencySeconds = 0.045;
constexpr int listeningSeconds = 10;
// Tasks timed from the head showing to the listening again; before them the null sink settles.
constexpr int timedTasks = 15;
constexpr int settlingTasks = 3;

using Clock = std::chrono::steady_clock;

constexpr const char* groupNames[] = {"strings", "winds", "voices"};

struct Tally {
    int right = 0;
    int octave = 0;
    int neighbour = 0;
    int none = 0;
    int semitones = 0;
    int semitonesSilent = 0;
    int semitonesInKey = 0;     // answered as themselves where every semitone is listened for
    std::vector<double> delays; // ms, of the right answers

    void add(const Tally& other) {
        right += other.right;
        octave += other.octave;
        neighbour += other.neighbour;
        none += other.none;
        semitones += other.semitones;
        semitonesSilent += other.semitonesSilent;
        semitonesInKey += other.semitonesInKey;
        delays.insert(delays.end(), other.delays.begin(), other.delays.end());
    }
    int naturals() const { return right + octave + neighbour + none; }
};

double percent(int part, int whole) {
    return whole > 0 ? 100.0 * part / whole : 100.0;
}

Clef clefOf(const ClefPitches& clef) {
    return clef.folder == "bass" ? Clef::Bass : Clef::Violin;
}

bool isNatural(int pitch) {
    return SpelledNote::naturalOf(pitch).has_value();
}

// The clef's notes within the instrument's range and every semitone between them.
std::vector<int> playedPitches(const Played& played, Clef clef) {
    std::vector<int> naturals;
    for (const int pitch : pitchesOf(clef).midiNotes)
        if (pitch >= played.lowest && pitch <= played.highest)
            naturals.push_back(pitch);
    std::vector<int> pitches;
    for (int pitch = naturals.front(); pitch <= naturals.back(); ++pitch)
        pitches.push_back(pitch);
    return pitches;
}

void tallyNote(Tally& tally, int pitch, const std::vector<std::pair<int, std::size_t>>& decided,
               std::size_t onset) {
    if (!isNatural(pitch)) {
        ++tally.semitones;
        tally.semitonesSilent += decided.empty();
        return;
    }
    if (decided.empty()) {
        ++tally.none;
        return;
    }
    const int first = decided.front().first;
    if (first == pitch) {
        ++tally.right;
        tally.delays.push_back(1000.0 * double(decided.front().second - onset) /
                               Microphone::sampleRate);
    } else if ((first - pitch) % 12 == 0) {
        ++tally.octave;
    } else {
        ++tally.neighbour;
    }
}

// Tallies per instrument and SoundFont, in the order of `instruments()`; empty if a SoundFont
// is missing.
std::vector<Tally> tallyRenderedNotes() {
    std::vector<Tally> tallies;
    const auto onset = std::size_t(leadSeconds * Microphone::sampleRate);
    for (const auto& [fontName, file] : soundFonts()) {
        NoteRenderer renderer(file, Microphone::sampleRate);
        if (!renderer.isLoaded()) {
            std::printf("%s is not installed: nothing measured\n", qPrintable(file));
            return {};
        }
        for (const Played& played : instruments()) {
            Tally tally;
            std::map<int, std::vector<float>> rendered;
            for (const Clef clef : played.clefs) {
                const std::vector<int> candidates = listenedPitches(clef, false);
                const std::vector<int> inKey = listenedSemitones(clef, false);
                for (const int pitch : playedPitches(played, clef)) {
                    if (!rendered.count(pitch))
                        rendered[pitch] =
                            renderer.render({played.program, pitch, 1.0}, leadSeconds);
                    for (const bool noisy : {false, true}) {
                        std::vector<float> samples = rendered[pitch];
                        if (noisy)
                            addPinkNoise(samples, onset, noiseDb);
                        tallyNote(tally, pitch, decisions(samples, candidates), onset);
                        if (!isNatural(pitch)) {
                            const auto decided = decisions(samples, inKey);
                            tally.semitonesInKey +=
                                !decided.empty() && decided.front().first == pitch;
                        }
                    }
                }
            }
            tallies.push_back(std::move(tally));
        }
    }
    return tallies;
}

void printTallies(const std::vector<Tally>& tallies) {
    std::printf("%-24s %6s %6s %9s %5s %10s %7s %7s %7s\n", "instrument, SoundFont", "right",
                "octave", "neighbour", "none", "semitones", "in key", "median", "p90");
    std::size_t row = 0;
    for (const auto& [fontName, file] : soundFonts())
        for (const Played& played : instruments()) {
            const Tally& tally = tallies[row++];
            std::printf("%-24s %3d/%-2d %6d %9d %5d %6d/%-3d %4d/%-3d %4.0f ms %4.0f ms\n",
                        qPrintable(QStringLiteral("%1, %2").arg(played.name, fontName)),
                        tally.right, tally.naturals(), tally.octave, tally.neighbour, tally.none,
                        tally.semitonesSilent, tally.semitones, tally.semitonesInKey,
                        tally.semitones, percentile(tally.delays, 0.5),
                        percentile(tally.delays, 0.9));
        }
}

// Notes decided through the mute on the program's own piano notes, whose sound ends with their
// file and the output's latency after it.
int ownNotesAnswering() {
    int answering = 0;
    for (const ClefPitches& clef : clefPitches())
        for (std::size_t index = 0; index < clef.midiNotes.size(); ++index) {
            const QString file =
                QStringLiteral(VIRELO_PROGRAM_DIR "/sound/%1/%2.mid")
                    .arg(QString::fromUtf8(clef.folder.data(), qsizetype(clef.folder.size())))
                    .arg(index);
            std::vector<float> samples = renderMidiFile(
                largeSoundFont, file, Microphone::sampleRate, SoundFontPresets::PianoOnly);
            const std::size_t soundEnd =
                samples.size() + std::size_t(outputLatencySeconds * Microphone::sampleRate);
            samples.resize(samples.size() + 2 * Microphone::sampleRate, 0.0f);
            NoteListener listener(*AubioLibrary::get(), Microphone::sampleRate,
                                  listenedPitches(clefOf(clef), false));
            OwnSoundMute mute(listener, Microphone::sampleRate);
            mute.ownSoundStarted();
            for (std::size_t at = 0; at < samples.size(); at += NoteListener::hopSize) {
                if (at <= soundEnd && at + NoteListener::hopSize > soundEnd)
                    mute.ownSoundEnded();
                const std::size_t end = std::min(samples.size(), at + NoteListener::hopSize);
                mute.feed({samples.data() + at, end - at}, [&](int) { ++answering; });
            }
        }
    return answering;
}

// When the microphone last started listening again, as its log tells it.
std::atomic<Clock::rep> listeningAgain{0};
QtMessageHandler defaultHandler = nullptr;

void noteListeningAgain(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("listening again"))) {
        listeningAgain = Clock::now().time_since_epoch().count();
        return;
    }
    defaultHandler(type, context, message);
}

void waitFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// A bass-clef exercise answered with the microphone on, on the real player and the real
// microphone, whose notes sound into the microphone as from a loud loudspeaker: from each head
// showing to the microphone listening again, in ms, and the tasks the microphone answered. Each
// task is answered half a second after its head shows.
std::vector<double> headShownToListening(const PrivatePulseServer& server, int& ownNotesHeard) {
    if (!server.pactl({QStringLiteral("set-default-sink"), QStringLiteral("mic")}))
        return {};
    FluidSynthPlayer player;
    if (!player.waitForSoundFont())
        return {};
    defaultHandler = qInstallMessageHandler(noteListeningAgain);
    QLoggingCategory::setFilterRules(QStringLiteral("virelo.microphone.debug=true"));
    ExerciseServices services;
    services.player = &player;
    services.random = [] { return double(std::rand()) / (double(RAND_MAX) + 1); };
    services.message = [](const QString&, MessageIcon, const QString&) {};
    services.programDir = QStringLiteral(VIRELO_PROGRAM_DIR);
    Exercise exercise(services);
    MicrophoneAnswers answers(exercise, [] { return MicrophoneAnswers::Choice{true, false}; });
    Clock::time_point shown;
    QObject::connect(&exercise, &Exercise::taskShown, [&] { shown = Clock::now(); });
    QObject::connect(&exercise, &Exercise::taskEnded, [&](const TaskOutcome& outcome) {
        ownNotesHeard += outcome.input == AnswerInput::Microphone;
    });
    exercise.chooseMode(Clef::Bass, false);
    exercise.Start({0, NoteCount - 1, 0, 0, false});
    std::vector<double> delays;
    for (int task = 0; task < settlingTasks + timedTasks && exercise.taskOpen(); ++task) {
        waitFor(500);
        const Clock::time_point listening{Clock::duration(listeningAgain.load())};
        if (task >= settlingTasks && listening > shown)
            delays.push_back(std::chrono::duration<double, std::milli>(listening - shown).count());
        // Returns once the next note has sounded.
        exercise.answer(exercise.askedIndex());
    }
    exercise.abort();
    qInstallMessageHandler(defaultHandler);
    server.pactl({QStringLiteral("set-default-sink"), QStringLiteral("test")});
    return delays;
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

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (!AubioLibrary::get()) {
        std::printf("libaubio5 is not installed: nothing measured\n");
        return 0;
    }
    const std::vector<Tally> tallies = tallyRenderedNotes();
    if (tallies.empty())
        return 0;
    printTallies(tallies);
    Tally all;
    Tally bowed;
    Tally groups[3];
    double slowestP90 = 0.0;
    std::size_t row = 0;
    for (std::size_t font = 0; font < soundFonts().size(); ++font)
        for (const Played& played : instruments()) {
            const Tally& tally = tallies[row++];
            all.add(tally);
            groups[int(played.group)].add(tally);
            if (played.bowed)
                bowed.add(tally);
            slowestP90 = std::max(slowestP90, percentile(tally.delays, 0.9));
        }
    double weakestGroup = 100.0;
    for (int group = 0; group < 3; ++group) {
        const double right = percent(groups[group].right, groups[group].naturals());
        std::printf("%s: %.2f %% right\n", groupNames[group], right);
        weakestGroup = std::min(weakestGroup, right);
    }
    printFigure("microphone onset to answer judged", all.delays, "ms", 1);
    printFigure("microphone onset to answer judged, bowed strings", {percentile(bowed.delays, 0.5)},
                "ms", 1);
    printFigure("microphone onset to answer judged, 90th percentile of the slowest instrument",
                {slowestP90}, "ms", 1);
    printFigure("microphone right answers, weakest group", {weakestGroup}, "%", 2);
    printFigure("microphone octave errors", {double(all.octave)}, "notes", 0);
    printFigure("microphone semitones answering nothing",
                {percent(all.semitonesSilent, all.semitones)}, "%", 2);
    printFigure("microphone semitones in a key answered as themselves",
                {percent(all.semitonesInKey, all.semitones)}, "%", 2);
    printFigure("microphone answers from the program's own piano notes",
                {double(ownNotesAnswering())}, "notes", 0);
    printPhraseFigures();

    const PrivatePulseServer server;
    if (!server.isRunning()) {
        std::printf("pulseaudio would not start: processor time not measured\n");
        return 0;
    }
    qputenv("PULSE_SERVER", server.address().toLocal8Bit());
    int ownNotesHeard = 0;
    const std::vector<double> toListening = headShownToListening(server, ownNotesHeard);
    if (toListening.empty()) {
        std::printf("no SoundFont or no microphone: the listening again not measured\n");
    } else {
        printFigure("microphone head shown to listening again", toListening, "ms", 1);
        printFigure("microphone answers from the program's own notes through the microphone",
                    {double(ownNotesHeard)}, "notes", 0);
    }
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
