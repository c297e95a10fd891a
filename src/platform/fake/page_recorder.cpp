#include "platform/fake/page_recorder.h"

namespace tl {

PageOp &PageRecorder::add(PageOp::Kind kind)
{
    PageOp op;
    op.kind = kind;
    op.face = face_;
    op.points = points_;
    op.bold = bold_;
    op.colour = colour_;
    op.drawWidth = drawWidth_;
    ops.push_back(op);
    return ops.back();
}

void PageRecorder::setFont(const std::string &face, int points, bool bold)
{
    face_ = face;
    points_ = points;
    bold_ = bold;
}

void PageRecorder::print(double x, double y, const std::string &text)
{
    PageOp &op = add(PageOp::Text);
    op.x1 = x;
    op.y1 = y;
    op.text = text;
}

void PageRecorder::drawBox(int left, int top, int right, int bottom)
{
    addShape(PageOp::Box, left, top, right, bottom);
}

void PageRecorder::drawLine(int x1, int y1, int x2, int y2)
{
    addShape(PageOp::Line, x1, y1, x2, y2);
}

void PageRecorder::addShape(PageOp::Kind kind, int x1, int y1, int x2, int y2)
{
    PageOp &op = add(kind);
    op.x1 = x1;
    op.y1 = y1;
    op.x2 = x2;
    op.y2 = y2;
}

std::vector<PageOp> PageRecorder::page(int page) const
{
    std::vector<PageOp> result;
    int current = 0;
    for (const PageOp &op : ops) {
        if (op.kind == PageOp::NewPage)
            ++current;
        else if (current == page && op.kind != PageOp::EndDoc)
            result.push_back(op);
    }
    return result;
}

int PageRecorder::sheets() const
{
    int sheets = 0;
    bool drawn = false;
    for (const PageOp &op : ops) {
        if (op.kind == PageOp::NewPage || op.kind == PageOp::EndDoc) {
            sheets += drawn ? 1 : 0;
            drawn = false;
        } else {
            drawn = true;
        }
    }
    return sheets + (drawn ? 1 : 0);
}

bool FakePrinter::setUp(int &widthTwips, int &heightTwips)
{
    ++setUps;
    if (!available)
        return false;
    widthTwips = width;
    heightTwips = height;
    return true;
}

namespace {

// Hands the drawing calls to a recording the printer keeps after the document is done.
class RecordingDocument : public PageCanvas {
public:
    explicit RecordingDocument(std::shared_ptr<PageRecorder> r) : r_(std::move(r)) {}
    void setFont(const std::string &face, int points, bool bold) override { r_->setFont(face, points, bold); }
    void setTextColour(std::uint32_t rgb) override { r_->setTextColour(rgb); }
    void setDrawWidth(int px) override { r_->setDrawWidth(px); }
    double textWidth(const std::string &text) override { return r_->textWidth(text); }
    double textHeight(const std::string &text) override { return r_->textHeight(text); }
    void print(double x, double y, const std::string &text) override { r_->print(x, y, text); }
    void drawBox(int l, int t, int r, int b) override { r_->drawBox(l, t, r, b); }
    void drawLine(int x1, int y1, int x2, int y2) override { r_->drawLine(x1, y1, x2, y2); }
    void newPage() override { r_->newPage(); }
    void endDoc() override { r_->endDoc(); }

private:
    std::shared_ptr<PageRecorder> r_;
};

} // namespace

std::unique_ptr<PageCanvas> FakePrinter::startDocument()
{
    if (!available || setUps == 0)
        return nullptr;
    documents.push_back(std::make_shared<PageRecorder>());
    return std::make_unique<RecordingDocument>(documents.back());
}

std::vector<std::string> PageRecorder::Captions(const std::vector<PageOp> &ops)
{
    std::vector<std::string> result;
    for (const PageOp &op : ops)
        if (op.kind == PageOp::Text && op.text.rfind("# ", 0) == 0)
            result.push_back(op.text.substr(2));
    return result;
}

} // namespace tl
