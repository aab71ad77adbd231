#pragma once

#include <QTest>

// ./test installs every server, tool and SoundFont the suites start: there, one that is missing
// or will not start fails the suite with the reason. A hand run without them skips what needs it.
inline bool neededServersRequired() {
    return qEnvironmentVariableIsSet("VIRELO_REQUIRE_TEST_SERVERS");
}

#define NEEDS_SERVER(available, reason)                                                            \
    do {                                                                                           \
        if (!(available)) {                                                                        \
            if (neededServersRequired())                                                           \
                QFAIL(reason);                                                                     \
            QSKIP(reason);                                                                         \
        }                                                                                          \
    } while (false)
