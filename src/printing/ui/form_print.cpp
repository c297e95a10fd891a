#include "printing/ui/form_print.h"

#include "game/puzzle_stock.h"
#include "platform/services.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSlider>

namespace tl {

namespace {

constexpr int Px(int twips) { return twips / 15; }

void Place(QWidget *w, const char *name, int left, int top, int width, int height)
{
    w->setObjectName(name);
    w->setGeometry(Px(left), Px(top), Px(width), Px(height));
}

QGroupBox *Frame(QWidget *parent, const char *name, const char *caption, int left, int top,
                 int width, int height)
{
    auto *frame = new QGroupBox(caption, parent);
    Place(frame, name, left, top, width, height);
    return frame;
}

} // namespace

FormPrint::FormPrint(const Puzzles &puzzles, PrinterService &printer, MessageBoxService &messages,
                     const std::string &programFolder, QWidget *parent)
    : QDialog(parent), puzzles_(puzzles), printer_(printer), messages_(messages),
      programFolder_(programFolder)
{
    setObjectName("FormPrint");
    setWindowTitle("Dornel's Vivere Puzzles - Print");
    setModal(true);
    setFixedSize(Px(6990), Px(5685));
    // A small face of Arial's metrics, so that the scale under the slider fits its width, and
    // frames with their caption on the top line, so that the controls placed near their top
    // stand inside the frame and not on its line. (A style sheet decides the fonts of the
    // widgets it styles, so the face is given there.)
    setStyleSheet("* { font-family: Arial; font-size: 11px; }"
                  "QGroupBox { border: 1px solid palette(mid); margin-top: 6px; }"
                  "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px;"
                  " background-color: palette(window); }");

    Frame2 = Frame(this, "Frame2", "Pages", 120, 120, 3255, 1095);
    PageSlider = new QSlider(Qt::Horizontal, Frame2);
    Place(PageSlider, "PageSlider", 120, 240, 3015, 495);
    PageSlider->setRange(1, 100);
    PageSlider->setTickPosition(QSlider::TicksBelow);
    PageSlider->setTickInterval(5);
    Label1 = new QLabel(Frame2);
    Place(Label1, "Label1", 255, 720, 2895, 255);

    Frame1 = Frame(this, "Frame1", "Puzzles per page", 120, 1320, 3255, 615);
    const char *const counts[3] = {"1", "2", "4"};
    for (int i = 0; i < 3; ++i) {
        OptionAantal[i] = new QRadioButton(counts[i], Frame1);
        const std::string name = "OptionAantal_" + std::to_string(i);
        Place(OptionAantal[i], name.c_str(), 240 + 1200 * i, 240, 375, 255);
        OptionAantal[i]->setMinimumWidth(Px(600));
        OptionAantal[i]->resize(Px(600), Px(255));
        connect(OptionAantal[i], &QRadioButton::clicked, this, [this, i] {
            model_.OptionAantal_Click(i);
            Refresh();
        });
    }

    Frame3 = Frame(this, "Frame3", "Include", 120, 2040, 3255, 615);
    CheckSolution = new QCheckBox("Solutions", Frame3);
    Place(CheckSolution, "CheckSolution", 240, 240, 2775, 255);

    Frame4 = Frame(this, "Frame4", "Range", 120, 2760, 3255, 855);
    Label3 = new QLabel("From", Frame4);
    Place(Label3, "Label3", 240, 360, 375, 255);
    Label3->resize(Px(480), Px(255));
    TextFrom = new QLineEdit(Frame4);
    Place(TextFrom, "TextFrom", 720, 360, 855, 285);
    TextFrom->installEventFilter(this);
    LabelTo = new QLabel(Frame4);
    Place(LabelTo, "LabelTo", 1680, 360, 1095, 255);

    Frame5 = Frame(this, "Frame5", "Level", 120, 3720, 3255, 855);
    BinPuzTypeKeuze = new QComboBox(Frame5);
    Place(BinPuzTypeKeuze, "BinPuzTypeKeuze", 240, 360, 2775, 315);
    BinPuzTypeKeuze->addItems({"Easy", "Medium", "Hard", "Insane"});

    Frame6 = Frame(this, "Frame6", "Size", 120, 4680, 3255, 855);
    BinPuzFormaatKeuze = new QComboBox(Frame6);
    Place(BinPuzFormaatKeuze, "BinPuzFormaatKeuze", 240, 360, 2775, 315);
    BinPuzFormaatKeuze->addItems({"8 X 8", "10 X 10", "12 X 12", "14 X 14"});

    PrintVoorbeeld = new QLabel(this);
    Place(PrintVoorbeeld, "PrintVoorbeeld", 3600, 120, 3255, 4695);
    PrintVoorbeeld->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PrintVoorbeeld->setFrameShape(QFrame::Box);
    Label2 = new QLabel("Example", this);
    Place(Label2, "Label2", 3600, 4800, 1815, 255);

    Command1 = new QPushButton("Close", this);
    Place(Command1, "Command1", 3600, 5160, 1455, 375);
    Command2 = new QPushButton("Print", this);
    Place(Command2, "Command2", 5400, 5160, 1455, 375);
    // Enter in the From box applies the number; it never presses a button.
    for (QPushButton *b : {Command1, Command2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }

    connect(PageSlider, &QSlider::valueChanged, this, [this](int value) {
        model_.PageSlider_Change(value);
        Refresh();
    });
    connect(CheckSolution, &QCheckBox::clicked, this, [this](bool ticked) {
        model_.CheckSolution_Click(ticked);
        Refresh();
    });
    connect(TextFrom, &QLineEdit::textEdited, this, [this](const QString &text) {
        model_.TextFrom_Change(text.toStdString());
    });
    connect(BinPuzTypeKeuze, &QComboBox::activated, this, [this](int index) {
        model_.BinPuzTypeKeuze_Click(index);
        Refresh();
    });
    connect(BinPuzFormaatKeuze, &QComboBox::activated, this, [this](int index) {
        model_.BinPuzFormaatKeuze_Click(index);
        Refresh();
    });
    connect(Command1, &QPushButton::clicked, this, &FormPrint::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormPrint::Command2_Click);

    // The controls as designed; the picture stands for one puzzle per page with solutions.
    folderCopy_ = programFolder_;
    Refresh();
}

void FormPrint::Form_Load()
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    model_.Form_Load();
}

void FormPrint::Refresh()
{
    const PrintDialogView &v = model_.view;
    const QSignalBlocker blockSlider(PageSlider);
    PageSlider->setMaximum(v.PageSliderMax);
    PageSlider->setValue(v.PageSlider);
    Label1->setText(QString::fromStdString(v.Label1));
    Frame2->setTitle(QString::fromStdString(v.Frame2));
    for (int i = 0; i < 3; ++i) {
        // Exclusive radio buttons cannot all be cleared while exclusive.
        OptionAantal[i]->setAutoExclusive(false);
        OptionAantal[i]->setChecked(v.OptionAantal == i);
        OptionAantal[i]->setAutoExclusive(true);
    }
    CheckSolution->setChecked(v.CheckSolution);
    if (TextFrom->text().toStdString() != v.TextFrom)
        TextFrom->setText(QString::fromStdString(v.TextFrom));
    LabelTo->setText(QString::fromStdString(v.LabelTo));
    BinPuzTypeKeuze->setCurrentIndex(v.BinPuzTypeKeuze);
    BinPuzFormaatKeuze->setCurrentIndex(v.BinPuzFormaatKeuze);
    for (QWidget *w : {static_cast<QWidget *>(Label3), static_cast<QWidget *>(TextFrom),
                       static_cast<QWidget *>(LabelTo)})
        w->setEnabled(v.RangeEnabled);

    if (v.Preview != shownPreview_) {
        shownPreview_ = v.Preview;
        // A picture that cannot be read leaves the example blank.
        QPixmap picture;
        if (!picture.load(QString::fromStdString(folderCopy_ + v.Preview)))
            picture = QPixmap();
        PrintVoorbeeld->setPixmap(picture);
    }
}

void FormPrint::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Once per modal showing. A show event of the window system's own (the dialog restored
    // after minimising, or mapped again) is no new showing: the controls keep the user's
    // choices and the printer stays as it was set up.
    if (!event->spontaneous())
        Form_Activate();
}

