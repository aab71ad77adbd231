#include "training/NotePitches.h"

#include "training/ClefTable.h"
#include "training/NoteModel.h"

std::vector<ClefPitches> clefPitches() {
    std::vector<ClefPitches> clefs;
    for (const ClefRow& row : clefTable()) {
        if (!row.noteFolder)
            continue;
        ClefPitches pitches{row.clef, row.noteFolder, {}};
        for (int index = 0; index < NoteCount; ++index)
            pitches.midiNotes.at(std::size_t(index)) = clefNote(row.clef, index)->midiPitch();
        clefs.push_back(pitches);
    }
    return clefs;
}
