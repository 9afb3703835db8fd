// A redraw that follows its data without running for every change: the
// first change after a quiet spell is drawn on the next turn of the event
// loop, with everything else that changed in that turn; later ones wait
// until the interval since that drawing is over and are drawn once, all
// together. A sample a second redraws once, not once per curve.
#pragma once

#include <functional>

#include <QObject>
#include <QTimer>

namespace brevanto {

class RefreshThrottle : public QObject {
    Q_OBJECT

public:
    RefreshThrottle(int intervalMs, std::function<void()> run, QObject* parent = nullptr);

    void request();

private:
    void runAndHold();
    void holdOver();

    std::function<void()> m_run;
    QTimer m_hold;
    bool m_queued = false;
    bool m_pending = false;
};

}  // namespace brevanto
