#pragma once

#include "training/KeySignature.h"

class SettingsStore;

// The settings of the dialog's group "Tonart": a fixed key or one drawn for each exercise from
// those with at most `mostAccidentals` signs, and the accidentals the tasks' notes may carry.
struct KeySettings {
    KeySignature key;
    bool eachExercise = false;
    int mostAccidentals = KeySignature::MaxAccidentals;
    OwnAccidentals accidentals = OwnAccidentals::None;

    friend bool operator==(const KeySettings&, const KeySettings&) = default;
};

// A value that is absent or not understood reads as the default: C major, no accidentals.
KeySettings readKeySettings(const SettingsStore& store);
// False when a value could not be written.
bool saveKeySettings(SettingsStore& store, const KeySettings& settings);
