// A label that reports a mouse button released over it: the board cells, the count markers and
// the colour swatch of the game window are labels that react to clicks.
#pragma once

#include <QLabel>

namespace tl {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget *parent = nullptr) : QLabel(parent) {}

signals:
    // The button that was released over the label.
    void mouseUp(Qt::MouseButton button);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace tl
