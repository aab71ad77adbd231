#include "MonitorCapture.h"
#include "NeededServer.h"
#include "OfflineRender.h"
#include "PitchEstimate.h"
#include "PrivatePulseServer.h"
#include "StderrCapture.h"
#include "feedback/FluidSynthPlayer.h"
#include "feedback/PianoOnlySoundFont.h"
#include "feedback/SoundFontSearch.h"
#include "training/NotePitches.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <numbers>

namespace {

constexpr double sampleRate = 48000.0;
constexpr std::size_t frameLength = 480; // 10 ms
// A note file releases its key after a second, then leaves the release time to fade.
constexpr std::size_t releaseFrame = 100;
// Far from a semitone (100 cents), and from the few cents the pianos' samples are tuned off.
constexpr double pitchToleranceCents = 15.0;
// How far a note fades from its release to the file's end: a file cut short would stop the sound
// while it still rings, and the stream closing then would click.
constexpr double releaseFadeDb = 18.0;

QString noteFile(std::string_view clef, int index) {
    return QStringLiteral(VIRELO_PROGRAM_DIR "/sound/%1/%2.mid")
        .arg(QString::fromUtf8(clef.data(), qsizetype(clef.size())))
        .arg(index);
}

double midiNoteFrequency(double note) {
    return 440.0 * std::exp2((note - 69.0) / 12.0);
}

double centsBetween(double frequency, double reference) {
    return 1200.0 * std::log2(frequency / reference);
}

// Loudness of each 10 ms frame, in dB relative to the loudest frame.
std::vector<double> frameLevels(const std::vector<float>& samples) {
    std::vector<double> rms;
    for (std::size_t start = 0; start + frameLength <= samples.size(); start += frameLength) {
        double sum = 0.0;
        for (std::size_t i = start; i < start + frameLength; ++i)
            sum += double(samples[i]) * samples[i];
        rms.push_back(std::sqrt(sum / double(frameLength)));
    }
    const double loudest = rms.empty() ? 0.0 : *std::max_element(rms.begin(), rms.end());
    std::vector<double> levels;
    for (double value : rms)
        levels.push_back(20.0 * std::log10(std::max(value / loudest, 1e-12)));
    return levels;
}

// A tone whose partials run sharp of whole multiples as a struck string's do: partial n lies at
// n * fundamental * sqrt((1 + B n^2) / (1 + B)) for the string's inharmonicity B.
std::vector<float> tone(double fundamental, const QList<double>& partialAmplitudes,
                        double inharmonicity) {
    std::vector<float> samples(std::size_t(0.2 * sampleRate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        double value = 0.0;
        for (qsizetype p = 0; p < partialAmplitudes.size(); ++p) {
            const double n = double(p + 1);
            const double frequency =
                n * fundamental * std::sqrt((1.0 + inharmonicity * n * n) / (1.0 + inharmonicity));
            value += partialAmplitudes[p] *
                     std::sin(2.0 * std::numbers::pi * frequency * double(i) / sampleRate);
        }
        samples[i] = float(value);
    }
    return samples;
}

// Each General MIDI SoundFont installed, once, by its own name: a learner may have any of them.
QStringList installedSoundFonts() {
    QStringList found;
    for (const QString& candidate : standardSoundFonts()) {
        const QString path = QFileInfo(candidate).canonicalFilePath();
        if (!path.isEmpty() && !found.contains(path))
            found << path;
    }
    return found;
}

} // namespace

class NotePlaybackTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PrivatePulseServer> pulse_;
    std::unique_ptr<MonitorCapture> capture_;
    QTemporaryDir files_;

