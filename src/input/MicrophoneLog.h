#pragma once

#include <QLoggingCategory>

// Why the microphone does not answer; silent unless switched on, e.g.
// QT_LOGGING_RULES="virelo.microphone=true".
Q_DECLARE_LOGGING_CATEGORY(microphoneLog)
