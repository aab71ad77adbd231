#pragma once

#include <QLoggingCategory>

// Why there is no sound; silent unless switched on, e.g. QT_LOGGING_RULES="virelo.sound=true".
Q_DECLARE_LOGGING_CATEGORY(soundLog)