    QString writeFile(const QString& name, const QByteArray& content) {
        QFile file(files_.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

private slots:
    void initTestCase() {
        QVERIFY(files_.isValid());
        pulse_ = std::make_unique<PrivatePulseServer>();
        if (!pulse_->isRunning())
            return;
        qputenv("PULSE_SERVER", pulse_->address().toLocal8Bit());
        // A listener on the monitor makes the null sink play in real time like a sound card;
        // until then it may have rendered two seconds ahead, and new streams wait for that.
        capture_ = std::make_unique<MonitorCapture>();
        QTest::qWait(2100);
    }

    void cleanupTestCase() {
        capture_.reset();
        qunsetenv("PULSE_SERVER");
        pulse_.reset();
    }

    // The note check below is only as good as its pitch reading.
    void fundamentalEstimate_data() {
        QTest::addColumn<double>("fundamental");
        QTest::addColumn<QList<double>>("partials");
        QTest::addColumn<double>("inharmonicity");
        QTest::newRow("pure low F") << 87.31 << QList<double>{1.0} << 0.0;
        QTest::newRow("loud second harmonic") << 110.0 << QList<double>{0.3, 1.0, 0.2} << 0.0;
        QTest::newRow("bright high F") << 698.46 << QList<double>{1.0, 0.7, 0.5, 0.3} << 0.0;
        QTest::newRow("piano G, sharp upper partials")
            << 196.0 << QList<double>{1.0, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3, 0.2} << 0.0005;
    }

    void fundamentalEstimate() {
        QFETCH(double, fundamental);
        QFETCH(QList<double>, partials);
        QFETCH(double, inharmonicity);
        const double estimate = estimateFundamental(tone(fundamental, partials, inharmonicity),
                                                    sampleRate, 50.0, 1500.0);
        QVERIFY2(std::abs(centsBetween(estimate, fundamental)) < 2.0,
                 qPrintable(QStringLiteral("%1 Hz read as %2 Hz").arg(fundamental).arg(estimate)));
    }

    void noteSound_data() {
        QTest::addColumn<QString>("soundFont");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("midiNote");
        const QStringList soundFonts = installedSoundFonts();
        if (soundFonts.isEmpty())
            QTest::newRow("no SoundFont") << QString() << QString() << 0;
        for (const QString& soundFont : soundFonts) {
            const QByteArray name = QFileInfo(soundFont).completeBaseName().toUtf8();
            for (const ClefPitches& clef : clefPitches()) {
                for (int index = 0; index < int(clef.midiNotes.size()); ++index) {
                    const QByteArray folder(clef.folder.data(), qsizetype(clef.folder.size()));
                    QTest::addRow("%s/%s/%d", name.constData(), folder.constData(), index)
                        << soundFont << noteFile(clef.folder, index)
                        << clef.midiNotes[std::size_t(index)];
                }
            }
        }
    }

    void noteSound() {
        QFETCH(QString, soundFont);
        QFETCH(QString, file);
        QFETCH(int, midiNote);
        NEEDS_SERVER(!soundFont.isEmpty(), "no General MIDI SoundFont installed");
        QVERIFY2(QFileInfo::exists(file), qPrintable(file));

        const std::vector<float> sound = renderMidiFile(soundFont, file, sampleRate);
        // The player has FluidSynth read the piano's presets alone: the note must not change.
        // Only of an sf2 file: an sf3's samples are compressed, and it is read whole.
        if (!soundFont.endsWith(QLatin1String(".sf3"))) {
            QFile soundFontFile(soundFont);
            QVERIFY(soundFontFile.open(QIODevice::ReadOnly));
            QVERIFY2(pianoOnlySoundFont(soundFontFile),
                     "no piano found, the whole SoundFont is read");
            QVERIFY(renderMidiFile(soundFont, file, sampleRate, SoundFontPresets::PianoOnly) ==
                    sound);
        }
        const std::vector<double> levels = frameLevels(sound);
        const auto audible = [](double level) { return level > -40.0; };
        const auto first = std::find_if(levels.begin(), levels.end(), audible);
        const auto last = std::find_if(levels.rbegin(), levels.rend(), audible).base();
        QVERIFY(first != levels.end());
        const double onsetSeconds = double(first - levels.begin()) * 0.01;
        const double soundingSeconds = double(last - first) * 0.01;
        QVERIFY2(onsetSeconds < 0.05, qPrintable(QString::number(onsetSeconds)));
        QVERIFY2(soundingSeconds > 0.8 && soundingSeconds < 1.6,
                 qPrintable(QString::number(soundingSeconds)));
        QVERIFY(levels.size() > releaseFrame);
        const double fade = levels[releaseFrame] - levels.back();
        QVERIFY2(fade > releaseFadeDb,
                 qPrintable(QStringLiteral("faded by %1 dB after the release").arg(fade)));

        // Past the attack, where the tone is steady.
        const std::span<const float> steady =
            std::span(sound).subspan(std::size_t(0.1 * sampleRate), std::size_t(0.2 * sampleRate));
        const double frequency = estimateFundamental(steady, sampleRate, 50.0, 1500.0);
        const double cents = centsBetween(frequency, midiNoteFrequency(midiNote));
        QVERIFY2(std::abs(cents) < pitchToleranceCents,
                 qPrintable(QStringLiteral("%1 Hz is %2 cents off").arg(frequency).arg(cents)));
    }

    void failedPlayback_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("soundFonts");
        QTest::addColumn<bool>("soundServer");
        const QString note = noteFile("violin", 7);
        QTest::newRow("missing file")
            << files_.filePath("missing.mid") << standardSoundFonts() << true;
        QTest::newRow("empty file") << writeFile("empty.mid", {}) << standardSoundFonts() << true;
        QTest::newRow("garbage") << writeFile("garbage.mid", QByteArray(300, '\x5a'))
                                 << standardSoundFonts() << true;
        // Passes the header check, so the player does open the sound device for it.
        QTest::newRow("broken after header")
            << writeFile("broken.mid", QByteArrayLiteral("MThd\0\0\0\6garbage garbage garbage"))
            << standardSoundFonts() << true;
        QFile whole(note);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        QTest::newRow("note file cut short")
            << writeFile("cut.mid", whole.read(40)) << standardSoundFonts() << true;
        QTest::newRow("no sound folder")
            << files_.filePath("gone/sound/violin/7.mid") << standardSoundFonts() << true;
        QTest::newRow("no SoundFont")
            << note << QStringList{files_.filePath("none.sf2"), note} << true;
        QTest::newRow("no SoundFont candidates") << note << QStringList{} << true;
        QTest::newRow("no sound server") << note << standardSoundFonts() << false;
    }

    void failedPlayback() {
        QFETCH(QString, file);
        QFETCH(QStringList, soundFonts);
        QFETCH(bool, soundServer);
        const QByteArray server = qgetenv("PULSE_SERVER");
        if (!soundServer) {
            qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(files_.filePath("no-server")));
            // ALSA is the fallback; with no configuration it has no device either.
            qputenv("ALSA_CONFIG_PATH", "/dev/null");
        }
        qint64 milliseconds = 0;
        int started = 0;
        int ended = 0;
        QByteArray printed;
        {
            StderrCapture capture;
            {
                FluidSynthPlayer player(soundFonts);
                QObject::connect(&player, &NotePlayer::soundStarted, [&] { ++started; });
                QObject::connect(&player, &NotePlayer::soundEnded, [&] { ++ended; });
                player.waitForSoundFont();
                QElapsedTimer clock;
                clock.start();
                player.playFile(file);
                milliseconds = clock.elapsed();
                // A sound that began, as from a file broken after its header, is told to end.
                QTest::qWait(200);
            }
            printed = capture.text();
        }
        qputenv("PULSE_SERVER", server);
        qunsetenv("ALSA_CONFIG_PATH");
        // The task that waits for the note must start as if the note had been skipped: well before
        // the note's 1.3 s had sounded, even on a machine busy enough to slow opening a stream.
        QVERIFY2(milliseconds < 1000, qPrintable(QString::number(milliseconds)));
        QVERIFY2(printed.isEmpty(), printed.constData());
        QCOMPARE(ended, started);
        QVERIFY(started <= 1);
    }

