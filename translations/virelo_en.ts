<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="de_DE">
<context>
    <name>AnswerMarks</name>
    <message>
        <source>%1, gesucht</source>
        <translation>%1, asked</translation>
    </message>
    <message>
        <source>%1, gewählt, falsch</source>
        <translation>%1, chosen, wrong</translation>
    </message>
</context>
<context>
    <name>Clef</name>
    <message>
        <source>Violinschlüssel</source>
        <translation>Treble clef</translation>
    </message>
    <message>
        <source>wie im Violinschlüssel gelesen</source>
        <translation>read as in the treble clef</translation>
    </message>
    <message>
        <source>Bassschlüssel</source>
        <translation>Bass clef</translation>
    </message>
    <message>
        <source>wie im Bassschlüssel gelesen</source>
        <translation>read as in the bass clef</translation>
    </message>
    <message>
        <source>Altschlüssel</source>
        <translation>Alto clef</translation>
    </message>
    <message>
        <source>Altschlüssel (Bratsche)</source>
        <translation>Alto clef (viola)</translation>
    </message>
    <message>
        <source>Tenorschlüssel</source>
        <translation>Tenor clef</translation>
    </message>
    <message>
        <source>Tenorschlüssel (Violoncello, Fagott, Posaune)</source>
        <translation>Tenor clef (cello, bassoon, trombone)</translation>
    </message>
</context>
<context>
    <name>CsvExport</name>
    <message>
        <source>Zeitpunkt</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Schlüssel</source>
        <translation>Clef</translation>
    </message>
    <message>
        <source>Art</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>Eingabe</source>
        <translation>Input</translation>
    </message>
    <message>
        <source>Gefragt (Platz im Notensystem)</source>
        <translation>Asked (staff position)</translation>
    </message>
    <message>
        <source>Gewählt (Platz im Notensystem)</source>
        <translation>Chosen (staff position)</translation>
    </message>
    <message>
        <source>Richtig</source>
        <translation>Correct</translation>
    </message>
    <message>
        <source>Antwortzeit (ms)</source>
        <translation>Answer time (ms)</translation>
    </message>
    <message>
        <source>Übung</source>
        <translation>Exercise</translation>
    </message>
    <message>
        <source>Übungsbeginn</source>
        <translation>Exercise started</translation>
    </message>
    <message>
        <source>Tonraum</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>Zeit pro Note (s)</source>
        <translation>Time per note (s)</translation>
    </message>
    <message>
        <source>Note verschwindet nach (s)</source>
        <translation>Note disappears after (s)</translation>
    </message>
    <message>
        <source>Mit Keyboard</source>
        <translation>With keyboard</translation>
    </message>
    <message>
        <source>Übung beendet</source>
        <translation>Exercise finished</translation>
    </message>
    <message>
        <source>Fehler der Übung</source>
        <translation>Mistakes in the exercise</translation>
    </message>
    <message>
        <source>;</source>
        <comment>field separator</comment>
        <translation>,</translation>
    </message>
    <message>
        <source>Zeit abgelaufen</source>
        <translation>time ran out</translation>
    </message>
    <message>
        <source>Schaltfläche</source>
        <translation>button</translation>
    </message>
    <message>
        <source>Bildschirm-Keyboard</source>
        <translation>on-screen keyboard</translation>
    </message>
    <message>
        <source>Mikrofon</source>
        <translation>microphone</translation>
    </message>
    <message>
        <source>ja</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>abgebrochen</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>,</source>
        <comment>decimal mark</comment>
        <translation>.</translation>
    </message>
    <message>
        <source>nein</source>
        <translation>no</translation>
    </message>
    <message>
        <source>Gehör-Training</source>
        <translation>ear training</translation>
    </message>
    <message>
        <source>Lesen</source>
        <translation>reading</translation>
    </message>
    <message>
        <source>Der Übungsverlauf „%1“ kann nicht gelesen werden. „%2“ wurde nicht gespeichert.</source>
        <translation>Your practice record “%1” cannot be read. “%2” was not saved.</translation>
    </message>
    <message>
        <source>„%1“ konnte nicht gespeichert werden (%2).
