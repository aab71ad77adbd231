#pragma once

#include <cstdint>

// What the settings dialog hands to an exercise when it starts one.
struct ExerciseSettings {
    std::int16_t NiedrigsterTon = 0;
    std::int16_t HöchsterTon = 0;
    std::int16_t ZeitWeg = 0;    // milliseconds
    std::int16_t ZeitVorbei = 0; // hundredths of a second
    bool UebenMitKeyboard = false;
    bool SchwacheNotenOefter = false; // draw by the notes' records
};
