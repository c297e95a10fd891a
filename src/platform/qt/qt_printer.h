// Printing with Qt: a page canvas that paints in twips on any paint device, the default
// printer as a PrinterService, and a PDF file of A4 pages for looking at printed pages.
#pragma once

#include "platform/services.h"

#include <QFont>
#include <QPainter>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QBuffer;
class QPaintDevice;
class QPdfWriter;
class QPrinter;

namespace tl {

// Paints in twips on `device`, whose resolution is `unitsPerTwip` device units per twip. The
// painter is opened by the first drawing call. Fonts are sized in twips (20 to the point), so
// text is measured alike on every device. Line widths are in device pixels, multiplied by
// `lineScale` (below 1 for a small picture of a page). `nextPage` starts a new sheet.
class QtPageCanvas : public PageCanvas {
public:
    QtPageCanvas(QPaintDevice &device, double unitsPerTwip, std::function<bool()> nextPage,
                 double lineScale = 1.0);
    ~QtPageCanvas() override;

    void setFont(const std::string &face, int points, bool bold) override;
    void setTextColour(std::uint32_t rgb) override { colour_ = rgb; }
    void setDrawWidth(int devicePixels) override { drawWidth_ = devicePixels; }
    double textWidth(const std::string &text) override;
    double textHeight(const std::string &text) override;
    void print(double x, double y, const std::string &text) override;
    void drawBox(int left, int top, int right, int bottom) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void newPage() override;
    void endDoc() override;

    // The font in use (for tests).
    const QFont &font() const { return font_; }

private:
    // Opens the painter on first use; false when the device refuses it.
    bool Ready();
    QPen Pen() const;

    QPaintDevice &device_;
    double unitsPerTwip_;
    std::function<bool()> nextPage_;
    double lineScale_;
    QPainter painter_;
    bool begun_ = false, failed_ = false, pagePending_ = false;
    QFont font_;
    std::uint32_t colour_ = 0;
    int drawWidth_ = 1;
};

// The default printer through Qt Print Support (CUPS on Linux). A printer that Qt would replace
// by a PDF file counts as no printer.
class QtPrinter : public PrinterService {
public:
    explicit QtPrinter(QString documentName = "Dornel's Tilloran");
    ~QtPrinter() override;
    bool setUp(int &widthTwips, int &heightTwips) override;
    std::unique_ptr<PageCanvas> startDocument() override;

private:
    QString documentName_;
    std::unique_ptr<QPrinter> printer_;
};

// A PDF file of A4 portrait pages at 1440 dots per inch, one device unit per twip: the pages
// exactly as the layout draws them, for looking at. The PDF writer says nothing of a file it
// failed to write, so the document is made in memory and put in its file whole by `save`.
class PdfPageFile {
public:
    PdfPageFile();
    ~PdfPageFile();
    PageCanvas &canvas() { return *canvas_; }
    // Ends the document and replaces the file at `path` with it (ReplaceFile,
    // platform/file_writes.h): true once it is on disk. False when nothing was drawn or the file
    // cannot be written; the file is then as it was, and `error` (when given) says why.
    bool save(const std::string &path, std::string *error = nullptr);
    // The paper in twips.
    static int PaperWidth();
    static int PaperHeight();

private:
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QPdfWriter> writer_;
    std::unique_ptr<QtPageCanvas> canvas_;
};

} // namespace tl
