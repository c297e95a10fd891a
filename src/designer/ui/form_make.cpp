#include "designer/ui/form_make.h"

#include "game/ui/click_label.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>

namespace tl {

namespace {

constexpr int Px(int twips) { return twips / 15; }

QColor ToQColor(Rgb c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

void Paint(QWidget *w, Rgb back, Rgb fore)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, ToQColor(back));
    pal.setColor(QPalette::WindowText, ToQColor(fore));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

QFont LabelFont()
{
    // Arial's metrics where the wide Unicode face is missing (fonts-liberation provides them).
    QFont f;
    f.setFamilies({"Arial Unicode MS", "Arial", "Liberation Sans"});
    f.setPixelSize(16); // 12 pt
    f.setBold(true);
    return f;
}

// A button drawn in its own colour. Disabled, it is drawn washed out towards grey with grey
// text, so that a disabled button never looks usable.
QString ButtonStyle(QColor c)
{
    const QColor grey(200, 200, 200);
    const QColor washed((c.red() + 2 * grey.red()) / 3, (c.green() + 2 * grey.green()) / 3,
                        (c.blue() + 2 * grey.blue()) / 3);
    return QString("QPushButton { background-color: %1; color: black; border: 1px solid #404040;"
                   " font-weight: bold; }"
                   "QPushButton:pressed { background-color: %2; }"
                   "QPushButton:disabled { background-color: %3; color: #8c8c8c;"
                   " border: 1px solid #a0a0a0; }")
        .arg(c.name(), c.darker(120).name(), washed.name());
}

} // namespace

FormMake::FormMake(PuzzleRecord &design, bool &playingDesign, const LineTables &tables,
                   MessageBoxService &messages, EventPump *pump, QWidget *parent)
    : QDialog(parent), model_(design, playingDesign, tables, messages, pump)
{
    setObjectName("FormMake");
    setWindowTitle("Dornel's Tilloran - Design");
    setModal(true);
    setFixedSize(Px(7350), Px(5790));
    Paint(this, colour::DesignerBack, colour::WindowText);
    const QFont font = LabelFont();

    for (int i = 0; i < kGridCells; ++i) {
        const int row = i / kMaxSide, column = i % kMaxSide;
        auto *cell = new ClickLabel(this);
        cell->setObjectName(QString("Grid_%1").arg(i));
        cell->setGeometry(Px(345 + 360 * column), Px(345 + 360 * row), Px(375), Px(375));
        cell->setFrameStyle(QFrame::Box | QFrame::Plain);
        cell->setAlignment(Qt::AlignCenter);
        cell->setFont(font);
        connect(cell, &ClickLabel::mouseUp, this, [this, i](Qt::MouseButton) { Grid_MouseUp(i); });
        Grid[i] = cell;
    }

    // Headings above and below every column ("1" to "14"), left and right of every row ("A" to
    // "N"), all fourteen whatever the size, in the system's window colours.
    auto heading = [&](const char *name, int index, const QString &text, int left, int top) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString("%1_%2").arg(name).arg(index));
        l->setGeometry(Px(left), Px(top), Px(375), Px(375));
        l->setAlignment(Qt::AlignCenter);
        l->setFont(font);
        Paint(l, colour::SystemWindow, colour::SystemWindowText);
        return l;
    };
    for (int k = 0; k < kMaxSide; ++k) {
        const QString number = QString::number(k + 1), letter = QChar('A' + k);
        const int at = 345 + 360 * k;
        LabelCol[k] = heading("LabelCol", k, number, at, 0);
        LabelCol[kMaxSide + k] = heading("LabelCol", kMaxSide + k, number, at, 5400);
        LabelRow[k] = heading("LabelRow", k, letter, 0, at);
        LabelRow[kMaxSide + k] = heading("LabelRow", kMaxSide + k, letter, 5400, at);
    }

    Frame1 = new QGroupBox("Size", this);
    Frame1->setObjectName("Frame1");
    Frame1->setGeometry(Px(5880), Px(240), Px(1335), Px(1815));
    Paint(Frame1, colour::DesignerBack, colour::WindowText);
    QFont optionFont;
    optionFont.setFamilies({"Arial", "Liberation Sans"});
    optionFont.setPixelSize(11);
    Frame1->setFont(optionFont);
    const char *sizes[kSizes] = {"8 x 8", "10 x 10", "12 x 12", "14 x 14"};
    for (int i = 0; i < kSizes; ++i) {
        OptionSize[i] = new QRadioButton(sizes[i], Frame1);
        OptionSize[i]->setObjectName(QString("OptionSize_%1").arg(i));
        OptionSize[i]->setGeometry(Px(240), Px(240 + 360 * i), Px(855), Px(375));
        connect(OptionSize[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                model_.Choose_Size(i);
        });
    }

    auto button = [&](QPushButton *&b, const char *name, const char *caption, int top,
                      QColor colour) {
        b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(Px(5880), Px(top), Px(1335), Px(375));
        b->setAutoDefault(false);
        b->setStyleSheet(ButtonStyle(colour));
    };
    button(Command1, "Command1", "New", 2160, QColor(0, 192, 192));
    button(Command2, "Command2", "Validate", 2760, QColor(255, 128, 0));
    button(Command3, "Command3", "Solve", 3360, QColor(0, 255, 0));
    button(Command4, "Command4", "Close", 5040, QColor(255, 0, 0));
    connect(Command1, &QPushButton::clicked, this, &FormMake::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FormMake::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FormMake::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &FormMake::Command4_Click);

    model_.onChange = [this] { Refresh(); };
}

