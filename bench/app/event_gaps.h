#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

namespace vernalith::bench {

// The longest time the window's thread went without turning its event loop (so without repainting or
// taking a click): a zero-interval timer notes every turn between Start and Stop, and the stretch from
// the last turn to Stop counts too.
class EventGaps {
public:
    EventGaps() {
        ticker_.setInterval(0);
        QObject::connect(&ticker_, &QTimer::timeout, &ticker_, [this] { Note(); });
    }

    void Start() {
        longest_ = 0;
        last_ = 0;
        clock_.start();
        ticker_.start();
    }

    // Ends the recording; gives the longest gap in milliseconds.
    double Stop() {
        Note();
        ticker_.stop();
        return longest_ / 1e6;
    }

    qint64 ElapsedMs() const { return clock_.elapsed(); }

private:
    void Note() {
        const qint64 now = clock_.nsecsElapsed();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
    }

    QTimer ticker_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

}  // namespace vernalith::bench
