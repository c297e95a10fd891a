// print_pages: prints puzzles of a stock file with the game's own page layout, without a
// printer, for looking at pages.
//
//   print_pages --stock FILE --pdf OUT.pdf [--level L] [--size S] [--per-page P] [--pages N]
//               [--from F] [--solutions]
//       writes the pages of a print run (level 0..3, size index 0..3, 1, 2 or 4 puzzles per
//       page, as many pages as the print dialog's slider offers, a first number that keeps the
//       run within puzzles 1..100) to a PDF file of A4 pages, one unit per twip.
//   print_pages --stock FILE --previews DIR
//       writes the dialog's six example pictures (PRN1.png ... PRN4S.png, 217 x 313 pixels)
//       into DIR: the first Easy 8 x 8 puzzles of the stock laid out as printed.
//
// A choice out of its range, an unknown option or a file that cannot be written is reported on
// stderr and ends the tool with a non-zero exit code; nothing is replaced without a word. Every
// file is made in memory and replaced whole (platform/file_writes.h): one that cannot be
// written (a full disk) stays as it was, and the pages are claimed as printed only once their
// file is on disk.
#include "game/puzzle_stock.h"
#include "game/stored_settings.h"
#include "platform/file_writes.h"
#include "platform/qt/qt_printer.h"
#include "printing/print_dialog_model.h"
#include "printing/print_run.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace {

// Reports the loader's failures on stderr.
class StderrMessages : public tl::MessageBoxService {
public:
    tl::MsgAnswer show(const std::string &title, const std::string &text, tl::MsgIcon,
                       tl::MsgButtons) override
    {
        std::fprintf(stderr, "print_pages: %s: %s\n", title.c_str(), text.c_str());
        return tl::MsgAnswer::Ok;
    }
};

constexpr int kPreviewWidth = 217, kPreviewHeight = 313;

