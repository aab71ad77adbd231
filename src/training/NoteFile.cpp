#include "training/NoteFile.h"

#include "training/ClefTable.h"
#include "training/NoteModel.h"
#include "training/NotePitches.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// The folder and number of a note file that sounds `pitch`, the clef's own folder first.
std::optional<std::pair<std::string_view, int>> fileOfPitch(const ClefRow& row, int pitch) {
    std::optional<std::pair<std::string_view, int>> found;
    for (const ClefPitches& files : clefPitches()) {
        const auto at = std::find(files.midiNotes.begin(), files.midiNotes.end(), pitch);
        if (at == files.midiNotes.end())
            continue;
        const std::pair<std::string_view, int> file{files.folder,
                                                    int(at - files.midiNotes.begin())};
        if (row.noteFolder && files.folder == row.noteFolder)
            return file;
        if (!found)
            found = file;
    }
    return found;
}

} // namespace

// A clef without files of its own borrows those of a described clef that sound the same pitch:
// every alto and tenor note lies within F2..F5, which the two folders cover.
QString noteFile(const QString& programDir, Clef clef, int note) {
    const ClefRow* row = clefRow(clef);
    const std::optional<SpelledNote> spelled = clefNote(clef, note);
    if (!row || !spelled)
        return {};
    const auto file = fileOfPitch(*row, spelled->midiPitch());
    if (!file)
        return {};
    return programDir + QStringLiteral("/sound/") + QString::fromLatin1(file->first) +
           QLatin1Char('/') + QString::number(file->second) + QStringLiteral(".mid");
}
