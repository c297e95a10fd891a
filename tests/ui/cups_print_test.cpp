// The real printer path from end to end: a private CUPS daemon in a temporary folder with a
// cups-pdf queue as its default printer, reached through CUPS_SERVER (the machine's own CUPS is
// never touched); a run is printed through the print dialog with the Qt printer service, and
// the PDF that cups-pdf writes is checked for its pages, and the document it was sent for its
// texts.
//
// The daemon and the cups-pdf backend need root; elsewhere the test is skipped with the reason.
// It sets CUPS_SERVER for the whole process before Qt first asks for a printer, so it must run
// in a process of its own (ctest runs every test so):
//     ./build/ui_tests --gtest_filter=CupsPrinting.*
// cups-pdf writes into ~/PDF of the printing user; the test moves the file it made into the
// build folder as cups_print_test.pdf.
#include "game/puzzle_stock.h"
#include "platform/fake/fakes.h"
#include "platform/qt/qt_printer.h"
#include "printing/ui/form_print.h"
#include "support/make_test_stock.h"
#include "support/temp_dir.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QRegularExpression>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <random>
#include <unistd.h>

namespace tl::test {
namespace {

const char *const kCupsd = "/usr/sbin/cupsd";
const char *const kLpadmin = "/usr/sbin/lpadmin";
const char *const kBackend = "/usr/lib/cups/backend/cups-pdf";
const char *const kPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";

bool WriteText(const std::string &path, const std::string &text)
{
    std::ofstream out(path);
    out << text;
    return static_cast<bool>(out);
}

QString RunTool(const QString &program, const QStringList &args, const QString &server, int *code)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!server.isEmpty())
        env.insert("CUPS_SERVER", server);
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(program, args);
    p.waitForFinished(30000);
    *code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
}

// A CUPS daemon of our own: configuration, spool, cache and logs in a temporary folder, a
// local socket as its only door.
class PrivateCups {
public:
    ~PrivateCups()
    {
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.terminate();
            if (!daemon_.waitForFinished(5000))
                daemon_.kill();
            daemon_.waitForFinished(2000);
        }
    }

    // Starts the daemon; "" on success, otherwise why it cannot run here.
    std::string Start(long nextJobId)
    {
        for (const char *file : {kCupsd, kLpadmin, kBackend, kPpd})
            if (!QFile::exists(file))
                return std::string(file) + " is missing (packages cups and printer-driver-cups-pdf)";
        if (geteuid() != 0)
            return "a CUPS daemon and the cups-pdf backend need root";
        namespace fs = std::filesystem;
        const std::string d = dir_.path();
        // The daemon's filters run as the user lp: they must reach the spool.
        fs::permissions(d, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                               fs::perms::others_read | fs::perms::others_exec);
        for (const char *sub : {"spool", "cache", "state", "tmp"})
            fs::create_directories(d + sub);
        // ... and write their temporary files (the PDF to PostScript filter does).
        fs::permissions(d + "tmp", fs::perms::all | fs::perms::sticky_bit);
        socket_ = QString::fromStdString(d + "cups.sock");
        const bool written =
            WriteText(d + "cupsd.conf", "Listen " + d + "cups.sock\nWebInterface No\n"
                                        "Browsing No\nLogLevel warn\nPreserveJobFiles Yes\n"
                                        // job attributes are written at once
                                        "DirtyCleanInterval 0\n"
                                        "<Location />\n"
                                        "  Order allow,deny\n  Allow all\n</Location>\n") &&
            WriteText(d + "cups-files.conf",
                      "ServerRoot " + d + "\nRequestRoot " + d + "spool\nCacheDir " + d +
                          "cache\nStateDir " + d + "state\nTempDir " + d + "tmp\nAccessLog " +
                          d + "access_log\nErrorLog " + d + "error_log\nPageLog " + d +
                          "page_log\nSystemGroup root\nServerBin /usr/lib/cups\n"
                          "DataDir /usr/share/cups\n") &&
            // Job numbers of this daemon start here, so its cups-pdf file names do not meet
            // those of another run.
            WriteText(d + "cache/job.cache",
                      "# Job cache file for CUPS v2.4.2\nNextJobId " + std::to_string(nextJobId) + "\n");
        if (!written)
            return "cannot write the daemon's configuration";
        daemon_.setProcessChannelMode(QProcess::MergedChannels);
        daemon_.start(kCupsd, {"-f", "-c", QString::fromStdString(d + "cupsd.conf"), "-s",
                               QString::fromStdString(d + "cups-files.conf")});
        if (!daemon_.waitForStarted(5000))
            return "cupsd cannot be started";
        for (int i = 0; i < 100 && !QFile::exists(socket_); ++i) {
            if (daemon_.state() == QProcess::NotRunning)
                break;
            QTest::qWait(100);
        }
        if (!QFile::exists(socket_) || daemon_.state() == QProcess::NotRunning)
            return "cupsd did not come up: " + QString::fromUtf8(daemon_.readAll()).toStdString() +
                   Log();
        return "";
    }

    std::string Log() const
    {
        QFile f(QString::fromStdString(dir_ / "error_log"));
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "";
    }

    const QString &socket() const { return socket_; }
    // The document of job `id` as the printer received it (kept in the spool).
    QString JobDocument(long id) const
    {
        const QDir spool(QString::fromStdString(dir_ / "spool"));
        const QStringList files = spool.entryList({QString("d%1-001").arg(id)}, QDir::Files);
        return files.isEmpty() ? QString() : spool.filePath(files.first());
    }

    // The attributes the daemon keeps of job `id` (its control file, IPP encoded).
    QByteArray JobAttributes(long id) const
    {
        QFile f(QString::fromStdString(dir_ / "spool") + QString("/c%1").arg(id, 5, 10, QChar('0')));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    TempDir dir_;
    QString socket_;
    QProcess daemon_;
};