void FormMake::Form_Load()
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - frameGeometry().width()) / 2,
             area.y() + (area.height() - frameGeometry().height()) / 2);
    }
    model_.Init_Design();
    Refresh();
}

void FormMake::Refresh()
{
    for (int i = 0; i < kGridCells; ++i) {
        const CellView &view = model_.Grid[i];
        ClickLabel *cell = Grid[i];
        const QString caption = QString::fromStdString(view.caption);
        if (cell->text() != caption)
            cell->setText(caption);
        const QPalette pal = cell->palette();
        if (!cell->autoFillBackground() || pal.color(QPalette::Window) != ToQColor(view.back) ||
            pal.color(QPalette::WindowText) != ToQColor(view.fore))
            Paint(cell, view.back, view.fore);
    }
    for (int i = 0; i < kSizes; ++i) {
        const QSignalBlocker block(OptionSize[i]);
        OptionSize[i]->setChecked(i == model_.OptionSize);
    }
    Frame1->setEnabled(model_.IdleEnabled());
    Command1->setEnabled(model_.IdleEnabled());
    Command2->setEnabled(model_.ValidateEnabled());
    Command3->setEnabled(model_.SolveEnabled());
    Command4->setEnabled(model_.IdleEnabled());
}

void FormMake::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Every showing starts an empty design of the chosen size; restored after minimising (a
    // show event of the window system's own) the window keeps its design.
    if (!event->spontaneous() && model_.Init_Design())
        Refresh();
}

void FormMake::Grid_MouseUp(int index)
{
    if (model_.Grid_MouseUp(index))
        Refresh();
}

void FormMake::Command1_Click()
{
    if (model_.Command1_Click())
        Refresh();
}

void FormMake::Command2_Click()
{
    model_.Command2_Click();
    Refresh();
}

void FormMake::Command3_Click()
{
    if (model_.Command3_Click())
        done(QDialog::Accepted);
}

void FormMake::Command4_Click()
{
    if (model_.Command4_Click())
        done(QDialog::Rejected);
}

void FormMake::reject()
{
    Command4_Click();
}

void FormMake::closeEvent(QCloseEvent *event)
{
    // Never in the middle of a validation: the solver runs inside this window's handler.
    if (model_.Busy()) {
        event->ignore();
        return;
    }
    // Closed by its frame, the designer leaves PlayingDesign as the game window set it and is
    // done with: the next opening loads a new one, with the first size chosen again.
    event->accept();
    unloaded_ = true;
    done(QDialog::Rejected);
}

} // namespace tl
