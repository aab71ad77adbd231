#pragma once

class SettingsStore;

// High contrast: black on white with thick button borders and a darker red and green. Off
// unless stored as on.
bool readHighContrast(const SettingsStore& store);
// False when the value could not be written.
bool saveHighContrast(SettingsStore& store, bool on);
