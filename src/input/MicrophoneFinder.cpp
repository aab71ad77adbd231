#include "input/MicrophoneFinder.h"

#include "input/Microphone.h"

#include <mutex>
#include <thread>

struct MicrophoneFinder::Reply {
    std::mutex mutex;
    MicrophoneFinder* finder = nullptr; // under `mutex`; nullptr once it has gone
};

MicrophoneFinder::MicrophoneFinder(QObject* parent)
    : QObject(parent), reply_(std::make_shared<Reply>()) {
    reply_->finder = this;
}

MicrophoneFinder::~MicrophoneFinder() {
    const std::lock_guard lock(reply_->mutex);
    reply_->finder = nullptr;
}

void MicrophoneFinder::search() {
    if (searching_)
        return;
    searching_ = true;
    std::thread([reply = reply_] {
        const bool found = Microphone::found();
        const std::lock_guard lock(reply->mutex);
        if (MicrophoneFinder* finder = reply->finder)
            QMetaObject::invokeMethod(
                finder, [finder, found] { finder->take(found); }, Qt::QueuedConnection);
    }).detach();
}

void MicrophoneFinder::ask(QObject* receiver, std::function<void(bool found)> answer) {
    if (found_)
        answer(*found_);
    connect(this, &MicrophoneFinder::answered, receiver, std::move(answer));
    search();
}

void MicrophoneFinder::take(bool found) {
    searching_ = false;
    found_ = found;
    emit answered(found);
}
