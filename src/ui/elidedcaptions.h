// Captions that may be longer than their cell (a label of the settings can
// be 30 characters): cut with "…" to the width the layout gives them and
// shown whole in their tool tip. They never widen their cell, so the value
// panel and its unit beside it keep their places.
#pragma once

#include <QObject>
#include <QString>

class QLabel;

namespace brevanto {

class ElidedCaptions : public QObject {
    Q_OBJECT

public:
    explicit ElidedCaptions(QObject* parent = nullptr) : QObject(parent) {}

    // Takes `label` into care: its text from now on goes through setText.
    void add(QLabel* label);
    void setText(QLabel* label, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void fit(QLabel* label);
};

}  // namespace brevanto
