#include "history/Schema.h"

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
    };
    return migrations;
}
