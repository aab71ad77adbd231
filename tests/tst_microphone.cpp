// Notes played or sung into a microphone: rendered notes of string and voice instruments through
// the real note listener, what a heard note answers, and the recording device coming and going.
#include "NeededServer.h"
#include "OfflineRender.h"
#include "PrivatePulseServer.h"
#include "RenderedNotes.h"
#include "input/HeardNotes.h"
#include "input/Microphone.h"
#include "input/MicrophoneFinder.h"
#include "input/MidiNotes.h"
#include "input/NoteListener.h"
#include "input/OwnSoundMute.h"
#include "training/NoteModel.h"
#include "training/NotePitches.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>

#include <atomic>
#include <cmath>
#include <optional>

namespace {

constexpr double sampleRate = 44100.0;
constexpr double leadSeconds = 0.3;
// A held note decided again later than this would answer the next task.
constexpr double glideSeconds = 0.1;
// From the end of a note file, when its head shows, to the player's end of its sound: the
// output's latency.
constexpr double soundEndAfterFileSeconds = 0.045;

constexpr Clef Violin = Clef::Violin;
constexpr Clef Bass = Clef::Bass;

struct Decision {
    int pitch;
    double seconds; // from the start of the samples to the end of the hop that decided it
};

std::vector<Decision> listen(const std::vector<float>& samples,
                             const std::vector<int>& candidates) {
    NoteListener listener(*AubioLibrary::get(), unsigned(sampleRate), candidates);
    std::vector<Decision> decisions;
    for (std::size_t at = 0; at < samples.size(); at += NoteListener::hopSize) {
        const std::size_t end = std::min(samples.size(), at + NoteListener::hopSize);
        listener.feed({samples.data() + at, end - at}, [&](int pitch) {
            decisions.push_back({pitch, double(end) / sampleRate});
        });
    }
    return decisions;
}

// Clients' recording streams open on the sound server that PULSE_SERVER names; -1 if it does
// not answer.
int recordingStreams() {
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("short"),
                                          QStringLiteral("source-outputs")});
    if (!pactl.waitForFinished(5000) || pactl.exitCode() != 0)
        return -1;
    return int(pactl.readAllStandardOutput().count("protocol-native"));
}

// Fed to the listener through the mute around the program's own sound, which begins at
// `soundStart` seconds and ends at `soundEnd`.
std::vector<Decision> listenAround(const std::vector<float>& samples, double soundStart,
                                   double soundEnd, const std::vector<int>& candidates) {
    NoteListener listener(*AubioLibrary::get(), unsigned(sampleRate), candidates);
    OwnSoundMute mute(listener, unsigned(sampleRate));
    std::vector<Decision> decisions;
    bool started = false;
    bool ended = false;
    for (std::size_t at = 0; at < samples.size(); at += NoteListener::hopSize) {
        const std::size_t end = std::min(samples.size(), at + NoteListener::hopSize);
        if (!started && double(at) >= soundStart * sampleRate) {
            mute.ownSoundStarted();
            started = true;
        }
        if (!ended && double(at) >= soundEnd * sampleRate) {
            mute.ownSoundEnded();
            ended = true;
        }
        mute.feed({samples.data() + at, end - at}, [&](int pitch) {
            decisions.push_back({pitch, double(end) / sampleRate});
        });
    }
    return decisions;
}

ClefPitches pitchesOf(Clef clef) {
    for (const ClefPitches& pitches : clefPitches())
        if (pitches.clef == clef)
            return pitches;
    return {};
}

} // namespace

class MicrophoneTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        NEEDS_SERVER(AubioLibrary::get(), "libaubio5 is missing; ./test installs it");
        NEEDS_SERVER(NoteRenderer(largeSoundFont, sampleRate).isLoaded(),
                     "FluidR3_GM is missing; ./test installs fluid-soundfont-gm");
    }

    void heardAnswer_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<int>("pitch");
        QTest::addColumn<int>("asked");
        QTest::addColumn<bool>("anyOctave");
        QTest::addColumn<int>("expected"); // -1: no answer

        QTest::newRow("treble g' as asked") << Violin << 67 << 8 << false << 8;
        QTest::newRow("treble g an octave low") << Violin << 55 << 8 << false << 1;
        QTest::newRow("treble f# between notes") << Violin << 66 << 8 << false << -1;
        QTest::newRow("treble e below the clef") << Violin << 52 << 6 << false << -1;
        QTest::newRow("bass F lowest") << Bass << 41 << 0 << false << 0;
        QTest::newRow("any octave: g an octave low is g'") << Violin << 55 << 8 << true << 8;
        QTest::newRow("any octave: e below the clef") << Violin << 52 << 6 << true << 6;
        QTest::newRow("any octave: e' two octaves up is e'") << Bass << 76 << 6 << true << 6;
        // e' asked: the a nearest to it is a' (9), a fourth up, not a (2), a fifth down.
        QTest::newRow("any octave: other letter nearest the asked")
            << Violin << 45 << 6 << true << 9;
        QTest::newRow("any octave: f'' asked, c heard is c''") << Violin << 48 << 14 << true << 11;
        QTest::newRow("any octave: a sharp answers nothing") << Violin << 54 << 1 << true << -1;
    }

    void heardAnswer() {
        QFETCH(Clef, clef);
        QFETCH(int, pitch);
        QFETCH(int, asked);
        QFETCH(bool, anyOctave);
        QFETCH(int, expected);
        QCOMPARE(::heardAnswer(clef, pitch, asked, anyOctave).value_or(-1), expected);
    }

    // In an exercise in a key a heard pitch answers as itself, semitones included.
    void heardPitchAnswer_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<int>("pitch");
        QTest::addColumn<int>("asked"); // a MIDI note
        QTest::addColumn<bool>("anyOctave");
        QTest::addColumn<int>("expected"); // -1: no answer

        QTest::newRow("treble fis' as asked") << Violin << 66 << 66 << false << 66;
        QTest::newRow("treble f' for fis'") << Violin << 65 << 66 << false << 65;
        QTest::newRow("treble e, a semitone below the lowest f")
            << Violin << 52 << 53 << false << 52;
        QTest::newRow("treble dis below the clef") << Violin << 51 << 53 << false << -1;
        QTest::newRow("treble fis'' above the highest f''") << Violin << 78 << 77 << false << 78;
        QTest::newRow("bass B flat") << Bass << 46 << 46 << false << 46;
        QTest::newRow("any octave: fis an octave low is fis'") << Violin << 54 << 66 << true << 66;
        QTest::newRow("any octave: b heard for fis', the b' above")
            << Violin << 58 << 66 << true << 70;
        QTest::newRow("any octave: d'' heard for fis', the d' below")
            << Violin << 74 << 66 << true << 62;
        QTest::newRow("any octave: cis three octaves up for cis") << Bass << 85 << 49 << true << 49;
    }

    void heardPitchAnswer() {
        QFETCH(Clef, clef);
        QFETCH(int, pitch);
        QFETCH(int, asked);
        QFETCH(bool, anyOctave);
        QFETCH(int, expected);
        QCOMPARE(::heardPitchAnswer(clef, pitch, asked, anyOctave).value_or(-1), expected);
    }

    // In a key every semitone of the clef is listened for: each one played is heard as itself,
    // not as its neighbour.
    void renderedSemitonesInAKey_data() {
        QTest::addColumn<QString>("soundFont");
        QTest::addColumn<int>("program");
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<QList<int>>("pitches");
        QTest::newRow("voice oohs, treble") << museScoreSoundFont << instrument::voiceOohs << Violin
                                            << QList<int>{54, 56, 61, 63, 64, 66, 70, 75, 78};
        QTest::newRow("cello, bass") << largeSoundFont << instrument::cello << Bass
                                     << QList<int>{40, 42, 46, 49, 51, 54, 58, 63, 66};
    }

    void renderedSemitonesInAKey() {
        QFETCH(QString, soundFont);
        QFETCH(int, program);
        QFETCH(Clef, clef);
        QFETCH(QList<int>, pitches);
        NoteRenderer renderer(soundFont, sampleRate);
        QVERIFY2(renderer.isLoaded(),
                 qPrintable(soundFont + QStringLiteral(" is missing; ./test installs it")));
        const std::vector<int> candidates = listenedSemitones(clef, false);
        for (const int pitch : pitches) {
            const std::vector<Decision> decisions =
                listen(renderer.render({program, pitch, 1.0}, leadSeconds), candidates);
            const int answered =
                decisions.empty()
                    ? -1
                    : ::heardPitchAnswer(clef, decisions.front().pitch, pitch, false).value_or(-1);
            QVERIFY2(
                answered == pitch,
                qPrintable(QStringLiteral("MIDI note %1 answered %2").arg(pitch).arg(answered)));
        }
    }

    // Every note of the clef played on its own, after silence, held for a second, then released;
    // or the notes named. The first note decided answers; a note held on or fading must not be
    // decided again.
    void renderedNotes_data() {
        QTest::addColumn<QString>("soundFont");
        QTest::addColumn<int>("program");
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<double>("noiseDb");     // below the note; 0 for none
        QTest::addColumn<double>("offset");      // semitones from the clef's note
        QTest::addColumn<QList<int>>("pitches"); // MIDI notes played instead of the clef's
        QTest::addColumn<bool>("anyOctave");
        QTest::addColumn<bool>("orNothing"); // no answer will do instead of the right one
        const QList<int> clefNotes;

        const std::pair<const char*, int> instruments[] = {{"violin", instrument::violin},
                                                           {"cello", instrument::cello},
                                                           {"choir", instrument::choirAahs},
                                                           {"voice", instrument::voiceOohs}};
        for (const auto& [name, program] : instruments)
            for (const Clef clef : {Violin, Bass})
                for (const double noise : {0.0, 20.0})
                    QTest::addRow("%s, %s clef, %s", name, clef == Violin ? "treble" : "bass",
                                  noise > 0 ? "noise 20 dB below" : "clean")
                        << largeSoundFont << program << clef << noise << 0.0 << clefNotes << false
                        << false;
        QTest::newRow("violin a semitone sharp: sharps answer nothing")
            << largeSoundFont << instrument::violin << Violin << 0.0 << 1.0 << clefNotes << false
            << false;
        QTest::newRow("cello a semitone flat, noisy: flats answer nothing")
            << largeSoundFont << instrument::cello << Bass << 20.0 << -1.0 << clefNotes << false
            << false;
        QTest::newRow("man's voice an octave low, fixed octave: another note or none")
            << largeSoundFont << instrument::voiceOohs << Violin << 0.0 << -12.0 << clefNotes
            << false << false;
        QTest::newRow("man's voice an octave low, any octave: right")
            << largeSoundFont << instrument::voiceOohs << Violin << 20.0 << -12.0 << clefNotes
            << true << false;
        QTest::newRow("cello an octave high, fixed octave: another note or none")
            << largeSoundFont << instrument::cello << Bass << 0.0 << 12.0 << clefNotes << false
            << false;

        // Of the other SoundFont: attacks an octave low or overblown, a fundamental weaker than
        // its second partial, attacks sliding from a semitone above, swells a semitone sharp.
        const QString other = museScoreSoundFont;
        QTest::newRow("flute e'' and f'', attack an octave low")
            << other << instrument::flute << Violin << 0.0 << 0.0 << QList<int>{76, 77} << false
            << false;
        QTest::newRow("recorder f', overblown attack")
            << other << instrument::recorder << Violin << 0.0 << 0.0 << QList<int>{65} << false
            << false;
        QTest::newRow("cello F, weak fundamental")
            << other << instrument::cello << Bass << 0.0 << 0.0 << QList<int>{41} << false << false;
        // Its steady tone repeats after the period of a' so well that none is the best answer.
        QTest::newRow("bassoon a, attack an octave low, then its octave")
            << other << instrument::bassoon << Bass << 0.0 << 0.0 << QList<int>{57} << false
            << true;
        QTest::newRow("horn h' and e'', attack from above")
            << other << instrument::horn << Violin << 0.0 << 0.0 << QList<int>{71, 76} << false
            << false;
        QTest::newRow("voice oohs cis' and fis', swelling sharp")
            << other << instrument::voiceOohs << Violin << 0.0 << 0.0 << QList<int>{61, 66} << false
            << false;
        QTest::newRow("choir aahs c, slow to steady")
            << other << instrument::choirAahs << Bass << 0.0 << 0.0 << QList<int>{48} << false
            << false;

        // Steady and in tune with itself, but nearly half a semitone off: its note.
        QTest::newRow("clarinet 0.4 semitone sharp, steady: its note")
            << largeSoundFont << instrument::clarinet << Violin << 0.0 << 0.4
            << QList<int>{65, 67, 69, 71, 72, 74, 76, 77} << false << false;

        // Every semitone between two notes of the clef answers nothing.
        const QList<int> trebleSemitones{54, 56, 58, 61, 63, 66, 68, 70, 73, 75};
        const QList<int> bassSemitones{42, 44, 46, 49, 51, 54, 56, 58, 61, 63};
        QTest::newRow("semitones: voice oohs, treble")
            << other << instrument::voiceOohs << Violin << 0.0 << 0.0 << trebleSemitones << false
            << false;
        QTest::newRow("semitones: choir aahs, bass, noisy")
            << other << instrument::choirAahs << Bass << 20.0 << 0.0 << bassSemitones << false
            << false;
        QTest::newRow("semitones: horn, treble") << other << instrument::horn << Violin << 0.0
                                                 << 0.0 << trebleSemitones << false << false;
        QTest::newRow("semitones: cello, bass") << largeSoundFont << instrument::cello << Bass
                                                << 0.0 << 0.0 << bassSemitones << false << false;
    }

    void renderedNotes() {
        QFETCH(QString, soundFont);
        QFETCH(int, program);
        QFETCH(Clef, clef);
        QFETCH(double, noiseDb);
        QFETCH(double, offset);
        const int shift = int(std::lround(offset));
        QFETCH(QList<int>, pitches);
        QFETCH(bool, anyOctave);
        QFETCH(bool, orNothing);
        NoteRenderer renderer(soundFont, sampleRate);
        QVERIFY2(renderer.isLoaded(),
                 qPrintable(soundFont + QStringLiteral(" is missing; ./test installs it")));
        const std::vector<int> candidates = listenedPitches(clef, anyOctave);
        // Each note played with the note asked: the clef's note it was moved from, or the note
        // named, or for a semitone the note below it.
        std::vector<std::pair<int, int>> played;
        if (pitches.isEmpty())
            for (int index = 0; index < NoteCount; ++index)
                played.push_back({pitchesOf(clef).midiNotes[std::size_t(index)] + shift, index});
        for (const int pitch : pitches)
            played.push_back({pitch, noteIndexOfPitch(clef, pitch)
                                         .value_or(noteIndexOfPitch(clef, pitch - 1).value_or(0))});
        for (const auto& [pitch, asked] : played) {
            std::vector<float> samples =
                renderer.render({program, pitch, 1.0, offset - shift}, leadSeconds);
            if (noiseDb > 0)
                addPinkNoise(samples, std::size_t(leadSeconds * sampleRate), noiseDb);
            const std::vector<Decision> decisions = listen(samples, candidates);

            const bool heard =
                std::find(candidates.begin(), candidates.end(), pitch) != candidates.end();
            // -1: no answer.
            const int expected =
                heard ? ::heardAnswer(clef, pitch, asked, anyOctave).value_or(-1) : -1;
            const int answered =
                decisions.empty()
                    ? -1
                    : ::heardAnswer(clef, decisions.front().pitch, asked, anyOctave).value_or(-1);
            const QString where = QStringLiteral("MIDI note %1 asked as %2").arg(pitch).arg(asked);
            QVERIFY2(answered == expected || (orNothing && answered == -1),
                     qPrintable(
                         where +
                         QStringLiteral(": answered %1, expected %2").arg(answered).arg(expected)));
            // An attack may glide through a neighbour, within a few hops.
            for (const Decision& later : decisions)
                QVERIFY2(later.seconds < decisions.front().seconds + glideSeconds,
                         qPrintable(where + QStringLiteral(": decided again as %1 after %2 s")
                                                .arg(later.pitch)
                                                .arg(later.seconds - leadSeconds)));
        }
    }

    // The program's own piano note is heard as well, as from a loud loudspeaker: it must decide
    // nothing, while it sounds nor once it has faded. A learner who plays the note on a cello
    // as soon as it shows, or a moment later, while the piano still rings, is heard; also where
    // the same note answered the task before and was held until this head showed.
    void ownPianoNote_data() {
        QTest::addColumn<Clef>("clef");
        QTest::addColumn<int>("index");
        QTest::addColumn<double>("playedAfter"); // seconds after the head shows; < 0: not played
        QTest::addColumn<bool>("playedBefore");
        QTest::newRow("treble, lowest") << Violin << 0 << -1.0 << false;
        QTest::newRow("treble, highest") << Violin << 14 << -1.0 << false;
        QTest::newRow("bass, lowest") << Bass << 0 << -1.0 << false;
        QTest::newRow("bass, middle") << Bass << 7 << -1.0 << false;
        QTest::newRow("bass, middle, played as the head shows") << Bass << 7 << 0.0 << false;
        QTest::newRow("bass, lowest, played 0.1 s after") << Bass << 0 << 0.1 << false;
        QTest::newRow("bass, highest, played 0.3 s after") << Bass << 14 << 0.3 << false;
        QTest::newRow("treble, middle, played 0.1 s after") << Violin << 7 << 0.1 << false;
        QTest::newRow("bass, lowest, played before and 0.1 s after") << Bass << 0 << 0.1 << true;
        QTest::newRow("bass, middle, played before and 0.3 s after") << Bass << 7 << 0.3 << true;
        QTest::newRow("treble, highest, played before and 0.1 s after")
            << Violin << 14 << 0.1 << true;
    }

    void ownPianoNote() {
        QFETCH(Clef, clef);
        QFETCH(int, index);
        QFETCH(double, playedAfter);
        QFETCH(bool, playedBefore);
        const QString file =
            QStringLiteral(VIRELO_PROGRAM_DIR "/sound/%1/%2.mid")
                .arg(clef == Violin ? QStringLiteral("violin") : QStringLiteral("bass"))
                .arg(index);
        std::vector<float> samples =
            renderMidiFile(largeSoundFont, file, sampleRate, SoundFontPresets::PianoOnly);
        QVERIFY2(!samples.empty(), qPrintable(file));
        const std::vector<int> candidates = listenedPitches(clef, false);
        samples.resize(samples.size() + std::size_t(2 * sampleRate), 0.0f);
        QVERIFY2(!listen(samples, candidates).empty(),
                 "the piano note was not heard at all: the check means nothing");
        // The note played before has answered its task, and the piano begun, within this.
        const double soundStart = playedBefore ? 0.3 : 0.0;
        samples.insert(samples.begin(), std::size_t(soundStart * sampleRate), 0.0f);
        // The head shows when the file has played to its end.
        const double headShown = double(samples.size()) / sampleRate - 2.0;

        const int pitch = pitchesOf(clef).midiNotes[std::size_t(index)];
        NoteRenderer renderer(largeSoundFont, sampleRate);
        const auto addCello = [&](double start, double seconds) {
            const std::vector<float> cello =
                renderer.render({instrument::cello, pitch, seconds}, start);
            samples.resize(std::max(samples.size(), cello.size()), 0.0f);
            for (std::size_t at = 0; at < cello.size(); ++at)
                samples[at] += cello[at];
        };
        // Then the piano sounds in headphones, and the note before is held until the head shows.
        if (playedBefore) {
            std::fill(samples.begin(), samples.end(), 0.0f);
            addCello(0.0, headShown);
        }
        if (playedAfter >= 0)
            addCello(headShown + playedAfter, 1.0);
        std::vector<Decision> decisions =
            listenAround(samples, soundStart, headShown + soundEndAfterFileSeconds, candidates);
        if (playedBefore) {
            QVERIFY2(!decisions.empty() && decisions.front().pitch == pitch &&
                         decisions.front().seconds < soundStart,
                     "the note played before did not answer before the piano began");
            decisions.erase(decisions.begin());
        }
        if (playedAfter < 0) {
            for (const Decision& decision : decisions)
                QFAIL(qPrintable(QStringLiteral("decided %1 at %2 s, the sound ended at %3 s")
                                     .arg(decision.pitch)
                                     .arg(decision.seconds)
                                     .arg(headShown)));
            return;
        }
        QVERIFY2(decisions.size() == 1 && decisions.front().pitch == pitch,
                 qPrintable(QStringLiteral("%1 decisions, the first %2; the cello played %3")
                                .arg(decisions.size())
                                .arg(decisions.empty() ? -1 : decisions.front().pitch)
                                .arg(pitch)));
    }

    // The default recording device of a private sound server: found, heard, closed while the
    // server hangs, and gone with the server. A server that hangs holds none of the calls a
    // window makes. Then no device at all: no sound server, and ALSA without any configuration.
    void recordingDevice() {
        PrivatePulseServer pulse;
        NEEDS_SERVER(pulse.isRunning(), "pulseaudio would not start; ./test installs it");
        qputenv("PULSE_SERVER", pulse.address().toLocal8Bit());
        // Found from the server's list: no recording stream came and went for it, which the
        // desktop would show as a microphone in use.
        QProcess events;
        events.start(QStringLiteral("pactl"), {QStringLiteral("subscribe")});
        QVERIFY(events.waitForStarted());
        QTest::qWait(200);
        QVERIFY(Microphone::found());
        QTest::qWait(200);
        events.kill();
        events.waitForFinished();
        QVERIFY2(!events.readAllStandardOutput().contains("source-output"),
                 "a recording stream was opened to find the device");
        std::atomic<std::size_t> frames = 0;
        std::atomic<bool> lost = false;
        Microphone microphone;
        QVERIFY(microphone.open([&](std::span<const float> samples) { frames += samples.size(); },
                                [&] { lost = true; }));
        QVERIFY2(QTest::qWaitFor([&] { return frames > 0; }), "nothing was recorded");

        // Frozen: the search goes on beside and says in time that there is nothing to open;
        // closing waits for nothing, opening for its second, and what still opens is closed by
        // the thread that opens it.
        pulse.freeze();
        MicrophoneFinder finder;
        QSignalSpy answered(&finder, &MicrophoneFinder::answered);
        QElapsedTimer window;
        window.start();
        finder.search();
        const qint64 searchAsked = window.elapsed();
        microphone.close();
        const qint64 closed = window.elapsed();
        QVERIFY(microphone.open([](std::span<const float>) {}));
        const qint64 opening = window.elapsed();
        microphone.close();
        qInfo("with the server frozen: search asked after %lld ms, closed after %lld ms, opening "
              "handed to the background after %lld ms",
              searchAsked, closed, opening);
        // A second and its margin on a busy machine; a hung call takes a minute.
        QVERIFY2(window.elapsed() < 5000, "a hung sound server held the window's thread");
        QVERIFY2(answered.wait(20000), "the search did not answer");
        QCOMPARE(answered.first().first().toBool(), false);
        pulse.thaw();
        // The stream that opened too late is closed by the thread that opened it.
        QVERIFY2(QTest::qWaitFor([] { return recordingStreams() == 0; }, 10000),
                 "a stream opened too late stayed open");

        // Once the server answers again, the device is found and records. (Asked before, on a
        // busy machine the server still catching up could take longer than an opening waits.)
        finder.search();
        QVERIFY2(answered.wait(20000), "the search did not answer after the thaw");
        QCOMPARE(answered.last().first().toBool(), true);
        frames = 0;
        QVERIFY(microphone.open([&](std::span<const float> samples) { frames += samples.size(); },
                                [&] { lost = true; }));
        QVERIFY2(QTest::qWaitFor([&] { return frames > 0; }, 10000), "nothing was recorded again");
        pulse.kill();
        QVERIFY2(QTest::qWaitFor([&] { return lost.load(); }), "the device gone was not told");
        microphone.close();

        QTemporaryFile noAlsaConfiguration;
        QVERIFY(noAlsaConfiguration.open());
        qputenv("ALSA_CONFIG_PATH", QFile::encodeName(noAlsaConfiguration.fileName()));
        QVERIFY(!Microphone::found());
        QVERIFY(!microphone.open([](std::span<const float>) {}, [] {}));
        qunsetenv("ALSA_CONFIG_PATH");
        qunsetenv("PULSE_SERVER");
    }
};

QTEST_GUILESS_MAIN(MicrophoneTest)
#include "tst_microphone.moc"