TEST(CupsPrinting, ARunThroughTheDialogReachesTheDefaultPdfPrinter)
{
    std::random_device entropy;
    const long jobId = 100000 + static_cast<long>(entropy() % 900000000u);
    PrivateCups cups;
    const std::string why = cups.Start(jobId);
    if (!why.empty())
        GTEST_SKIP() << "no private CUPS daemon here: " << why;

    int code = 0;
    const QString queue = "tilloran_e2e";
    QString out = RunTool(kLpadmin, {"-p", queue, "-v", "cups-pdf:/", "-P", kPpd, "-E"},
                      cups.socket(), &code);
    ASSERT_EQ(code, 0) << out.toStdString() << cups.Log();
    out = RunTool(kLpadmin, {"-d", queue}, cups.socket(), &code);
    ASSERT_EQ(code, 0) << out.toStdString();

    // From here on Qt reaches the private daemon only.
    qputenv("CUPS_SERVER", cups.socket().toUtf8());
    const QString docName = QString("tilloran-e2e-%1").arg(jobId);
    QtPrinter printer(docName);
    FakeMessageBox messages;
    Puzzles puzzles;
    puzzles.records() = MakeTestStock(false);
    const std::string folder = "/nonexistent/";
    FormPrint dialog(puzzles, printer, messages, folder);
    dialog.Form_Load();

    bool ran = false;
    QTimer::singleShot(0, &dialog, [&] {
        ran = true;
        // Medium, 10 x 10, two per page, three pages from puzzle 5, with solutions.
        emit dialog.BinPuzTypeKeuze->activated(1);
        emit dialog.BinPuzFormaatKeuze->activated(1);
        dialog.OptionAantal[1]->click();
        dialog.PageSlider->setValue(3);
        dialog.TextFrom->setFocus();
        dialog.TextFrom->selectAll();
        QTest::keyClicks(dialog.TextFrom, "5");
        QTest::keyClick(dialog.TextFrom, Qt::Key_Return);
        dialog.Command2->click();
        dialog.Command1->click();
    });
    dialog.exec();
    ASSERT_TRUE(ran);
    ASSERT_TRUE(messages.shown.empty()) << messages.shown[0].title;

    // cups-pdf writes the job into ~/PDF of the printing user.
    const passwd *user = getpwuid(geteuid());
    ASSERT_NE(user, nullptr);
    const QDir pdfDir(QString(user->pw_dir) + "/PDF");
    QString pdf;
    for (int i = 0; i < 300 && pdf.isEmpty(); ++i) {
        for (const QString &name : pdfDir.entryList({"*.pdf"}, QDir::Files))
            if (name.contains(docName) || name.contains(QString("job_%1").arg(jobId)))
                pdf = pdfDir.filePath(name);
        if (pdf.isEmpty())
            QTest::qWait(100);
    }
    ASSERT_FALSE(pdf.isEmpty()) << "no PDF in " << pdfDir.path().toStdString() << "\n" << cups.Log();
    QTest::qWait(500); // the backend may still be writing
    const QString kept = QString(TL_BINARY_DIR) + "/cups_print_test.pdf";
    QFile::remove(kept);
    ASSERT_TRUE(QFile::rename(pdf, kept) || (QFile::copy(pdf, kept) && QFile::remove(pdf)));

    // What came out of the printer: three A4 pages with print on them.
    const QString info = RunTool("pdfinfo", {kept}, "", &code);
    ASSERT_EQ(code, 0) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+3\\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 842"))) << info.toStdString();
    TempDir pictures;
    RunTool("pdftoppm", {"-png", "-r", "30", kept, QString::fromStdString(pictures / "page")}, "", &code);
    ASSERT_EQ(code, 0);
    for (int page = 1; page <= 3; ++page) {
        const QImage image(QString::fromStdString(pictures / "page-") + QString::number(page) + ".png");
        ASSERT_FALSE(image.isNull()) << page;
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        EXPECT_GT(dark, image.width() * image.height() / 50) << "page " << page << " is blank";
    }

    // Its texts, read from the document the printer was sent: the PDF that cups-pdf makes
    // again from PostScript keeps the glyphs but not the characters they stand for.
    const QString job = cups.JobDocument(jobId);
    ASSERT_FALSE(job.isEmpty());
    const QString sent = RunTool("pdfinfo", {job}, "", &code);
    EXPECT_TRUE(sent.contains(QRegularExpression("Pages:\\s+3\\n"))) << sent.toStdString();
    const QString text = RunTool("pdftotext", {"-layout", job, "-"}, "", &code);
    ASSERT_EQ(code, 0) << text.toStdString();
    EXPECT_EQ(text.count("Dornel's Tilloran"), 3) << text.toStdString();
    EXPECT_EQ(text.count("Medium"), 3);
    for (int page = 1; page <= 3; ++page)
        EXPECT_TRUE(text.contains(QString("Page %1").arg(page))) << page;
    for (int number = 5; number <= 10; ++number)
        EXPECT_TRUE(text.contains(QRegularExpression(QString("#\\s?%1\\b").arg(number)))) << number;
    EXPECT_FALSE(text.contains(QRegularExpression("#\\s?11\\b")));

    // The job asked for medium quality: print-quality (an IPP enum) 4.
    const QByteArray quality("\x23\x00\x0dprint-quality\x00\x04\x00\x00\x00\x04", 22);
    EXPECT_TRUE(cups.JobAttributes(jobId).contains(quality));
    qunsetenv("CUPS_SERVER");
}

} // namespace
} // namespace tl::test