    // The program may close before the SoundFont has loaded.
    void destroyedWhileLoading() {
        StderrCapture capture;
        { FluidSynthPlayer player; }
        QVERIFY2(capture.text().isEmpty(), capture.text().constData());
    }

    // Runs last: it ends the recording of the server's output.
    void playbackThroughServer() {
        NEEDS_SERVER(capture_ && capture_->isRunning(),
                     "pulseaudio or parec is not installed or would not start");
        FluidSynthPlayer player;
        NEEDS_SERVER(player.waitForSoundFont(), "no General MIDI SoundFont installed");
        std::vector<MonitorCapture::Clock::time_point> started;
        std::vector<MonitorCapture::Clock::time_point> ended;
        QObject::connect(&player, &NotePlayer::soundStarted,
                         [&] { started.push_back(MonitorCapture::Clock::now()); });
        QObject::connect(&player, &NotePlayer::soundEnded,
                         [&] { ended.push_back(MonitorCapture::Clock::now()); });

        int ticks = 0;
        qint64 nestedMilliseconds = -1;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, this, [&] {
            if (++ticks == 1) {
                QElapsedTimer clock;
                clock.start();
                player.playFile(noteFile("bass", 3));
                nestedMilliseconds = clock.elapsed();
            }
        });
        ticker.start(20);
        QElapsedTimer clock;
        QByteArray printed;
        const MonitorCapture::Clock::time_point called = MonitorCapture::Clock::now();
        {
            StderrCapture stderrCapture;
            clock.start();
            // A sharp sounds as its natural's file a semitone up.
            player.playFileTransposed(noteFile("violin", 7), 1);
            printed = stderrCapture.text();
        }
        const qint64 milliseconds = clock.elapsed();
        const MonitorCapture::Clock::time_point returned = MonitorCapture::Clock::now();
        ticker.stop();
        QTest::qWait(300);
        capture_->stop();

