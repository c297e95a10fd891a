// Draws the player's coupler marks (small squares) and the hint's coupler lines over the board
// of the game window, following a CouplerMarks model.
#pragma once

#include "game/coupler_marks.h"

#include <QColor>
#include <QWidget>
#include <vector>

namespace tl {

constexpr int kTwipsPerPixel = 15;

// A transparent layer over the board on which the hint's coupler lines are drawn; it never takes
// a mouse click.
class CouplerLineLayer : public QWidget {
    Q_OBJECT
public:
    CouplerLineLayer(const CouplerMarks &model, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const CouplerMarks &model_;
};

class CouplerWidgets {
public:
    static inline const QColor kMarkColour{0, 0, 0};
    static inline const QColor kLineColour{200, 0, 160};

    // Creates the hidden template mark ("CustomCouplers_0") and the line layer in `parent`.
    CouplerWidgets(const CouplerMarks &model, QWidget *parent);

    // Brings the mark widgets and the line layer in step with the model: one visible 75 x 75
    // twip square per mark, above the cell labels.
    void sync();

    // The mark widget of index k (1 .. count), or the template for 0.
    QWidget *mark(int k) const { return k >= 0 && k < int(marks_.size()) ? marks_[k] : nullptr; }
    int markCount() const { return int(marks_.size()) - 1; }
    CouplerLineLayer *lineLayer() const { return lines_; }

private:
    QWidget *makeMark(int index);

    const CouplerMarks &model_;
    QWidget *parent_;
    std::vector<QWidget *> marks_;
    CouplerLineLayer *lines_;
};

} // namespace tl
