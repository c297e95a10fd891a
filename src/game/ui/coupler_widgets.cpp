#include "game/ui/coupler_widgets.h"

#include <QPainter>
#include <QPen>

namespace tl {

namespace {
constexpr int Px(int twips)
{
    return twips / kTwipsPerPixel;
}
} // namespace

CouplerLineLayer::CouplerLineLayer(const CouplerMarks &model, QWidget *parent)
    : QWidget(parent), model_(model)
{
    setObjectName("Couplers");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void CouplerLineLayer::paintEvent(QPaintEvent *)
{
    if (model_.CouplerCount() == 0)
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(CouplerWidgets::kLineColour, 2));
    for (int i = 1; i <= model_.CouplerCount(); ++i) {
        const CouplerLine &l = model_.Couplers[i];
        p.drawLine(QPointF(l.x1 / double(kTwipsPerPixel), l.y1 / double(kTwipsPerPixel)),
                   QPointF(l.x2 / double(kTwipsPerPixel), l.y2 / double(kTwipsPerPixel)));
    }
}

CouplerWidgets::CouplerWidgets(const CouplerMarks &model, QWidget *parent)
    : model_(model), parent_(parent)
{
    lines_ = new CouplerLineLayer(model_, parent_);
    lines_->setGeometry(parent_->rect());
    lines_->hide();
    QWidget *tmpl = makeMark(0);
    tmpl->move(Px(kMarkTemplate.left), Px(kMarkTemplate.top));
    tmpl->hide();
    marks_.push_back(tmpl);
}

QWidget *CouplerWidgets::makeMark(int index)
{
    auto *w = new QWidget(parent_);
    w->setObjectName(QStringLiteral("CustomCouplers_%1").arg(index));
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    w->setAutoFillBackground(true);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, kMarkColour);
    w->setPalette(pal);
    w->resize(Px(kMarkSize), Px(kMarkSize));
    return w;
}

void CouplerWidgets::sync()
{
    const int count = model_.CustomCouplerCount();
    while (markCount() > count) {
        delete marks_.back();
        marks_.pop_back();
    }
    while (markCount() < count)
        marks_.push_back(makeMark(markCount() + 1));
    for (int k = 1; k <= count; ++k) {
        const TwipPoint p = model_.CustomCouplers[k];
        marks_[k]->move(Px(p.left), Px(p.top));
        marks_[k]->raise();
        marks_[k]->show();
    }

    lines_->setGeometry(parent_->rect());
    if (model_.CouplerCount() > 0) {
        lines_->raise();
        lines_->show();
        lines_->update();
    } else {
        lines_->hide();
    }
}

} // namespace tl