void FormPrint::Form_Activate()
{
    folderCopy_ = programFolder_;
    shownPreview_.clear(); // the folder may have changed: load the picture again
    model_.Restore_Choices();
    Refresh();
    if (!Set_Up_Printer()) {
        messages_.show(kPrinterErrorTitle, kPrinterErrorText, MsgIcon::None, MsgButtons::Ok);
        // The modal showing has only begun: end it once its event loop runs.
        QMetaObject::invokeMethod(this, [this] { done(QDialog::Rejected); },
                                  Qt::QueuedConnection);
        return;
    }
    model_.Printer_Ready();
}

bool FormPrint::Set_Up_Printer()
{
    geometry_.reset();
    int width = 0, height = 0;
    if (!printer_.setUp(width, height))
        return false;
    geometry_ = Page_Geometry(width, height);
    return geometry_.has_value();
}

void FormPrint::Command1_Click()
{
    model_.Command1_Click();
    done(QDialog::Rejected);
}

void FormPrint::reject()
{
    Command1_Click();
}

void FormPrint::closeEvent(QCloseEvent *event)
{
    // The dialog is never closed: its close box acts as Close, so the choices are remembered
    // exactly as Close would.
    event->ignore();
    if (isVisible())
        Command1_Click();
}

void FormPrint::Command2_Click()
{
    model_.Command2_Click();
    if (!geometry_)
        return;
    std::unique_ptr<PageCanvas> document = printer_.startDocument();
    if (!document)
        return;
    PrintRun run(model_.current, *geometry_, puzzles_, *document);
    run.Print_All();
}

bool FormPrint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == TextFrom) {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            int code = 0;
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                code = 13;
            // The Delete key edits the text like Backspace; its text (DEL, 127) is no
            // character typed into the box.
            else if (key->key() != Qt::Key_Delete && !key->text().isEmpty())
                code = key->text().at(0).unicode();
            if (code != 0 && !model_.TextFrom_KeyPress(code)) {
                Refresh();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            // Focus that leaves the box for another control, not for another window.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
                model_.TextFrom_LostFocus();
                Refresh();
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tl
