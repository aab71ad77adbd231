#include "input/MicrophoneLog.h"

Q_LOGGING_CATEGORY(microphoneLog, "virelo.microphone", QtWarningMsg)
