// A chart view the mouse can zoom and pan: drag a rectangle to zoom into it,
// turn the wheel to zoom the horizontal axis about the pointer, drag with the
// right or middle button (or with Shift) to pan, double-click to go back.
// Whoever owns the chart hears when the user moved away from its own ranges
// or asked for them back, since only it knows what they are.
#pragma once

#include <QChartView>
#include <QPoint>

class QLabel;

namespace brevanto {

class ZoomChartView : public QChartView {
    Q_OBJECT

public:
    explicit ZoomChartView(QWidget* parent = nullptr);

    // One line over the middle of the plot, saying why the chart is empty;
    // an empty text takes it away.
    void setNote(const QString& note);
    QString note() const;
    // As a double-click does.
    void resetZoom();

signals:
    // The user zoomed or panned.
    void zoomed();
    // The user asked for the whole chart again.
    void zoomResetRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static bool startsPan(const QMouseEvent& event);
    void placeNote();

    QLabel* m_note = nullptr;
    bool m_panning = false;
    bool m_rubberBandDrag = false;
    QPoint m_lastPan;
};

}  // namespace brevanto
