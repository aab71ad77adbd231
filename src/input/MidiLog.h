#pragma once

#include <QLoggingCategory>

// Why no MIDI keyboard answers; silent unless switched on, e.g.
// QT_LOGGING_RULES="virelo.midi=true".
Q_DECLARE_LOGGING_CATEGORY(midiLog)
