// print_pages: prints puzzles of a stock file with the game's own page layout, without a
// printer, for looking at pages.
//
//   print_pages --stock FILE --pdf OUT.pdf [--level L] [--size S] [--per-page P] [--pages N]
//               [--from F] [--solutions]
//       writes the pages of a print run (level 0..3, size index 0..3) to a PDF file of A4
//       pages, one unit per twip; the choices go through the print dialog's own rules.
//   print_pages --stock FILE --previews DIR
//       writes the dialog's six example pictures (PRN1.png ... PRN4S.png, 217 x 313 pixels)
//       into DIR: the first Easy 8 x 8 puzzles of the stock laid out as printed.
#include "game/puzzle_stock.h"
#include "platform/qt/qt_printer.h"
#include "printing/print_dialog_model.h"
#include "printing/print_run.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

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
                  bool withSolutions, const std::string &path)
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
    return image.save(QString::fromStdString(path), "PNG");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen"
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);

    std::map<std::string, std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--solutions")
            args[a] = "1";
        else if (a.rfind("--", 0) == 0 && i + 1 < argc)
            args[a] = argv[++i];
        else {
            std::fprintf(stderr, "print_pages: unexpected argument %s\n", a.c_str());
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
                if (!WritePreview(puzzles, *geometry, perPage, withSolutions, dir + name)) {
                    std::fprintf(stderr, "print_pages: cannot write %s\n", (dir + name).c_str());
                    return 1;
                }
            }
        return 0;
    }

    // The choices as a user would make them in the dialog, so that they obey its rules.
    auto number = [&](const char *key, int fallback) {
        return args.count(key) ? std::atoi(args[key].c_str()) : fallback;
    };
    tl::PrintDialogModel model;
    model.Restore_Choices();
    model.Printer_Ready();
    model.BinPuzTypeKeuze_Click(number("--level", 0));
    model.BinPuzFormaatKeuze_Click(number("--size", 0));
    const int perPage = number("--per-page", 1);
    model.OptionAantal_Click(perPage == 4 ? 2 : perPage == 2 ? 1 : 0);
    model.CheckSolution_Click(args.count("--solutions") > 0);
    model.PageSlider_Change(number("--pages", 1));
    model.TextFrom_Change(std::to_string(number("--from", 1)));
    model.Update_Range();

    tl::PdfPageFile pdf(QString::fromStdString(args["--pdf"]));
    tl::PrintRun run(model.current, *geometry, puzzles, pdf.canvas());
    run.Print_All();
    std::printf("printed %d page(s) from %d to %d\n", model.current.PageCount,
                model.current.FirstNumber,
                model.current.FirstNumber + model.current.PageCount * model.current.PerPage - 1);
    return 0;
}
