#include "StderrCapture.h"

#include <cstdio>
#include <unistd.h>

StderrCapture::StderrCapture() {
    if (!file_.open())
        return;
    std::fflush(stderr);
    savedStderr_ = ::dup(STDERR_FILENO);
    ::dup2(file_.handle(), STDERR_FILENO);
}

StderrCapture::~StderrCapture() {
    if (savedStderr_ < 0)
        return;
    std::fflush(stderr);
    ::dup2(savedStderr_, STDERR_FILENO);
    ::close(savedStderr_);
}

QByteArray StderrCapture::text() {
    std::fflush(stderr);
    QFile written(file_.fileName());
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}
