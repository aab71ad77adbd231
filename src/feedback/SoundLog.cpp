#include "feedback/SoundLog.h"

Q_LOGGING_CATEGORY(soundLog, "virelo.sound", QtWarningMsg)
