#include "ui/zoomchartview.h"

#include <QLabel>
#include <QMouseEvent>
#include <QWheelEvent>

#include "ui/chartlook.h"

namespace brevanto {

namespace {

// One notch of the wheel shows a fifth more or less of the axis.
constexpr double kWheelZoomIn = 0.8;
constexpr double kWheelZoomOut = 1.25;

}  // namespace

ZoomChartView::ZoomChartView(QWidget* parent) : QChartView(parent) {
    setRubberBand(QChartView::RectangleRubberBand);
    setRenderHint(QPainter::Antialiasing);
    applyViewLook(*this);
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("Note"));
    // The sheet's note is a margin's small type; this one is the chart's
    // only content, so it reads at a glance, in the sheet's colours.
    m_note->setStyleSheet(
        QStringLiteral("QLabel { color: #5d4d72; font-size: 11pt; font-style: italic; }"));
    m_note->setAlignment(Qt::AlignCenter);
    m_note->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_note->hide();
}

void ZoomChartView::setNote(const QString& note) {
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
    placeNote();
}

QString ZoomChartView::note() const {
    return m_note->isVisibleTo(this) ? m_note->text() : QString();
}

void ZoomChartView::resetZoom() {
    chart()->zoomReset();
    emit zoomResetRequested();
}

bool ZoomChartView::startsPan(const QMouseEvent& event) {
    return event.button() == Qt::RightButton || event.button() == Qt::MiddleButton ||
           (event.button() == Qt::LeftButton && event.modifiers().testFlag(Qt::ShiftModifier));
}

// The base class would zoom out on a right click; here the right button pans.
void ZoomChartView::mousePressEvent(QMouseEvent* event) {
    if (startsPan(*event)) {
        m_panning = true;
        m_lastPan = event->position().toPoint();
        setCursor(Qt::ClosedHandCursor);
        event->accept();
        return;
    }
    m_rubberBandDrag = event->button() == Qt::LeftButton;
    QChartView::mousePressEvent(event);
}

void ZoomChartView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_panning) {
        QChartView::mouseMoveEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const QPoint moved = at - m_lastPan;
    m_lastPan = at;
    if (!moved.isNull()) {
        chart()->scroll(-moved.x(), moved.y());
        emit zoomed();
    }
    event->accept();
}

void ZoomChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (m_panning) {
        m_panning = false;
        unsetCursor();
        event->accept();
        return;
    }
    const bool zoomedIn = m_rubberBandDrag && event->button() == Qt::LeftButton;
    m_rubberBandDrag = false;
    QChartView::mouseReleaseEvent(event);
    if (zoomedIn && chart()->isZoomed()) {
        emit zoomed();
    }
}

void ZoomChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        resetZoom();
        event->accept();
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}

void ZoomChartView::wheelEvent(QWheelEvent* event) {
    const QRectF area = chart()->plotArea();
    const QPointF at = chart()->mapFromScene(mapToScene(event->position().toPoint()));
    const int notches = event->angleDelta().y();
    if (notches == 0 || !area.contains(at)) {
        QChartView::wheelEvent(event);
        return;
    }
    const double factor = notches > 0 ? kWheelZoomIn : kWheelZoomOut;
    const double left = at.x() - (at.x() - area.left()) * factor;
    chart()->zoomIn(QRectF(left, area.top(), area.width() * factor, area.height()));
    emit zoomed();
    event->accept();
}

void ZoomChartView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    placeNote();
}

// Across the middle of the view: the plot takes most of it, and the line
// must be readable on an empty chart, before the plot has any size.
void ZoomChartView::placeNote() {
    const int height = m_note->sizeHint().height();
    m_note->setGeometry(0, (this->height() - height) / 2, width(), height);
}

}  // namespace brevanto
