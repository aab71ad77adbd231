#include "input/MidiLog.h"

Q_LOGGING_CATEGORY(midiLog, "virelo.midi", QtWarningMsg)
