// The print dialog in the game window: loaded hidden, shown from the Print item over a paused
// game, its controls, the example pictures, Close by button, Esc and close box, printing a run
// on the (fake) default printer, and a missing printer.
#include "game_window_fixture.h"

#include "platform/qt/qt_printer.h"
#include "printing/ui/form_print.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QProcess>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>

namespace tl::test {
namespace {

const char *const kPictures[] = {"PRN1", "PRN2", "PRN4", "PRN1S", "PRN2S", "PRN4S"};

QString Asset(const char *name)
{
    return QString(TL_SOURCE_DIR "/assets/") + name + ".GIF";
}

class PrintDialogTest : public GameWindowTest {
protected:
    FormPrint &Dialog() { return *window->formPrint(); }

    // Chooses Print and runs `steps` while the dialog is open; the steps must end the showing.
    void WithDialog(const std::function<void(FormPrint &)> &steps)
    {
        WhileShown<FormPrint>(Dialog(), [&] { window->mnu_puzzle_print->trigger(); }, steps);
    }

    static void TypeFrom(FormPrint &d, const QString &keys)
    {
        d.TextFrom->setFocus();
        d.TextFrom->selectAll();
        QTest::keyClicks(d.TextFrom, keys);
        QTest::keyClick(d.TextFrom, Qt::Key_Return);
    }

