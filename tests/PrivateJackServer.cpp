#include "PrivateJackServer.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QHashFunctions>
#include <QStandardPaths>
#include <QThread>

#include <jack/jack.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int startMilliseconds = 10000;
constexpr int clientTimeoutMilliseconds = 10000;
constexpr int stopMilliseconds = 3000;

void ignoreJackMessage(const char*) {}

bool serverAnswers() {
    jack_client_t* probe = jack_client_open("probe", JackNoStartServer, nullptr);
    if (!probe)
        return false;
    jack_client_close(probe);
    return true;
}

} // namespace

PrivateJackServer::PrivateJackServer(int periodFrames) {
    if (QStandardPaths::findExecutable(QStringLiteral("jackd")).isEmpty())
        return;
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QString name =
        QStringLiteral("virelo-test-%1-%2").arg(::getuid()).arg(qHash(program), 0, 16);
    qputenv("JACK_DEFAULT_SERVER", name.toLocal8Bit());
    // Only a client's complaints while the server comes up.
    jack_set_error_function(ignoreJackMessage);
    jack_set_info_function(ignoreJackMessage);
    jackd_.setStandardOutputFile(QProcess::nullDevice());
    jackd_.setStandardErrorFile(QProcess::nullDevice());
    jackd_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    jackd_.start(QStringLiteral("jackd"),
                 {QStringLiteral("--no-realtime"), QStringLiteral("--sync"),
                  QStringLiteral("--name"), name, QStringLiteral("--timeout"),
                  QString::number(clientTimeoutMilliseconds), QStringLiteral("-d"),
                  QStringLiteral("dummy"), QStringLiteral("-r"), QStringLiteral("48000"),
                  QStringLiteral("-p"), QString::number(periodFrames)});
    if (!jackd_.waitForStarted())
        return;
    const QDeadlineTimer deadline(startMilliseconds);
    while (!deadline.hasExpired() && jackd_.state() == QProcess::Running) {
        if (serverAnswers()) {
            running_ = true;
            return;
        }
        QThread::msleep(50);
    }
}

void PrivateJackServer::hang() {
    if (jackd_.state() == QProcess::Running)
        ::kill(pid_t(jackd_.processId()), SIGSTOP);
}

PrivateJackServer::~PrivateJackServer() {
    if (jackd_.state() != QProcess::NotRunning) {
        ::kill(pid_t(jackd_.processId()), SIGCONT);
        jackd_.terminate();
        if (!jackd_.waitForFinished(stopMilliseconds)) {
            jackd_.kill();
            jackd_.waitForFinished(stopMilliseconds);
        }
    }
    qunsetenv("JACK_DEFAULT_SERVER");
}