bool WritePreview(const tl::Puzzles &puzzles, const tl::PageGeometry &geometry, int perPage,
                  bool withSolutions, const std::string &path, std::string &error)
{
    tl::PrintChoices choices;
    choices.PerPage = perPage;
    choices.WithSolutions = withSolutions;
    QImage image(kPreviewWidth, kPreviewHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        // The page fills the picture's width; grid lines are one pixel wide.
        const double scale = double(kPreviewWidth) / tl::PdfPageFile::PaperWidth();
        tl::QtPageCanvas canvas(image, scale, [] { return false; }, 1.0 / 8);
        tl::PrintRun run(choices, geometry, puzzles, canvas);
        run.Print_All();
    }
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    if (!image.save(&png, "PNG")) {
        error = "the picture could not be made";
        return false;
    }
    return tl::ReplaceFile(path, std::string_view(png.data().constData(),
                                                  static_cast<std::size_t>(png.data().size())),
                           &error);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);

    const std::set<std::string> known = {"--stock", "--pdf", "--previews", "--level", "--size",
                                          "--per-page", "--pages", "--from", "--solutions"};
    std::map<std::string, std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (!known.count(a)) {
            std::fprintf(stderr, "print_pages: unknown option %s\n", a.c_str());
            return 2;
        }
        if (a == "--solutions")
            args[a] = "1";
        else if (i + 1 < argc)
            args[a] = argv[++i];
        else {
            std::fprintf(stderr, "print_pages: %s needs a value\n", a.c_str());
            return 2;
        }
    }
    if (!args.count("--stock") || (!args.count("--pdf") && !args.count("--previews"))) {
        std::fprintf(stderr, "usage: print_pages --stock FILE (--pdf OUT.pdf [--level L] "
                             "[--size S] [--per-page P] [--pages N] [--from F] [--solutions] "
                             "| --previews DIR)\n");
        return 2;
    }

    const QFileInfo stock(QString::fromStdString(args["--stock"]));
    StderrMessages messages;
    tl::Puzzles puzzles;
    const std::string folder = stock.absolutePath().toStdString() + "/";
    tl::StockContext ctx{folder, folder, messages, puzzles};
    if (stock.fileName() != tl::kStockFileName || !tl::Load_Stock(ctx)) {
        std::fprintf(stderr, "print_pages: cannot read the stock %s\n", args["--stock"].c_str());
        return 1;
    }
    const auto geometry =
        tl::Page_Geometry(tl::PdfPageFile::PaperWidth(), tl::PdfPageFile::PaperHeight());
    if (!geometry)
        return 1;

    if (args.count("--previews")) {
        const std::string dir = args["--previews"] + "/";
        for (int perPage : {1, 2, 4})
            for (bool withSolutions : {false, true}) {
                const std::string name = "PRN" + std::to_string(perPage) +
                                         (withSolutions ? "S" : "") + ".png";
                std::string why;
                if (!WritePreview(puzzles, *geometry, perPage, withSolutions, dir + name, why)) {
                    std::fprintf(stderr, "print_pages: cannot write %s: %s\n", (dir + name).c_str(),
                                 why.c_str());
                    return 1;
                }
            }
        return 0;
    }

    // The choices, each within the range the print dialog offers.
    auto number = [&](const char *key, int fallback, int min, int max,
                      const char *range) -> std::optional<int> {
        if (!args.count(key))
            return fallback;
        const auto value = tl::ParseWholeNumber(args[key], min, max);
        if (!value)
            std::fprintf(stderr, "print_pages: %s %s is out of range: %s\n", key,
                         args[key].c_str(), range);
        return value;
    };
    const auto level = number("--level", 0, 0, 3, "give a level from 0 (Easy) to 3 (Insane)");
    const auto size = number("--size", 0, 0, 3, "give a size from 0 (8 x 8) to 3 (14 x 14)");
    const char *perPageRange = "give 1, 2 or 4 puzzles per page";
    const auto perPageValue = number("--per-page", 1, 1, 4, perPageRange);
    const bool perPageOk = perPageValue && *perPageValue != 3;
    if (perPageValue && !perPageOk)
        std::fprintf(stderr, "print_pages: --per-page 3 is out of range: %s\n", perPageRange);
    if (!level || !size || !perPageOk)
        return 2;
    const int perPage = *perPageValue;
    const int maxPages = tl::SliderMaximum(perPage);
    const std::string pagesRange = "give 1 to " + std::to_string(maxPages) + " pages of " +
                                   std::to_string(perPage) + " puzzle(s) each";
    const auto pages = number("--pages", 1, 1, maxPages, pagesRange.c_str());
    if (!pages)
        return 2;
    const int lastFrom = 101 - *pages * perPage;
    const std::string fromRange = "give a first puzzle from 1 to " + std::to_string(lastFrom) +
                                  " for " + std::to_string(*pages * perPage) + " puzzle(s)";
    const auto from = number("--from", 1, 1, lastFrom, fromRange.c_str());
    if (!from)
        return 2;

    // The choices as a user would make them in the dialog, so that they obey its rules.
    tl::PrintDialogModel model;
    model.Restore_Choices();
    model.Printer_Ready();
    model.BinPuzTypeKeuze_Click(*level);
    model.BinPuzFormaatKeuze_Click(*size);
    model.OptionAantal_Click(perPage == 4 ? 2 : perPage == 2 ? 1 : 0);
    model.CheckSolution_Click(args.count("--solutions") > 0);
    model.PageSlider_Change(*pages);
    model.TextFrom_Change(std::to_string(*from));
    model.Update_Range();

    // A file that could never be written is refused before the pages are drawn; one that fails
    // as it is written is left as it was.
    const std::string path = args["--pdf"];
    auto cannotWrite = [&](const std::string &why) {
        std::fprintf(stderr, "print_pages: cannot write %s: the pages could not be written (%s)\n",
                     path.c_str(), why.c_str());
        return 1;
    };
    std::string why;
    if (!tl::CanReplaceFile(path, &why)) {
        std::fprintf(stderr, "print_pages: cannot write %s: %s\n", path.c_str(), why.c_str());
        return 1;
    }
    tl::PdfPageFile pdf;
    {
        tl::PrintRun run(model.current, *geometry, puzzles, pdf.canvas());
        run.Print_All();
    }
    if (!pdf.save(path, &why))
        return cannotWrite(why);
    std::printf("printed %d page(s) from %d to %d\n", model.current.PageCount,
                model.current.FirstNumber,
                model.current.FirstNumber + model.current.PageCount * model.current.PerPage - 1);
    return 0;
}