    void CopyPictures()
    {
        for (const char *name : kPictures)
            ASSERT_TRUE(QFile::copy(Asset(name), QString::fromStdString(programDir / name) + ".GIF"));
    }
};

TEST_F(PrintDialogTest, PrintPausesAGameInPlayAndResumesItWhenTheDialogCloses)
{
    Main &w = Started();
    ASSERT_NE(w.formPrint(), nullptr);
    EXPECT_FALSE(w.formPrint()->isVisible());
    EXPECT_TRUE(w.mnu_puzzle_print->isEnabled());

    // No puzzle in play: neither paused nor resumed.
    WithDialog([&](FormPrint &d) {
        EXPECT_FALSE(w.model().ShieldVisible);
        d.Command1->click();
    });
    EXPECT_FALSE(w.model().Clock.Paused);

    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    WithDialog([&](FormPrint &d) {
        EXPECT_TRUE(w.model().ShieldVisible);
        EXPECT_TRUE(w.model().Clock.Paused);
        d.Command1->click();
    });
    EXPECT_FALSE(w.model().ShieldVisible);
    EXPECT_FALSE(w.model().Clock.Paused);

    // A game the player paused runs on after printing too.
    QTest::mouseClick(w.cmdPauze, Qt::LeftButton);
    ASSERT_TRUE(w.model().Clock.Paused);
    WithDialog([&](FormPrint &d) { d.Command1->click(); });
    EXPECT_FALSE(w.model().Clock.Paused);
    EXPECT_FALSE(w.model().ShieldVisible);
    EXPECT_TRUE(fake.printer.documents.empty());
}

TEST_F(PrintDialogTest, WithoutADefaultPrinterItSaysSoClosesAndTheGameRunsOn)
{
    fake.printer.available = false;
    Main &w = Started();
    QTest::mouseClick(w.cmdNext, Qt::LeftButton);
    window->mnu_puzzle_print->trigger(); // the showing ends by itself
    EXPECT_FALSE(Dialog().isVisible());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].title, "Printer error");
    EXPECT_EQ(fake.messages.shown[0].text,
              "An error occured while attempting to communicate with the standard printer, "
              "please check the availability and status of your printer.");
    EXPECT_EQ(fake.messages.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(fake.messages.shown[0].icon, MsgIcon::None);
    EXPECT_FALSE(w.model().Clock.Paused);
    EXPECT_FALSE(w.model().ShieldVisible);
    EXPECT_TRUE(fake.printer.documents.empty());
}

TEST_F(PrintDialogTest, PrintPrintsTheChosenRunAndRemembersTheChoices)
{
    Started();
    WithDialog([&](FormPrint &d) {
        EXPECT_EQ(d.TextFrom->text(), " 1");
        EXPECT_EQ(d.LabelTo->text(), "to 1");
        EXPECT_EQ(d.Frame2->title(), "Pages");
        emit d.BinPuzTypeKeuze->activated(1);
        emit d.BinPuzFormaatKeuze->activated(2);
        d.OptionAantal[2]->click();
        d.PageSlider->setValue(2);
        EXPECT_EQ(d.Frame2->title(), "Pages (2)");
        TypeFrom(d, "7");
        EXPECT_EQ(d.LabelTo->text(), "to 14");
        d.Command2->click();
        EXPECT_TRUE(d.isVisible()); // printing leaves the dialog open
        d.Command1->click();
    });
    ASSERT_EQ(fake.printer.documents.size(), 1u);
    const PageRecorder &rec = *fake.printer.documents[0];
    EXPECT_EQ(rec.sheets(), 2);
    EXPECT_EQ(PageRecorder::Captions(rec.ops),
              (std::vector<std::string>{"7", "8", "9", "10", "11", "12", "13", "14"}));
    EXPECT_EQ(rec.page(0)[1].text, "Medium");

    WithDialog([&](FormPrint &d) {
        EXPECT_EQ(d.BinPuzTypeKeuze->currentIndex(), 1);
        EXPECT_EQ(d.BinPuzFormaatKeuze->currentIndex(), 2);
        EXPECT_TRUE(d.OptionAantal[2]->isChecked());
        EXPECT_FALSE(d.OptionAantal[0]->isChecked());
        EXPECT_EQ(d.PageSlider->value(), 2);
        EXPECT_EQ(d.PageSlider->maximum(), 25);
        EXPECT_EQ(d.TextFrom->text(), " 7");
        // Ten pages of four, then one per page: the same 40 puzzles are 40 pages, on a slider
        // up to 100, beyond its old maximum of 25.
        d.PageSlider->setValue(10);
        d.OptionAantal[0]->click();
        EXPECT_EQ(d.PageSlider->maximum(), 100);
        EXPECT_EQ(d.PageSlider->value(), 40);
        EXPECT_EQ(d.Frame2->title(), "Pages (40)");
        EXPECT_EQ(d.LabelTo->text(), "to 46");
        d.Command1->click();
    });
}

// Minimising and restoring the dialog (or any re-map by the window system) is no new showing:
// the choices stay as the user left them, the printer is not set up again, and a printer gone
// meanwhile does not close the dialog. The next showing restores the remembered choices.
TEST_F(PrintDialogTest, RestoringTheDialogKeepsTheChoicesAndThePrinter)
{
    Started();
    WithDialog([&](FormPrint &d) {
        emit d.BinPuzTypeKeuze->activated(3);
        emit d.BinPuzFormaatKeuze->activated(2);
        d.OptionAantal[1]->click();
        d.PageSlider->setValue(4);
        TypeFrom(d, "9");
        d.CheckSolution->click();
        const int setUps = fake.printer.setUps;
        fake.printer.available = false;
        MinimiseAndRestore(d);
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(fake.messages.shown.empty());
        EXPECT_EQ(fake.printer.setUps, setUps);
        EXPECT_EQ(d.BinPuzTypeKeuze->currentIndex(), 3);
        EXPECT_EQ(d.BinPuzFormaatKeuze->currentIndex(), 2);
        EXPECT_TRUE(d.OptionAantal[1]->isChecked());
        EXPECT_EQ(d.PageSlider->value(), 4);
        EXPECT_EQ(d.PageSlider->maximum(), 50);
        EXPECT_EQ(d.Frame2->title(), "Pages (4)");
        EXPECT_EQ(d.TextFrom->text(), "9");
        EXPECT_EQ(d.LabelTo->text(), "to 16");
        EXPECT_FALSE(d.CheckSolution->isChecked());
        fake.printer.available = true;
        d.Command2->click(); // the printer prepared at the showing prints the choices
        d.Command1->click();
    });
    ASSERT_EQ(fake.printer.documents.size(), 1u);
    const PageRecorder &rec = *fake.printer.documents[0];
    EXPECT_EQ(rec.sheets(), 4);
    EXPECT_EQ(PageRecorder::Captions(rec.ops),
              (std::vector<std::string>{"9", "10", "11", "12", "13", "14", "15", "16"}));
    EXPECT_EQ(rec.page(0)[1].text, "Insane");

    // A change left unclosed is dropped at the next showing, and only there.
    const int setUps = fake.printer.setUps;
    WithDialog([&](FormPrint &d) {
        EXPECT_EQ(fake.printer.setUps, setUps + 1);
        EXPECT_EQ(d.TextFrom->text(), " 9");
        emit d.BinPuzTypeKeuze->activated(0);
        MinimiseAndRestore(d);
        EXPECT_EQ(d.BinPuzTypeKeuze->currentIndex(), 0);
        EXPECT_EQ(d.model().current.LevelChoice, 0);
        EXPECT_EQ(fake.printer.setUps, setUps + 1);
        d.done(QDialog::Rejected); // ends the showing without Close
    });
    WithDialog([&](FormPrint &d) {
        EXPECT_EQ(d.BinPuzTypeKeuze->currentIndex(), 3);
        d.Command1->click();
    });
}

TEST_F(PrintDialogTest, FromBoxTakesDigitsOnlyAndEnterNeverPrints)
{
    Started();
    WithDialog([&](FormPrint &d) {
        TypeFrom(d, "4a0.0x00"); // 40000: beyond 16 bits, kept within the set
        EXPECT_EQ(d.TextFrom->text(), "100");
        EXPECT_EQ(d.LabelTo->text(), "to 100");
        EXPECT_EQ(d.model().current.FirstNumber, 100);
        TypeFrom(d, "0");
        EXPECT_EQ(d.TextFrom->text(), "1");
        d.TextFrom->setFocus();
        d.TextFrom->end(false);
        QTest::keyClicks(d.TextFrom, "5");
        QTest::keyClick(d.TextFrom, Qt::Key_Backspace);
        EXPECT_EQ(d.TextFrom->text(), "1");
        // Delete works too; X11 gives the key the text DEL.
        d.TextFrom->home(false);
        QTest::sendKeyEvent(QTest::Click, d.TextFrom, Qt::Key_Delete, QString(QChar(0x7f)),
                            Qt::NoModifier);
        EXPECT_EQ(d.TextFrom->text(), "");
        d.Command1->click();
    });
    EXPECT_TRUE(fake.printer.documents.empty());
}

TEST_F(PrintDialogTest, CloseBoxAndEscActAsClose)
{
    Started();
    WithDialog([&](FormPrint &d) {
        emit d.BinPuzFormaatKeuze->activated(3);
        d.close();
    });
    WithDialog([&](FormPrint &d) {
        EXPECT_EQ(d.BinPuzFormaatKeuze->currentIndex(), 3);
        d.OptionAantal[1]->click();
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    WithDialog([&](FormPrint &d) {
        EXPECT_EQ(d.model().saved.PerPage, 2);
        EXPECT_TRUE(d.OptionAantal[1]->isChecked());
        EXPECT_EQ(d.PageSlider->maximum(), 50);
        d.Command1->click();
    });
}

// As the user sees it: every control inside its frame, below the frame's caption, and each
// scale under the slider readable in full.
TEST_F(PrintDialogTest, ControlsStandInsideTheirFramesAndTheScaleFits)
{
    Started();
    WithDialog([&](FormPrint &d) {
        for (QGroupBox *frame : {d.Frame1, d.Frame2, d.Frame3, d.Frame4, d.Frame5, d.Frame6})
            for (QWidget *control : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                EXPECT_TRUE(frame->contentsRect().contains(control->geometry()))
                    << control->objectName().toStdString() << " leaves "
                    << frame->objectName().toStdString();
        for (int option : {0, 1, 2}) {
            d.OptionAantal[option]->click();
            EXPECT_LE(d.Label1->fontMetrics().horizontalAdvance(d.Label1->text()),
                      d.Label1->width())
                << d.Label1->text().toStdString();
        }
        d.Command1->click();
    });
}

TEST_F(PrintDialogTest, ExamplePicturesComeFromTheProgramFolderAndAMissingOneLeavesItBlank)
{
    WriteStock();
    CopyPictures();
    ASSERT_TRUE(QFile::remove(QString::fromStdString(programDir / "PRN4.GIF")));
    ASSERT_TRUE(Start());
    auto shows = [](FormPrint &d, const char *name) {
        const QImage expected(Asset(name));
        const QImage shown = d.PrintVoorbeeld->pixmap().toImage();
        return !shown.isNull() && shown.size() == expected.size() &&
               shown.convertToFormat(QImage::Format_RGB32) ==
                   expected.convertToFormat(QImage::Format_RGB32);
    };
    WithDialog([&](FormPrint &d) {
        EXPECT_TRUE(shows(d, "PRN1S"));
        d.OptionAantal[1]->click();
        EXPECT_TRUE(shows(d, "PRN2S"));
        d.CheckSolution->click();
        EXPECT_TRUE(shows(d, "PRN2"));
        d.OptionAantal[2]->click();
        EXPECT_TRUE(d.PrintVoorbeeld->pixmap().isNull());
        d.Command1->click();
    });
}

TEST(PrintPictures, ShippedPicturesAreExamplePagesOfTheBoxSize)
{
    for (const char *name : kPictures) {
        const QImage picture(Asset(name));
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_EQ(picture.size(), QSize(217, 313)) << name;
        // Mostly white paper with black print on it.
        int dark = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                dark += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
        EXPECT_GT(dark, 1000) << name;
        EXPECT_LT(dark, 217 * 313 / 3) << name;
    }
}

// The Qt page canvas: fonts are the metric-compatible faces, and a PDF file gets the pages.
TEST(QtPageCanvas, DrawsWithMetricCompatibleFontsIntoAPdfFile)
{
    TempDir dir;
    const QString path = QString::fromStdString(dir / "pages.pdf");
    {
        PdfPageFile pdf;
        PageCanvas &canvas = pdf.canvas();
        canvas.setFont("Arial", 18, false);
        EXPECT_EQ(QFontInfo(static_cast<QtPageCanvas &>(canvas).font()).family(), "Liberation Sans");
        // Arial's advance widths (P .667, a g e 1 .556, space .278 ems) at 360 twips an em.
        EXPECT_NEAR(canvas.textWidth("Page 1"), 3.169 * 360, 2.0);
        EXPECT_NEAR(canvas.textHeight("Page 1"), 414.0, 30.0);
        canvas.setFont("Times New Roman", 24, true);
        EXPECT_EQ(QFontInfo(static_cast<QtPageCanvas &>(canvas).font()).family(), "Liberation Serif");
        canvas.print(1417, 1417, "1");
        canvas.drawBox(1417, 1417, 3000, 3000);
        canvas.newPage();
        canvas.drawLine(1417, 1417, 3000, 1417);
        canvas.newPage(); // nothing drawn after it: no third sheet
        canvas.endDoc();
        ASSERT_TRUE(pdf.save(path.toStdString()));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 2);

    // A document with nothing drawn on it is no PDF: it is not saved, and the file stays.
    PdfPageFile empty;
    std::string why;
    EXPECT_FALSE(empty.save(path.toStdString(), &why));
    EXPECT_EQ(why, "no pages were made");
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
}

// Grid lines are as many device pixels wide as the layout asks, whatever the resolution:
// 8 pixels is 8 x 1440 / dpi twips on the page.
TEST(QtPageCanvas, LinesAreEightDevicePixelsWideAtAnyResolution)
{
    for (int dpi : {300, 600, 1200}) {
        QImage page(dpi, dpi, QImage::Format_RGB32); // one square inch
        page.fill(Qt::white);
        {
            QtPageCanvas canvas(page, dpi / 1440.0, nullptr);
            canvas.setDrawWidth(8);
            canvas.drawLine(144, 720, 1296, 720); // across, half an inch down
            canvas.drawBox(288, 288, 576, 1152);  // its left edge a fifth of an inch in
            canvas.endDoc();
        }
        auto darkRun = [&](int x0, int y0, int dx, int dy, int steps) {
            int dark = 0, touched = 0;
            for (int i = 0; i < steps; ++i) {
                const int gray = qGray(page.pixel(x0 + i * dx, y0 + i * dy));
                dark += gray < 128 ? 1 : 0;
                touched += gray < 255 ? 1 : 0;
            }
            return std::pair(dark, touched);
        };
        // Down through the line, to the right of the box; across the box's left edge, above
        // the line.
        EXPECT_EQ(darkRun(dpi * 3 / 4, 0, 0, 1, dpi), std::pair(8, 8)) << dpi << " dpi";
        EXPECT_EQ(darkRun(0, dpi / 3, 1, 0, dpi / 3), std::pair(8, 8)) << dpi << " dpi";
    }
}

// With no default printer (a CUPS server that does not exist) the printer service refuses to
// set up and starts no document: nothing goes to a PDF file instead.
TEST(QtPrinter, WithoutADefaultPrinterNothingIsSetUp)
{
    TempDir dir;
    qputenv("CUPS_SERVER", QByteArray::fromStdString(dir / "no-such.sock"));
    QtPrinter printer;
    int w = 0, h = 0;
    EXPECT_FALSE(printer.setUp(w, h));
    EXPECT_EQ(printer.startDocument(), nullptr);
    qunsetenv("CUPS_SERVER");
}

// Runs the page printer on the test build's stock; with `limitKiB`, under a file size limit of
// that many KiB (a full disk), a write past it failing instead of ending the tool.
struct ToolRun {
    int exitCode = -1;
    QString out, err;
};
ToolRun RunPrintPages(const QStringList &args, int limitKiB = 0)
{
    const QStringList all = QStringList{"--stock", TL_BINARY_DIR "/DudEzadu.qzk"} + args;
    QProcess tool;
    if (limitKiB > 0)
        tool.start("bash", QStringList{"-c", QString("ulimit -f %1; trap '' XFSZ; exec \"$0\" \"$@\"").arg(limitKiB),
                                       TL_BINARY_DIR "/print_pages"} + all);
    else
        tool.start(TL_BINARY_DIR "/print_pages", all);
    ToolRun run;
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = tool.exitCode();
    run.out = tool.readAllStandardOutput();
    run.err = tool.readAllStandardError();
    return run;
}

QByteArray Contents(const std::string &path)
{
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The page printer tool: a run it cannot print as asked, or a file it cannot write, is reported
// and ends it with a non-zero exit code, and no pages are claimed as printed. A PDF that could
// not be written whole leaves the file that was there before as it was.
TEST(PrintPagesTool, RefusesWhatItCannotDoAndSaysWhy)
{
    TempDir dir;
    const std::string pdf = dir / "pages.pdf";
    const std::string notAFolder = dir / "file";
    QFile plain(QString::fromStdString(notAFolder));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QByteArray earlier = "%PDF-1.4 pages printed earlier\n";
    const QString folder = QString::fromStdString(dir.path()).chopped(1);
    struct Row {
        QStringList args;
        int exitCode;
        QString says; // on stderr
        bool written;     // the PDF file at `pdf` exists afterwards
        int limitKiB = 0; // run under this file size limit, with an earlier PDF at `pdf`
    };
    const Row rows[] = {
        {{"--pdf", QString::fromStdString(pdf), "--level", "2", "--size", "3", "--per-page", "2",
          "--pages", "3", "--from", "95", "--solutions"}, 0, "", true},
        {{"--pdf", QString::fromStdString(pdf), "--level", "7"}, 2, "--level 7 is out of range", false},
        {{"--pdf", QString::fromStdString(pdf), "--size", "9"}, 2, "--size 9 is out of range", false},
        {{"--pdf", QString::fromStdString(pdf), "--per-page", "3"}, 2, "give 1, 2 or 4 puzzles", false},
        {{"--pdf", QString::fromStdString(pdf), "--pages", "500"}, 2, "give 1 to 100 pages", false},
        {{"--pdf", QString::fromStdString(pdf), "--per-page", "4", "--pages", "26"}, 2, "give 1 to 25 pages", false},
        {{"--pdf", QString::fromStdString(pdf), "--pages", "10", "--from", "92"}, 2, "from 1 to 91", false},
        {{"--pdf", QString::fromStdString(pdf), "--level", "-1"}, 2, "--level -1 is out of range", false},
        {{"--pdf", QString::fromStdString(pdf), "--levle", "1"}, 2, "unknown option --levle", false},
        {{"--pdf", QString::fromStdString(notAFolder + "/pages.pdf")}, 1, "cannot write", false},
        {{"--pdf", QString::fromStdString(dir / "no-such-folder/pages.pdf")}, 1, "cannot write", false},
        {{"--pdf", "/proc/pages.pdf"}, 1, "cannot write", false},
        {{"--pdf", "/dev/full"}, 1, "/dev/full is not a regular file", false},
        // Refused before anything is drawn; a refusal after the drawing would say that the pages
        // could not be written.
        {{"--pdf", folder}, 1, "cannot write " + folder + ": " + folder + " is a folder", false},
        {{"--pdf", ""}, 1, "no file name", false},
        {{"--pdf", QString::fromStdString(dir / std::string(250, 'p'))}, 1, "File name too long", false},
        {{"--pdf", QString::fromStdString(pdf), "--per-page", "4", "--pages", "25"}, 1,
         "the pages could not be written", true, 16},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.args.join(' ').toStdString());
        QFile::remove(QString::fromStdString(pdf));
        if (row.limitKiB > 0) {
            QFile file(QString::fromStdString(pdf));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(earlier);
        }
        const ToolRun run = RunPrintPages(row.args, row.limitKiB);
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(row.says)) << run.err.toStdString();
        EXPECT_EQ(QFile::exists(QString::fromStdString(pdf)), row.written);
        if (row.limitKiB > 0) {
            EXPECT_EQ(Contents(pdf), earlier);
        }
        if (row.exitCode == 0) {
            EXPECT_EQ(run.out, "printed 3 page(s) from 95 to 100\n");
        } else {
            EXPECT_FALSE(run.out.contains("printed")) << run.out.toStdString();
        }
    }
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({"file", "pages.pdf"}));
}

// Example pictures that could not be written whole: the tool says so, and the pictures that
// were there stay as they were.
TEST(PrintPagesTool, PicturesCutShortLeaveTheEarlierOnes)
{
    TempDir dir;
    const QByteArray earlier = "earlier picture";
    QFile file(QString::fromStdString(dir / "PRN1.png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(earlier);
    file.close();
    const ToolRun run = RunPrintPages({"--previews", QString::fromStdString(dir.path())}, 4);
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("cannot write")) << run.err.toStdString();
    EXPECT_EQ(Contents(dir / "PRN1.png"), earlier);
    EXPECT_EQ(QDir(QString::fromStdString(dir.path())).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList({"PRN1.png"}));
}

} // namespace
} // namespace tl::test
