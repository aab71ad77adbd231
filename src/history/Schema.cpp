#include "history/Schema.h"

#include "training/ClefTable.h"
#include "training/NoteModel.h"

namespace {

// Every clef's natural notes by index, for rows written before the spelled notes were kept.
QString naturalNoteRows() {
    QStringList rows;
    for (const ClefRow& row : clefTable())
        for (int index = 0; index < NoteCount; ++index) {
            const SpelledNote note = *clefNote(row.clef, index);
            rows.append(QStringLiteral("('%1', %2, %3, %4)")
                            .arg(QLatin1String(row.recordKey))
                            .arg(index)
                            .arg(note.step)
                            .arg(note.midiPitch()));
        }
    return QStringLiteral("INSERT INTO natural_note VALUES ") + rows.join(QStringLiteral(", "));
}

// The natural note of a task's index `column` in its exercise's clef, as `field` (step or pitch).
QString naturalOf(const char* column, const char* field) {
    return QStringLiteral("(SELECT n.%2 FROM natural_note n JOIN exercise e ON n.clef = e.clef"
                          " WHERE e.id = task.exercise_id AND n.idx = task.%1)")
        .arg(QLatin1String(column), QLatin1String(field));
}

} // namespace

// Times are milliseconds since 1970 (UTC). A NULL outcome is an exercise cut off by a crash.
const std::vector<QStringList>& schemaMigrations() {
    static const std::vector<QStringList> migrations = {
        {QStringLiteral("CREATE TABLE exercise ("
                        " id INTEGER PRIMARY KEY,"
                        " started_at INTEGER NOT NULL,"
                        " clef TEXT NOT NULL CHECK (clef IN ('Violin', 'Bass')),"
                        " ear_training INTEGER NOT NULL,"
                        " lowest INTEGER NOT NULL,"
                        " highest INTEGER NOT NULL,"
                        " note_shown_ms INTEGER NOT NULL,"
                        " time_per_note_cs INTEGER NOT NULL,"
                        " keyboard_practice INTEGER NOT NULL,"
                        " outcome TEXT CHECK (outcome IN ('finished', 'aborted')),"
                        " errors INTEGER NOT NULL DEFAULT 0)"),
         QStringLiteral("CREATE TABLE task ("
                        " id INTEGER PRIMARY KEY,"
                        " exercise_id INTEGER NOT NULL REFERENCES exercise(id) ON DELETE CASCADE,"
                        " number INTEGER NOT NULL,"
                        " ended_at INTEGER NOT NULL,"
                        " asked INTEGER NOT NULL,"
                        " chosen INTEGER,"
                        " correct INTEGER NOT NULL,"
                        " answer_ms INTEGER NOT NULL,"
                        " input TEXT CHECK (input IN"
                        " ('buttons', 'screen_keyboard', 'midi', 'microphone')))"),
         // Covers what the statistics read of a task.
         QStringLiteral("CREATE INDEX task_by_exercise"
                        " ON task(exercise_id, asked, chosen, correct, answer_ms)"),
         QStringLiteral(
             "CREATE INDEX exercise_by_mode ON exercise(clef, ear_training, started_at)")},
        // Each note's latest tasks, read newest first when an exercise starts.
        {QStringLiteral("CREATE INDEX task_by_note ON task(asked)")},
        // The alto and tenor clefs. SQLite cannot widen a CHECK in place: the table is made anew
        // under another name and takes the old one's; foreign keys are off while it is, so no
        // task goes with the old table.
        {QStringLiteral("CREATE TABLE exercise_with_c_clefs ("
                        " id INTEGER PRIMARY KEY,"
                        " started_at INTEGER NOT NULL,"
                        " clef TEXT NOT NULL CHECK (clef IN ('Violin', 'Bass', 'Alto', 'Tenor')),"
                        " ear_training INTEGER NOT NULL,"
                        " lowest INTEGER NOT NULL,"
                        " highest INTEGER NOT NULL,"
                        " note_shown_ms INTEGER NOT NULL,"
                        " time_per_note_cs INTEGER NOT NULL,"
                        " keyboard_practice INTEGER NOT NULL,"
                        " outcome TEXT CHECK (outcome IN ('finished', 'aborted')),"
                        " errors INTEGER NOT NULL DEFAULT 0)"),
         QStringLiteral("INSERT INTO exercise_with_c_clefs SELECT * FROM exercise"),
         QStringLiteral("DROP TABLE exercise"),
         QStringLiteral("ALTER TABLE exercise_with_c_clefs RENAME TO exercise"),
         QStringLiteral(
             "CREATE INDEX exercise_by_mode ON exercise(clef, ear_training, started_at)")},
        // Keys: each task's key, the notes asked and chosen as written (step from C0 and
        // alteration) and as sounded (MIDI), and whether its input could judge the spelling.
        // Earlier rows are C major's natural notes of their clef, all judged as written.
        {QStringLiteral("ALTER TABLE task ADD COLUMN key_fifths INTEGER NOT NULL DEFAULT 0"
                        " CHECK (key_fifths BETWEEN -7 AND 7)"),
         QStringLiteral("ALTER TABLE task ADD COLUMN asked_step INTEGER"),
         QStringLiteral("ALTER TABLE task ADD COLUMN asked_alteration INTEGER NOT NULL DEFAULT 0"),
         QStringLiteral("ALTER TABLE task ADD COLUMN asked_pitch INTEGER"),
         QStringLiteral("ALTER TABLE task ADD COLUMN chosen_step INTEGER"),
         QStringLiteral("ALTER TABLE task ADD COLUMN chosen_alteration INTEGER"),
         QStringLiteral("ALTER TABLE task ADD COLUMN chosen_pitch INTEGER"),
         QStringLiteral("ALTER TABLE task ADD COLUMN spelling_judged INTEGER NOT NULL DEFAULT 1"),
         QStringLiteral("CREATE TEMP TABLE natural_note (clef TEXT, idx INTEGER, step INTEGER,"
                        " pitch INTEGER, PRIMARY KEY (clef, idx))"),
         naturalNoteRows(),
         QStringLiteral("UPDATE task SET asked_step = %1, asked_pitch = %2, chosen_step = %3,"
                        " chosen_alteration = CASE WHEN chosen IS NULL THEN NULL ELSE 0 END,"
                        " chosen_pitch = %4")
             .arg(naturalOf("asked", "step"), naturalOf("asked", "pitch"),
                  naturalOf("chosen", "step"), naturalOf("chosen", "pitch")),
         QStringLiteral("DROP TABLE natural_note"),
         // Weak notes are read by the spelled note asked.
         QStringLiteral("DROP INDEX task_by_note"),
         QStringLiteral("CREATE INDEX task_by_spelled_note ON task(asked_step, asked_alteration)")},
        // Only buttons outside ear training judge a spelling: earlier rows in C major said so of
        // every input, of ear training and of time-outs.
        {QStringLiteral("UPDATE task SET spelling_judged = 0 WHERE input IS NULL"
                        " OR input <> 'buttons'"
                        " OR exercise_id IN (SELECT id FROM exercise WHERE ear_training)")},
        // Each row's id from when its exercise or task was recorded (16 bytes), so that rows
        // kept beside the record are skipped when written again. Earlier rows have none.
        {QStringLiteral("ALTER TABLE exercise ADD COLUMN row_id BLOB"),
         QStringLiteral("ALTER TABLE task ADD COLUMN row_id BLOB"),
         QStringLiteral("CREATE UNIQUE INDEX exercise_by_row_id ON exercise(row_id)"),
         QStringLiteral("CREATE UNIQUE INDEX task_by_row_id ON task(row_id)")},
        // Each task's clef and mode beside its exercise's, so that a note's latest tasks in a
        // clef and mode are read from one index: filtered after the join, a clef seldom
        // practised read every task of the note.
        {QStringLiteral("ALTER TABLE task ADD COLUMN clef TEXT"),
         QStringLiteral("ALTER TABLE task ADD COLUMN ear_training INTEGER"),
         QStringLiteral("UPDATE task SET (clef, ear_training) = (SELECT e.clef, e.ear_training"
                        " FROM exercise e WHERE e.id = task.exercise_id)"),
         QStringLiteral("DROP INDEX task_by_spelled_note"),
         QStringLiteral("CREATE INDEX task_by_mode_and_note"
                        " ON task(clef, ear_training, asked_step, asked_alteration)")},
        // Phrases: an exercise's notes per task, and each note's place in its task's phrase.
        // Earlier rows are single notes.
        {QStringLiteral("ALTER TABLE exercise ADD COLUMN notes_per_task INTEGER NOT NULL DEFAULT 1"
                        " CHECK (notes_per_task IN (1, 4, 8))"),
         QStringLiteral("ALTER TABLE task ADD COLUMN place INTEGER NOT NULL DEFAULT 0"
                        " CHECK (place >= 0)")},
    };
    return migrations;
}
