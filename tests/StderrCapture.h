#pragma once

#include <QByteArray>
#include <QTemporaryFile>

// Diverts the process's standard error, including what libraries and their threads write to it,
// into a file for as long as the object lives.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();

    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;

    // Everything written so far.
    QByteArray text();

private:
    QTemporaryFile file_;
    int savedStderr_ = -1;
};
