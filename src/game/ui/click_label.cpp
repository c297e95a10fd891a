#include "game/ui/click_label.h"

#include <QMouseEvent>

namespace tl {

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // A press that is dragged off the label and released elsewhere is no click.
    if (rect().contains(event->position().toPoint()))
        emit mouseUp(event->button());
    QLabel::mouseReleaseEvent(event);
}

} // namespace tl