        // The file lasts 1.3 s: returning sooner cut the note.
        QVERIFY2(milliseconds >= 1250, qPrintable(QString::number(milliseconds)));
        QVERIFY2(ticks > 20, "the event loop did not run while the note sounded");
        QVERIFY2(nestedMilliseconds >= 0 && nestedMilliseconds < 500,
                 "a second note started while the first sounded");
        QVERIFY2(printed.isEmpty(), printed.constData());

        // What the server played from the call on: the note, then silence once the stream closed.
        const std::vector<std::int16_t>& played = capture_->samples();
        const auto from = played.begin() + std::ptrdiff_t(capture_->firstArrivedAfter(called));
        QVERIFY(from < played.end());
        const auto audible = [](std::int16_t sample) { return std::abs(sample) > 16; };
        const auto onset = std::find_if(from, played.end(), audible);
        QVERIFY2(onset != played.end(), "nothing reached the sound server");
        const auto end = std::find_if(played.rbegin(), played.rend(), audible).base();
        const double soundingSeconds = double(end - onset) / MonitorCapture::sampleRate;
        const double silentSeconds = double(played.end() - end) / MonitorCapture::sampleRate;
        // The call returns once the note has sounded out: much later means the player's own
        // end-of-song grace period, of most of a second, was waited for. The last sound reached
        // the recording no sooner than it was played, however busy the machine.
        const double returnedAfterSound =
            std::chrono::duration<double>(
                returned - capture_->arrivalOf(std::size_t(end - played.begin() - 1)))
                .count();
        QVERIFY2(returnedAfterSound < 0.5, qPrintable(QString::number(returnedAfterSound)));
        // A busy machine may starve the stream, and the server fills the gap with silence: the
        // note's length is what was heard, counted in stretches of 10 ms.
        constexpr std::ptrdiff_t stretch = MonitorCapture::sampleRate / 100;
        int heardStretches = 0;
        for (auto start = onset; start < end; start += std::min(stretch, end - start))
            heardStretches += std::any_of(start, start + std::min(stretch, end - start), audible);
        const double heardSeconds = heardStretches / 100.0;
        QVERIFY2(
            heardSeconds > 1.0 && heardSeconds < 1.5,
            qPrintable(
                QStringLiteral("heard for %1 s of %2 s").arg(heardSeconds).arg(soundingSeconds)));
        QVERIFY2(silentSeconds > 0.2, qPrintable(QString::number(silentSeconds)));
        std::vector<float> steady;
        for (auto sample = onset + MonitorCapture::sampleRate / 10;
             sample < onset + 3 * MonitorCapture::sampleRate / 10; ++sample)
            steady.push_back(float(*sample) / 32768.0f);
        const double frequency =
            estimateFundamental(steady, MonitorCapture::sampleRate, 50.0, 1500.0);
        const double cents =
            centsBetween(frequency, midiNoteFrequency(clefPitches()[0].midiNotes[7] + 1));
        QVERIFY2(std::abs(cents) < pitchToleranceCents,
                 qPrintable(QStringLiteral("%1 Hz is %2 cents off").arg(frequency).arg(cents)));

        // The end is told once the release that still rang has been played, and soon after: sooner
        // than the grace period, even when a busy machine delays it.
        QCOMPARE(started.size(), std::size_t(1));
        QCOMPARE(ended.size(), std::size_t(1));
        const double toldSeconds =
            std::chrono::duration<double>(ended.front() - started.front()).count();
        QVERIFY2(toldSeconds >= soundingSeconds && toldSeconds < soundingSeconds + 0.5,
                 qPrintable(QStringLiteral("told after %1 s, heard for %2 s")
                                .arg(toldSeconds)
                                .arg(soundingSeconds)));

