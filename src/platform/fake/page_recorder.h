// A page canvas that records every drawing call, and a fake default printer whose documents
// are such recordings. Text is measured with a simple fixed rule, so that tests can work out
// every position the page layout must produce.
#pragma once

#include "platform/services.h"

#include <memory>
#include <string>
#include <vector>

namespace tl {

struct PageOp {
    enum Kind { Text, Box, Line, NewPage, EndDoc } kind;
    // Text: x1, y1 is the print position. Box: left, top, right, bottom. Line: its two ends.
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::string text;
    // The state the call was made in.
    std::string face;
    int points = 0;
    bool bold = false;
    std::uint32_t colour = 0;
    int drawWidth = 1;
};

class PageRecorder : public PageCanvas {
public:
    // The measuring rule: every character is half the font size wide (points x 10 twips), and
    // a line of text is 1.15 times the font size high (points x 23 twips).
    static double WidthOf(const std::string &text, int points) { return 10.0 * points * static_cast<double>(text.size()); }
    static double HeightOf(int points) { return 23.0 * points; }

    std::vector<PageOp> ops;

    void setFont(const std::string &face, int points, bool bold) override;
    void setTextColour(std::uint32_t rgb) override { colour_ = rgb; }
    void setDrawWidth(int devicePixels) override { drawWidth_ = devicePixels; }
    double textWidth(const std::string &text) override { return WidthOf(text, points_); }
    double textHeight(const std::string &) override { return HeightOf(points_); }
    void print(double x, double y, const std::string &text) override;
    void drawBox(int left, int top, int right, int bottom) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void newPage() override { add(PageOp::NewPage); }
    void endDoc() override { add(PageOp::EndDoc); }

    // The calls of page `page` (0-based): those between its new-page calls, without them.
    std::vector<PageOp> page(int page) const;
    // The number of sheets: pages on which something was drawn.
    int sheets() const;
    // The numbers the captions ("# 7") among `ops` give, in order.
    static std::vector<std::string> Captions(const std::vector<PageOp> &ops);

private:
    PageOp &add(PageOp::Kind kind);
    void addShape(PageOp::Kind kind, int x1, int y1, int x2, int y2);
    std::string face_;
    int points_ = 0;
    bool bold_ = false;
    std::uint32_t colour_ = 0;
    int drawWidth_ = 1;
};

// The default printer as a test sets it up: present or not, with a paper size in twips, and
// every document started on it kept as a recording.
class FakePrinter : public PrinterService {
public:
    bool available = true;
    int width = 11900, height = 16840; // A4 as 595 x 842 points
    int setUps = 0;
    std::vector<std::shared_ptr<PageRecorder>> documents;

    bool setUp(int &widthTwips, int &heightTwips) override;
    std::unique_ptr<PageCanvas> startDocument() override;
};

} // namespace tl