Eine Datei, die schon so hieß, bleibt unverändert.</source>
        <translation>“%1” could not be saved (%2).
A file of that name already there is left as it was.</translation>
    </message>
    <message>
        <source>Tonart</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Gefragte Note</source>
        <translation>Asked note</translation>
    </message>
    <message>
        <source>Gewählte Note</source>
        <translation>Chosen note</translation>
    </message>
    <message>
        <source>Gefragte Tonhöhe (MIDI)</source>
        <translation>Asked pitch (MIDI)</translation>
    </message>
    <message>
        <source>Gewählte Tonhöhe (MIDI)</source>
        <translation>Chosen pitch (MIDI)</translation>
    </message>
    <message>
        <source>Schreibweise bewertet</source>
        <translation>Spelling judged</translation>
    </message>
    <message>
        <source>Noten pro Aufgabe</source>
        <translation>Notes per task</translation>
    </message>
    <message>
        <source>Note in der Aufgabe</source>
        <translation>Note in the task</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>Violinschlüssel</source>
        <translation>Treble clef</translation>
    </message>
    <message>
        <source>Bassschlüssel</source>
        <translation>Bass clef</translation>
    </message>
    <message>
        <source>Gehör-Training</source>
        <translation>Ear training</translation>
    </message>
    <message>
        <source>Übung abbrechen</source>
        <translation>Stop exercise</translation>
    </message>
    <message>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Statistik</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Ende</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Violinschlüssel:</source>
        <translation>Treble clef:</translation>
    </message>
    <message>
        <source>Bassschlüssel:</source>
        <translation>Bass clef:</translation>
    </message>
    <message>
        <source>Weitere Schlüssel…</source>
        <translation>More clefs…</translation>
    </message>
    <message>
        <source>Die nächste Antwort mit ♭ (Taste -)</source>
        <translation>The next answer with ♭ (key -)</translation>
    </message>
    <message>
        <source>Die nächste Antwort mit ♮ (Taste = oder 0)</source>
        <translation>The next answer with ♮ (key = or 0)</translation>
    </message>
    <message>
        <source>Die nächste Antwort mit ♯ (Taste + oder #)</source>
        <translation>The next answer with ♯ (key + or #)</translation>
    </message>
    <message>
        <source>Erniedrigungszeichen</source>
        <translation>Flat</translation>
    </message>
    <message>
        <source>Auflösungszeichen</source>
        <translation>Natural</translation>
    </message>
    <message>
        <source>Erhöhungszeichen</source>
        <translation>Sharp</translation>
    </message>
    <message>
        <source>%1 für die nächste Antwort</source>
        <translation>%1 for the next answer</translation>
    </message>
    <message>
        <source>verbleibende Zeit</source>
        <translation>Time left</translation>
    </message>
    <message>
        <source>Notenzeile, Aufgabe %1 von %2, %3</source>
        <translation>Staff, task %1 of %2, %3</translation>
    </message>
    <message>
        <source>Falsch: %1 gewählt, %2 gesucht</source>
        <translation>Wrong: %1 chosen, %2 asked</translation>
    </message>
</context>
<context>
    <name>HistoryReader</name>
    <message>
        <source>Der Übungsverlauf „%1“ kann nicht gelesen werden.</source>
        <translation>Your practice record “%1” cannot be read.</translation>
    </message>
</context>
<context>
    <name>HistoryStore</name>
    <message>
        <source>Der Übungsverlauf kann nicht gespeichert werden, weil „%1“ nicht beschrieben werden kann (Ordner schreibgeschützt oder voll).
Die Übungen laufen weiter, werden aber nicht aufgezeichnet.</source>
        <translation>Your practice record cannot be saved because “%1” cannot be written to (the folder is read-only or full).
You can go on practising, but your exercises will not be recorded.</translation>
    </message>
    <message>
        <source>Die Verlaufsdatei „%1“ war beschädigt. Sie wurde als „%2“ beiseitegelegt, und ein neuer Verlauf wurde begonnen.</source>
        <translation>The record file “%1” was damaged. It has been put aside as “%2”, and a new record has been started.</translation>
    </message>
    <message>
        <source>Die Verlaufsdatei „%1“ stammt von einer neueren Version des Programms.
Die Übungen laufen weiter, werden aber nicht aufgezeichnet.</source>
        <translation>The record file “%1” comes from a newer version of the program.
You can go on practising, but your exercises will not be recorded.</translation>
    </message>
</context>
<context>
    <name>KeySignature</name>
    <message>
        <source>%1-Dur / %2-Moll</source>
        <translation>%1 major / %2 minor</translation>
    </message>
    <message>
        <source>%1 (keine Vorzeichen)</source>
        <translation>%1 (no accidentals)</translation>
    </message>
    <message>
        <source>%1 (%2 %3)</source>
        <translation>%1 (%2 %3)</translation>
    </message>
</context>
<context>
    <name>LevelMeter</name>
    <message>
        <source>Mikrofonpegel</source>
        <translation>Microphone level</translation>
    </message>
</context>
<context>
    <name>MicrophoneAnswers</name>
    <message>
        <source>Das Mikrofon war während der Übung nicht erreichbar. Die Übung lief ohne Mikrofon.</source>
        <translation>The microphone could not be reached during the exercise. The exercise went on without it.</translation>
    </message>
</context>
<context>
    <name>MistakeNaming</name>
    <message>
        <source>Sekunde</source>
        <translation>a second</translation>
    </message>
    <message>
        <source>Terz</source>
        <translation>a third</translation>
    </message>
    <message>
        <source>Quarte</source>
        <translation>a fourth</translation>
    </message>
    <message>
        <source>Quinte</source>
        <translation>a fifth</translation>
    </message>
    <message>
        <source>Sexte</source>
        <translation>a sixth</translation>
    </message>
    <message>
        <source>Septime</source>
        <translation>a seventh</translation>
    </message>
    <message>
        <source>Oktave</source>
        <translation>an octave</translation>
    </message>
    <message>
        <source>None</source>
        <translation>a ninth</translation>
    </message>
    <message>
        <source>Dezime</source>
        <translation>a tenth</translation>
    </message>
    <message>
        <source>Undezime</source>
        <translation>an eleventh</translation>
    </message>
    <message>
        <source>Duodezime</source>
        <translation>a twelfth</translation>
    </message>
    <message>
        <source>Tredezime</source>
        <translation>a thirteenth</translation>
    </message>
    <message>
        <source>Quartdezime</source>
        <translation>a fourteenth</translation>
    </message>
    <message>
        <source>Doppeloktave</source>
        <translation>two octaves</translation>
    </message>
    <message>
        <source>Aufgabe %1: gesucht %2</source>
        <translation>Task %1: the note was %2</translation>
    </message>
    <message>
        <source>Aufgabe %1, Note %2: gesucht %3</source>
        <translation>Task %1, note %2: the note was %3</translation>
    </message>
    <message>
        <source> (Zeit vorbei)</source>
        <translation> (time ran out)</translation>
    </message>
    <message>
        <source>, gewählt %1 (eine %2 %3</source>
        <translation>, you chose %1 (%2 %3</translation>
    </message>
    <message>
        <source>zu hoch</source>
        <translation>too high</translation>
    </message>
    <message>
        <source>zu tief</source>
        <translation>too low</translation>
    </message>
    <message>
        <source>Oktave verwechselt: %1, Nachbarton: %2, anderer Schlüssel: %3, Zeit vorbei: %4, sonst: %5</source>
        <translation>Wrong octave: %1, neighbouring note: %2, other clef: %3, time ran out: %4, other: %5</translation>
    </message>
    <message>
        <source>Vorzeichen vergessen</source>
        <translation>accidental forgotten</translation>
    </message>
    <message>
        <source>falsches Vorzeichen</source>
        <translation>wrong accidental</translation>
    </message>
    <message>
        <source>enharmonisch verwechselt</source>
        <translation>enharmonic confusion</translation>
    </message>
    <message>
        <source>, gewählt %1 (%2)</source>
        <translation>, you chose %1 (%2)</translation>
    </message>
    <message>
        <source>, Vorzeichen vergessen: %1, falsches Vorzeichen: %2, enharmonisch verwechselt: %3</source>
        <translation>, accidental forgotten: %1, wrong accidental: %2, enharmonic confusion: %3</translation>
    </message>
</context>
<context>
    <name>RangeRule</name>
    <message>
        <source>Im %1 muss ein tiefster %2 ein höchster Ton ausgewählt werden.</source>
        <translation>%1: please tick a lowest %2 a highest note.</translation>
    </message>
    <message>
        <source>UND</source>
        <translation>AND</translation>
    </message>
    <message>
        <source>und</source>
        <translation>and</translation>
    </message>
</context>
<context>
    <name>ResultText</name>
    <message>
        <source>Du hast die Übung abgebrochen. Es erfolgt keine Wertung.</source>
        <translation>You stopped the exercise, so it is not marked.</translation>
    </message>
    <message>
        <source>Du hast von %1 Aufgaben %2 falsch gemacht.</source>
        <translation>You got %2 of %1 wrong.</translation>
    </message>
    <message>
        <source>Du hast von %1 Noten %2 falsch gemacht.</source>
        <translation>You got %2 of %1 notes wrong.</translation>
    </message>
    <message>
        <source>Zeit vorbei. Gesucht wurde: %1
( Leertaste drücken, um diese Meldung zu schließen )</source>
        <translation>Time is up. The note was: %1
( Press the space bar to close this message )</translation>
    </message>
</context>
<context>
    <name>StatisticsLauncher</name>
    <message>
        <source>Die Statistik kann nicht geöffnet werden:
%1</source>
        <translation>The statistics cannot be opened:
%1</translation>
    </message>
    <message>
        <source>Hinweis</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>Die Datei „%1“ fehlt oder kann nicht geladen werden.</source>
        <translation>The file “%1” is missing or cannot be loaded.</translation>
    </message>
    <message>
        <source>Die Datei „%1“ gehört zu einer anderen Version des Programms.</source>
        <translation>The file “%1” belongs to another version of the program.</translation>
    </message>
</context>
<context>
    <name>frmEinstellungen</name>
    <message>
        <source>„%1“ ist bei „%2“ keine gültige Zeit.
Bitte eine Zahl von 0 bis %3 Sekunden eingeben.</source>
        <translation>“%1” is not a valid time for “%2”.
Please enter a number of seconds from 0 to %3.</translation>
    </message>
    <message>
        <source>Die Zeiten konnten nicht gespeichert werden, weil die Datei „%1“ nicht beschrieben werden kann.
Die Übung läuft mit den eingegebenen Zeiten.</source>
        <translation>The times could not be saved because the file “%1” cannot be written to.
The exercise runs with the times you entered.</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Note verschwindet nach</source>
        <translation>Note disappears after</translation>
    </message>
    <message>
        <source>Zeit pro Note</source>
        <translation>Time per note</translation>
    </message>
    <message>
        <source>Hinweis</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Zeiten</source>
        <translation>Times</translation>
    </message>
    <message>
        <source>Zeit pro Note:</source>
        <translation>Time per note:</translation>
    </message>
    <message>
        <source>Note verschwindet nach:</source>
        <translation>Note disappears after:</translation>
    </message>
    <message>
        <source>Tonraum für Violinschlüssel  (nur tiefsten und höchsten Ton wählen!)</source>
        <translation>Range in the treble clef  (tick only the lowest and the highest note!)</translation>
    </message>
    <message>
        <source>Tonraum für Bassschlüssel  (nur tiefsten und höchsten Ton wählen!)</source>
        <translation>Range in the bass clef  (tick only the lowest and the highest note!)</translation>
    </message>
    <message>
        <source>Die Notenschrift Euterpe fehlt, ohne sie wären Vorzeichen unsichtbar: nur C-Dur.</source>
        <translation>The music font Euterpe is missing; without it accidentals would be invisible: C major only.</translation>
    </message>
    <message>
        <source>Übung starten</source>
        <translation>Start exercise</translation>
    </message>
    <message>
        <source>Übung mit Keyboard starten</source>
        <translation>Start exercise with keyboard</translation>
    </message>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Mit Instrument oder Stimme antworten (Mikrofon)</source>
        <translation>Answer by playing or singing (microphone)</translation>
    </message>
    <message>
        <source>Oktave frei (z. B. Männerstimme im Violinschlüssel)</source>
        <translation>Any octave (e.g. a man’s voice in the treble clef)</translation>
    </message>
    <message>
        <source>Schwache Noten öfter üben</source>
        <translation>Practise weak notes more often</translation>
    </message>
    <message>
        <source>Oktave tippen</source>
        <translation>Type the octave</translation>
    </message>
    <message>
        <source>Getippte Antworten nennen die Oktave: c&apos; als c und dann &apos;, oder c1; sonst gilt der Buchstabe allein</source>
        <translation>Typed answers name the octave: c&apos; as c and then &apos;, or C4; otherwise the letter alone answers</translation>
    </message>
    <message>
        <source>Sprache und Notennamen</source>
        <translation>Language and note names</translation>
    </message>
    <message>
        <source>Sprache:</source>
        <translation>Language:</translation>
    </message>
    <message>
        <source>Systemsprache</source>
        <translation>System language</translation>
    </message>
    <message>
        <source>Deutsch</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Gilt ab dem nächsten Start.</source>
        <translation>Applies from the next start.</translation>
    </message>
    <message>
        <source>Notennamen:</source>
        <translation>Note names:</translation>
    </message>
    <message>
        <source>deutsch (c d e f g a h, b)</source>
        <translation>German (c d e f g a h, b)</translation>
    </message>
    <message>
        <source>englisch (C D E F G A B)</source>
        <translation>English (C D E F G A B)</translation>
    </message>
    <message>
        <source>Solmisation (do re mi fa sol la si)</source>
        <translation>Solfège (do re mi fa sol la si)</translation>
    </message>
    <message>
        <source>Oktaven:</source>
        <translation>Octaves:</translation>
    </message>
    <message>
        <source>Helmholtz (c&apos;, c&apos;&apos;)</source>
        <translation>Helmholtz (c&apos;, c&apos;&apos;)</translation>
    </message>
    <message>
        <source>wissenschaftlich (C4, C5)</source>
        <translation>Scientific (C4, C5)</translation>
    </message>
    <message>
        <source>Kein Mikrofon gefunden</source>
        <translation>No microphone found</translation>
    </message>
    <message>
        <source>Schlüssel</source>
        <translation>Clef</translation>
    </message>
    <message>
        <source>Gehör-Training</source>
        <translation>Ear training</translation>
    </message>
    <message>
        <source>Tonraum für %1  (nur tiefsten und höchsten Ton wählen!)</source>
        <translation>Range: %1  (tick only the lowest and the highest note!)</translation>
    </message>
    <message>
        <source>jede Übung eine andere</source>
        <translation>a different one each exercise</translation>
    </message>
    <message>
        <source>Tonart und Versetzungszeichen</source>
        <translation>Key and accidentals</translation>
    </message>
    <message>
        <source>Tonart:</source>
        <translation>Key:</translation>
    </message>
    <message>
        <source>höchstens:</source>
        <translation>at most:</translation>
    </message>
    <message>
        <source>Versetzungszeichen:</source>
        <translation>Accidentals:</translation>
    </message>
    <message>
        <source>keine</source>
        <translation>none</translation>
    </message>
    <message>
        <source>♯ und ♭</source>
        <translation>♯ and ♭</translation>
    </message>
    <message>
        <source>Noten pro Aufgabe:</source>
        <translation>Notes per task:</translation>
    </message>
    <message>
        <source>Hoher Kontrast</source>
        <translation>High contrast</translation>
    </message>
    <message>
        <source>Schwarz auf Weiß, dicke Ränder der Notenknöpfe, dunkleres Rot und Grün</source>
        <translation>Black on white, thick borders on the note buttons, darker red and green</translation>
    </message>
    <message>
        <source>Mit 4 oder 8 ist jede Aufgabe eine Phrase: ihre Noten von links nach rechts lesen und der Reihe nach beantworten</source>
        <translation>With 4 or 8, each task is a phrase: read its notes from left to right and answer them in order</translation>
    </message>
</context>
<context>
    <name>frmHilfe</name>
    <message>
        <source>Hilfe</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Schließt den Dialog</source>
        <translation>Closes this window</translation>
    </message>
    <message>
        <source>Hilfe &amp;drucken</source>
        <translation>&amp;Print help</translation>
    </message>
    <message>
        <source>Violin- und Bassschlüssel</source>
        <translation>Treble and bass clefs</translation>
    </message>
    <message>
        <source>Alt- und Tenorschlüssel</source>
        <translation>Alto and tenor clefs</translation>
    </message>
</context>
<context>
    <name>frmInfo</name>
    <message>
        <source>readme.txt</source>
        <translation>readme-en.txt</translation>
    </message>
    <message>
        <source>Die Datei „%1“ fehlt im Programmordner:
%2</source>
        <translation>The file “%1” is missing from the program folder:
%2</translation>
    </message>
    <message>
        <source>Die Datei „%1“ konnte nicht geöffnet werden. Es ist kein Programm eingerichtet, das Textdateien anzeigt.
%2</source>
        <translation>The file “%1” could not be opened. No program is set up to show text files.
%2</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Support:</source>
        <translation>Support:</translation>
    </message>
    <message>
        <source>Vertrieb:</source>
        <translation>Sales:</translation>
    </message>
    <message>
        <source>weitere Informationen und Bestellung:</source>
        <translation>more information and orders:</translation>
    </message>
    <message>
        <source>Readme.txt</source>
        <translation>Readme</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>frmKeyboard</name>
    <message>
        <source>Keyboard</source>
        <translation>Keyboard</translation>
    </message>
    <message>
        <source>stumme Taste</source>
        <translation>silent key</translation>
    </message>
    <message>
        <source>%1 oder %2</source>
        <translation>%1 or %2</translation>
    </message>
</context>
<context>
    <name>frmStatistik</name>
    <message>
        <source>Speichern als CSV</source>
        <translation>Saving as CSV</translation>
    </message>
    <message>
        <source>A&amp;bbrechen</source>
        <translation>Ca&amp;ncel</translation>
    </message>
    <message>
        <source>Speichern als CSV abbrechen</source>
        <translation>Cancel saving as CSV</translation>
    </message>
    <message>
        <source>falsch oder Zeit abgelaufen (%)</source>
        <translation>wrong or time ran out (%)</translation>
    </message>
    <message>
        <source>Median der Antwortzeit (s)</source>
        <translation>median answer time (s)</translation>
    </message>
    <message>
        <source>Fehler</source>
        <translation>Mistakes</translation>
    </message>
    <message>
        <source>dd.MM.yy</source>
        <translation>d MMM yy</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>Häufigste Verwechslungen:</source>
        <translation>Most frequent mix-ups:</translation>
    </message>
    <message>
        <source>%1 statt %2: %3 ×</source>
        <translation>%1 instead of %2: %3 ×</translation>
    </message>
    <message>
        <source>keine</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Übungen: %1
Aufgaben: %2 (falsch: %3, Zeit abgelaufen: %4)
Übungszeit: %5</source>
        <translation>Exercises: %1
Tasks: %2 (wrong: %3, time ran out: %4)
Time practised: %5</translation>
    </message>
    <message>
        <source>Als CSV speichern</source>
        <translation>Save as CSV</translation>
    </message>
    <message>
        <source>Verlauf.csv</source>
        <translation>practice-record.csv</translation>
    </message>
    <message>
        <source>CSV-Dateien (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Verlauf löschen</source>
        <translation>Delete record</translation>
    </message>
    <message>
        <source>Den ganzen Übungsverlauf löschen?
Die Einstellungen bleiben erhalten.</source>
        <translation>Delete your whole practice record?
Your settings are kept.</translation>
    </message>
    <message>
        <source>Statistik</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Lesen</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>Gehör-Training</source>
        <translation>Ear training</translation>
    </message>
    <message>
        <source>beide</source>
        <translation>both</translation>
    </message>
    <message>
        <source>7 Tage</source>
        <translation>7 days</translation>
    </message>
    <message>
        <source>30 Tage</source>
        <translation>30 days</translation>
    </message>
    <message>
        <source>alles</source>
        <translation>all time</translation>
    </message>
    <message>
        <source>&amp;Schlüssel:</source>
        <translation>&amp;Clef:</translation>
    </message>
    <message>
        <source>&amp;Art:</source>
        <translation>&amp;Mode:</translation>
    </message>
    <message>
        <source>&amp;Zeitraum:</source>
        <translation>&amp;Period:</translation>
    </message>
    <message>
        <source>Fehler je Note</source>
        <translation>Mistakes per note</translation>
    </message>
    <message>
        <source>Anteil der Fehler und Median der Antwortzeit je Note</source>
        <translation>Share of mistakes and median answer time per note</translation>
    </message>
    <message>
        <source>Fehler je beendeter Übung</source>
        <translation>Mistakes per finished exercise</translation>
    </message>
    <message>
        <source>Fehler je beendeter Übung im Lauf der Zeit</source>
        <translation>Mistakes per finished exercise over time</translation>
    </message>
    <message>
        <source>dd.MM.yy hh:mm</source>
        <translation>d MMM yy hh:mm</translation>
    </message>
    <message numerus="yes">
        <source>Übung %1 vom %2: %n Fehler</source>
        <translation>
            <numerusform>Exercise %1 on %2: %n mistake</numerusform>
            <numerusform>Exercise %1 on %2: %n mistakes</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: %2 Fehler im Mittel von %3 Übungen</source>
        <translation>%1: %2 mistakes on average over %3 exercises</translation>
    </message>
    <message>
        <source>Fehler im Mittel je Tag</source>
        <translation>Average mistakes per day</translation>
    </message>
    <message>
        <source>Mittel über %1 Übungen</source>
        <translation>Average over %1 exercises</translation>
    </message>
    <message>
        <source>Übung (%1)</source>
        <translation>Exercise (%1)</translation>
    </message>
    <message>
        <source>Der Übungsverlauf „%1“ wird gerade von einem anderen Programm benutzt und wurde nicht gelöscht. Bitte später noch einmal versuchen.</source>
        <translation>Your practice record “%1” is in use by another program and was not deleted. Please try again later.</translation>
    </message>
    <message>
        <source>Der Übungsverlauf „%1“ kann nicht geändert werden und wurde nicht gelöscht.</source>
        <translation>Your practice record “%1” cannot be changed and was not deleted.</translation>
    </message>
    <message>
        <source>In dieser Auswahl gibt es noch keine Aufgaben.</source>
        <translation>There are no tasks in this selection yet.</translation>
    </message>
    <message>
        <source>In dieser Auswahl gibt es noch keine beendete Übung.</source>
        <translation>There is no finished exercise in this selection yet.</translation>
    </message>
    <message>
        <source>Als &amp;CSV speichern…</source>
        <translation>Save as &amp;CSV…</translation>
    </message>
    <message>
        <source>&amp;Verlauf löschen…</source>
        <translation>&amp;Delete record…</translation>
    </message>
    <message>
        <source>Sch&amp;ließen</source>
        <translation>C&amp;lose</translation>
    </message>
    <message>
        <source>Alle Tonarten</source>
        <translation>All keys</translation>
    </message>
    <message>
        <source>Einzelne Noten und Phrasen</source>
        <translation>Single notes and phrases</translation>
    </message>
    <message>
        <source>Nur einzelne Noten</source>
        <translation>Single notes only</translation>
    </message>
    <message>
        <source>Nur Phrasen</source>
        <translation>Phrases only</translation>
    </message>
    <message>
        <source>&amp;Noten je Aufgabe:</source>
        <translation>&amp;Notes per task:</translation>
    </message>
    <message>
        <source>&amp;Tonart:</source>
        <translation>&amp;Key:</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Hinweis</source>
        <translation>Notice</translation>
    </message>
</context>
</TS>