        QProcess pactl;
        pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("short"),
                                              QStringLiteral("sink-inputs")});
        if (pactl.waitForFinished(5000) && pactl.exitCode() == 0)
            QVERIFY2(pactl.readAllStandardOutput().trimmed().isEmpty(),
                     "the audio stream is still open after the note");
    }

    // A phrase heard in ear training sounds its keys one after another at its pace, from the
    // first to the last; answers started without waiting return at once, and a later one cuts
    // the earlier off rather than following its whole length.
    void phraseAndStartedNotesThroughServer_data() {
        QTest::addColumn<bool>("phrase");
        QTest::newRow("a phrase of four at 0.6 s") << true;
        QTest::newRow("two answers 0.3 s apart") << false;
    }
    void phraseAndStartedNotesThroughServer() {
        QFETCH(bool, phrase);
        NEEDS_SERVER(pulse_ && pulse_->isRunning(), "pulseaudio would not start");
        MonitorCapture capture;
        NEEDS_SERVER(capture.isRunning(), "parec would not start");
        QTest::qWait(2100);
        FluidSynthPlayer player;
        NEEDS_SERVER(player.waitForSoundFont(), "no General MIDI SoundFont installed");
        const std::vector<int> keys = {60, 64, 67, 72};
        int firstKey = keys.front(), lastKey = keys.back();
        const MonitorCapture::Clock::time_point called = MonitorCapture::Clock::now();
        QElapsedTimer clock;
        clock.start();
        if (phrase) {
            player.playPitches(keys, 600);
            const qint64 milliseconds = clock.elapsed();
            QVERIFY2(milliseconds >= 2200, qPrintable(QString::number(milliseconds)));
        } else {
            firstKey = clefPitches()[0].midiNotes[4];
            lastKey = clefPitches()[0].midiNotes[7] + 1;
            player.startFileTransposed(noteFile("violin", 4), 0);
            const qint64 milliseconds = clock.elapsed();
            // A wait for the note would take its whole 1.3 s.
            QVERIFY2(milliseconds < 1000, qPrintable(QString::number(milliseconds)));
            QTest::qWait(300);
            player.startFileTransposed(noteFile("violin", 7), 1);
        }
        QTest::qWait(2500);
        capture.stop();

        const std::vector<std::int16_t>& played = capture.samples();
        const auto from = played.begin() + std::ptrdiff_t(capture.firstArrivedAfter(called));
        const auto audible = [](std::int16_t sample) { return std::abs(sample) > 16; };
        const auto onset = std::find_if(from, played.end(), audible);
        QVERIFY2(onset != played.end(), "nothing reached the sound server");
        const auto end = std::find_if(played.rbegin(), played.rend(), audible).base();
        const double soundingSeconds = double(end - onset) / MonitorCapture::sampleRate;
        // Four notes 0.6 s apart and a release; or the first answer's 0.3 s before the second's.
        QVERIFY2(phrase ? soundingSeconds > 2.2 : soundingSeconds < 2.2,
                 qPrintable(QString::number(soundingSeconds)));
        const auto keyAt = [&](std::vector<std::int16_t>::const_iterator start) {
            std::vector<float> steady;
            for (auto sample = start; sample < start + MonitorCapture::sampleRate / 5; ++sample)
                steady.push_back(float(*sample) / 32768.0f);
            return estimateFundamental(steady, MonitorCapture::sampleRate, 50.0, 1500.0);
        };
        for (const auto& [start, key] :
             {std::pair{onset + MonitorCapture::sampleRate / 20, firstKey},
              // Soon after the last note's onset: a piano's tone later misleads the reading.
              std::pair{end - MonitorCapture::sampleRate * (phrase ? 6 : 12) / 10, lastKey}}) {
            const double frequency = keyAt(start);
            const double cents = centsBetween(frequency, midiNoteFrequency(key));
            QVERIFY2(std::abs(cents) < pitchToleranceCents,
                     qPrintable(QStringLiteral("key %1 heard as %2 Hz, %3 cents off")
                                    .arg(key)
                                    .arg(frequency)
                                    .arg(cents)));
        }
    }
};

QTEST_MAIN(NotePlaybackTest)
#include "tst_noteplayback.moc"
