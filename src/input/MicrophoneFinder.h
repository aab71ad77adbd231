#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

// Whether the system has a recording device, asked on a thread of its own: a sound server that
// hangs would hold the asker for a minute. Answers come on this object's thread.
class MicrophoneFinder : public QObject {
    Q_OBJECT

public:
    explicit MicrophoneFinder(QObject* parent = nullptr);
    ~MicrophoneFinder() override;

    // Starts a search unless one is under way; never waits.
    void search();
    // Tells `answer` what is known now, if anything, and every later answer while `receiver`
    // lives, and starts a search.
    void ask(QObject* receiver, std::function<void(bool found)> answer);
    // The last answer; nothing before the first.
    std::optional<bool> found() const { return found_; }

signals:
    void answered(bool found);

private:
    // Where a search's answer goes; shared with the searching thread, which may outlive this.
    struct Reply;

    void take(bool found);

    std::shared_ptr<Reply> reply_;
    bool searching_ = false;
    std::optional<bool> found_;
};
