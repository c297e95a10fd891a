// The print dialog: what to print from the stock (level, size, puzzles per page, pages, first
// number, solutions) with an example picture of the page, and the Print button that prints the
// run on the default printer. One instance lives for the whole run; it is shown modally and only
// ever hidden. The choices and their rules live in a PrintDialogModel; this widget shows it.
#pragma once

#include "printing/print_dialog_model.h"
#include "printing/print_run.h"

#include <QDialog>

#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace tl {

class MessageBoxService;
class PrinterService;
class Puzzles;

inline constexpr const char *kPrinterErrorTitle = "Printer error";
inline constexpr const char *kPrinterErrorText =
    "An error occured while attempting to communicate with the standard printer, please check "
    "the availability and status of your printer.";

class FormPrint : public QDialog {
    Q_OBJECT
public:
    // `programFolder` (ending in "/") is read at every showing: the example pictures lie there.
    FormPrint(const Puzzles &puzzles, PrinterService &printer, MessageBoxService &messages,
              const std::string &programFolder, QWidget *parent = nullptr);

    // Centres the dialog on the screen and sets the remembered choices to their defaults.
    void Form_Load();

    PrintDialogModel &model() { return model_; }
    // The page frame worked out at the last showing (none after a printer failure).
    const std::optional<PageGeometry> &geometry() const { return geometry_; }

    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr, *Frame4 = nullptr,
              *Frame5 = nullptr, *Frame6 = nullptr;
    QSlider *PageSlider = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *LabelTo = nullptr;
    QRadioButton *OptionAantal[3] = {};
    QCheckBox *CheckSolution = nullptr;
    QLineEdit *TextFrom = nullptr;
    QComboBox *BinPuzTypeKeuze = nullptr, *BinPuzFormaatKeuze = nullptr;
    QLabel *PrintVoorbeeld = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr;

public slots:
    void Command1_Click(); // Close
    void Command2_Click(); // Print
    void reject() override; // Esc: Close

protected:
    void showEvent(QShowEvent *event) override;   // Form_Activate
    void closeEvent(QCloseEvent *event) override; // the close box: Close
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Activate();
    // Prepares the printer and works out the page frame; false after a failure.
    bool Set_Up_Printer();
    // Brings every control in line with the model, without raising their handlers.
    void Refresh();

    const Puzzles &puzzles_;
    PrinterService &printer_;
    MessageBoxService &messages_;
    const std::string &programFolder_;
    std::string folderCopy_;
    std::string shownPreview_;
    PrintDialogModel model_;
    std::optional<PageGeometry> geometry_;
};

} // namespace tl
