#pragma once

#include <QWidget>

// A bar that shows how loud the microphone hears the learner, with a mark from where the level
// is good for naming notes.
class LevelMeter : public QWidget {
    Q_OBJECT

public:
    static constexpr float floorDb = -60.0f;
    static constexpr float goodDb = -30.0f;

    explicit LevelMeter(QWidget* parent = nullptr);

    // In dB below full scale.
    void setLevel(float db);
    float level() const { return level_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float level_ = floorDb;
};
