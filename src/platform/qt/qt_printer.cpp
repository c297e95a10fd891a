#include "platform/qt/qt_printer.h"

#include "platform/file_writes.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrintEngine>
#include <QPrinterInfo>

#include <cmath>

namespace tl {

namespace {

constexpr double kTwipsPerPoint = 20.0;

QColor Colour(std::uint32_t rgb)
{
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

QPageLayout A4Portrait()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Point);
}

// The full paper of a layout in twips.
void PaperTwips(const QPageLayout &layout, int &width, int &height)
{
    const QRectF paper = layout.fullRect(QPageLayout::Point);
    width = static_cast<int>(std::lround(paper.width() * kTwipsPerPoint));
    height = static_cast<int>(std::lround(paper.height() * kTwipsPerPoint));
}

// The job options that Qt's CUPS print engine hands to the print job with the document, as a
// list of names and values (the engine property its own print dialog fills).
constexpr auto kCupsJobOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// Medium print quality: CUPS's "print-quality" 4 (normal), between draft (3) and high (5).
void AskMediumQuality(QPrinter &printer)
{
    QStringList options = printer.printEngine()->property(kCupsJobOptions).toStringList();
    const qsizetype at = options.indexOf("print-quality");
    if (at >= 0 && at % 2 == 0 && at + 1 < options.size())
        options[at + 1] = "4";
    else
        options << "print-quality" << "4";
    printer.printEngine()->setProperty(kCupsJobOptions, options);
}

} // namespace

// ---- QtPageCanvas ----------------------------------------------------------------------------

QtPageCanvas::QtPageCanvas(QPaintDevice &device, double unitsPerTwip,
                           std::function<bool()> nextPage, double lineScale)
    : device_(device), unitsPerTwip_(unitsPerTwip), nextPage_(std::move(nextPage)),
      lineScale_(lineScale)
{
    font_.setHintingPreference(QFont::PreferNoHinting);
}

QtPageCanvas::~QtPageCanvas()
{
    if (painter_.isActive())
        painter_.end();
}

bool QtPageCanvas::Ready()
{
    if (failed_)
        return false;
    if (!begun_) {
        begun_ = true;
        if (!painter_.begin(&device_)) {
            failed_ = true;
            return false;
        }
        painter_.setRenderHint(QPainter::Antialiasing);
        painter_.setRenderHint(QPainter::TextAntialiasing);
        painter_.scale(unitsPerTwip_, unitsPerTwip_);
    }
    if (pagePending_) {
        pagePending_ = false;
        if (nextPage_ && !nextPage_())
            return false;
    }
    return painter_.isActive();
}

void QtPageCanvas::setFont(const std::string &face, int points, bool bold)
{
    font_.setFamily(QString::fromStdString(face));
    font_.setPixelSize(static_cast<int>(points * kTwipsPerPoint));
    font_.setBold(bold);
}

double QtPageCanvas::textWidth(const std::string &text)
{
    return QFontMetricsF(font_).horizontalAdvance(QString::fromStdString(text));
}

double QtPageCanvas::textHeight(const std::string &)
{
    return QFontMetricsF(font_).height();
}

void QtPageCanvas::print(double x, double y, const std::string &text)
{
    if (!Ready())
        return;
    painter_.setFont(font_);
    painter_.setPen(Colour(colour_));
    painter_.drawText(QPointF(x, y + QFontMetricsF(font_).ascent()),
                      QString::fromStdString(text));
}

QPen QtPageCanvas::Pen() const
{
    // A line of n device pixels is n / unitsPerTwip twips wide on the page.
    QPen pen(Qt::black);
    pen.setWidthF(drawWidth_ * lineScale_ / unitsPerTwip_);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

void QtPageCanvas::drawBox(int left, int top, int right, int bottom)
{
    if (!Ready())
        return;
    painter_.setPen(Pen());
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
}

void QtPageCanvas::drawLine(int x1, int y1, int x2, int y2)
{
    if (!Ready())
        return;
    painter_.setPen(Pen());
    painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QtPageCanvas::newPage()
{
    // The sheet is started when something is drawn on it: a new page that stays empty adds
    // no sheet.
    pagePending_ = true;
}

void QtPageCanvas::endDoc()
{
    if (painter_.isActive())
        painter_.end();
    pagePending_ = false;
    failed_ = true; // the document is done: nothing more is drawn on it
}

// ---- QtPrinter -------------------------------------------------------------------------------

QtPrinter::QtPrinter(QString documentName) : documentName_(std::move(documentName)) {}

QtPrinter::~QtPrinter() = default;

bool QtPrinter::setUp(int &widthTwips, int &heightTwips)
{
    printer_.reset();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() || info.printerName().isEmpty())
        return false;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // Qt quietly turns a printer it cannot reach into a PDF file; that is no printer here.
    if (printer->outputFormat() != QPrinter::NativeFormat || !printer->isValid())
        return false;
    printer->setFullPage(true);
    if (printer->pageLayout().pageSize().id() != QPageSize::A4 &&
        !printer->setPageSize(QPageSize(QPageSize::A4)))
        return false;
    if (printer->pageLayout().orientation() != QPageLayout::Portrait &&
        !printer->setPageOrientation(QPageLayout::Portrait))
        return false;
    AskMediumQuality(*printer);
    printer->setDocName(documentName_);
    PaperTwips(printer->pageLayout(), widthTwips, heightTwips);
    printer_ = std::move(printer);
    return true;
}

std::unique_ptr<PageCanvas> QtPrinter::startDocument()
{
    if (!printer_)
        return nullptr;
    QPrinter *printer = printer_.get();
    return std::make_unique<QtPageCanvas>(*printer, printer->resolution() / 1440.0,
                                          [printer] { return printer->newPage(); });
}

// ---- PdfPageFile -----------------------------------------------------------------------------

PdfPageFile::PdfPageFile() : buffer_(std::make_unique<QBuffer>())
{
    buffer_->open(QIODevice::WriteOnly);
    writer_ = std::make_unique<QPdfWriter>(buffer_.get());
    writer_->setResolution(1440);
    writer_->setPageLayout(A4Portrait());
    writer_->setTitle("Dornel's Tilloran");
    writer_->setCreator("Dornel's Tilloran");
    QPdfWriter *writer = writer_.get();
    canvas_ = std::make_unique<QtPageCanvas>(*writer_, 1.0, [writer] { return writer->newPage(); });
}

PdfPageFile::~PdfPageFile()
{
    canvas_.reset();
}

bool PdfPageFile::save(const std::string &path, std::string *error)
{
    canvas_->endDoc();
    const QByteArray &pdf = buffer_->data();
    if (!pdf.startsWith("%PDF-")) {
        if (error)
            *error = "no pages were made";
        return false;
    }
    return ReplaceFile(path, std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())), error);
}

int PdfPageFile::PaperWidth()
{
    int w = 0, h = 0;
    PaperTwips(A4Portrait(), w, h);
    return w;
}

int PdfPageFile::PaperHeight()
{
    int w = 0, h = 0;
    PaperTwips(A4Portrait(), w, h);
    return h;
}

} // namespace tl
