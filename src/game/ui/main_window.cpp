// The game window's controls, their places and how they show the model.
#include "game/ui/main_window.h"
#include "game/ui/main_window_aids.h"

#include "game/ui/click_label.h"
#include "players/ui/form_namen.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtMath>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tl {

namespace {

// The client area below the menu bar and above the status bar.
constexpr int kClientWidth = 700;
constexpr int kClientHeight = 572;

QColor ToQColor(Rgb c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

// Sets a label's background (and text) colour, touching the widget only when they change.
void Paint(QWidget *w, Rgb back, Rgb fore = colour::WindowText)
{
    const QColor b = ToQColor(back), f = ToQColor(fore);
    QPalette pal = w->palette();
    if (pal.color(QPalette::Window) == b && pal.color(QPalette::WindowText) == f &&
        w->autoFillBackground())
        return;
    pal.setColor(QPalette::Window, b);
    pal.setColor(QPalette::WindowText, f);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

void SetText(QLabel *label, const std::string &text)
{
    const QString t = QString::fromStdString(text);
    if (label->text() != t)
        label->setText(t);
}

QFont PixelFont(int pixels, bool bold)
{
    QFont f;
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

template <typename T> T *Named(T *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

QString Indexed(const char *name, int index)
{
    return QString("%1_%2").arg(name).arg(index);
}

} // namespace

Main::Main(Platform &platform, QWidget *parent)
    : QMainWindow(parent), platform_(platform), model_(platform.clock), sound_(platform.sound)
{
    // Ending at once: every setting and stock record was written and synced when it changed,
    // so nothing is left to save, and the exit-time teardown of the libraries (the sound
    // system's threads, the window system, static destructors) is skipped: it only delays the
    // end and can fail on its own.
    endProgram = [](int code) {
        std::fflush(nullptr);
        std::_Exit(code);
    };
    setObjectName("Main");
    setWindowTitle("Dornel's Tilloran");

    auto *client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(kClientWidth, kClientHeight);
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, ToQColor(colour::WindowBack));
    pal.setColor(QPalette::WindowText, ToQColor(colour::WindowText));
    client->setPalette(pal);
    client->setAutoFillBackground(true);
    setCentralWidget(client);

    Build_Board();
    Build_Controls();
    Build_Menus();
    Build_Play();

    // The status bar's four panels: level, size, number and best time.
    statusBar()->setSizeGripEnabled(false);
    const int widths[4] = {120, 110, 110, 0};
    for (int i = 0; i < 4; ++i) {
        StatusBar1[i] = Named(new QLabel(statusBar()), Indexed("StatusBar1", i + 1));
        StatusBar1[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        StatusBar1[i]->setContentsMargins(4, 0, 4, 0);
        if (widths[i])
            StatusBar1[i]->setFixedWidth(widths[i]);
        statusBar()->addWidget(StatusBar1[i], widths[i] ? 0 : 1);
    }

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(450);
    connect(Timer1, &QTimer::timeout, this, &Main::Timer1_Timer);

    Wire_Aids();
    Wire_Hint();
    Refresh();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

Main::~Main() = default;

void Main::Build_Board()
{
    QWidget *client = centralWidget();
    const QFont cellFont = PixelFont(15, true);
    const QFont countFont = PixelFont(12, true);

    // The 14 x 14 cells: cell (r, c) at 1320 + 360c, 1320 + 360r twips, 375 twips square, so
    // neighbours share their one-pixel border.
    for (int r = 0; r < kMaxSide; ++r) {
        for (int c = 0; c < kMaxSide; ++c) {
            const int index = r * kMaxSide + c;
            auto *cell = Named(new ClickLabel(client), Indexed("Grid", index));
            cell->setGeometry(Px(1320 + 360 * c), Px(1320 + 360 * r), Px(375), Px(375));
            cell->setFrameStyle(QFrame::Box | QFrame::Plain);
            cell->setAlignment(Qt::AlignCenter);
            cell->setFont(cellFont);
            connect(cell, &ClickLabel::mouseUp, this,
                    [this, index](Qt::MouseButton b) { Grid_MouseUp(index, b); });
            Grid[index] = cell;
        }
    }

    auto countLabel = [&](const char *name, int index, int left, int top) {
        auto *l = Named(new QLabel(client), Indexed(name, index));
        l->setGeometry(Px(left), Px(top), Px(375), Px(375));
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
        l->setAlignment(Qt::AlignCenter);
        l->setFont(countFont);
        return l;
    };
    for (int i = 0; i < kLineCount; ++i) {
        lblRowNull[i] = countLabel("lblRowNull", i, 600, 1320 + 360 * i);
        lblRowOne[i] = countLabel("lblRowOne", i, 6720, 1320 + 360 * i);
        lblColNull[i] = countLabel("lblColNull", i, 1320 + 360 * i, 600);
        lblColOne[i] = countLabel("lblColOne", i, 1320 + 360 * i, 6720);
    }
    lblNull = Named(new QLabel("0", client), "lblNull");
    lblNull->setGeometry(Px(600), Px(600), Px(375), Px(375));
    lblOne = Named(new QLabel("1", client), "lblOne");
    lblOne->setGeometry(Px(6720), Px(6720), Px(375), Px(375));
    for (QLabel *l : {lblNull, lblOne}) {
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
        l->setAlignment(Qt::AlignCenter);
        l->setFont(PixelFont(14, true));
    }

    // Pair markers: a 2 x 2 block of slots per line; uniqueness marks: one per line.
    auto marker = [&](const char *name, int index, int left, int top, int size) {
        auto *m = Named(new ClickLabel(client), Indexed(name, index));
        m->setGeometry(Px(left), Px(top), Px(size), Px(size));
        m->setFrameStyle(QFrame::Box | QFrame::Plain);
        return m;
    };
    for (int s = 0; s < 4; ++s) {
        for (int i = 0; i < kLineCount; ++i) {
            const int index = s * kLineCount + i;
            UniqueRow[index] = marker("UniqueRow", index, 300 + 120 * (s % 2),
                                      1395 + 360 * i + 120 * (s / 2), 135);
            UniqueCol[index] = marker("UniqueCol", index, 1380 + 360 * i + 120 * (s % 2),
                                      300 + 120 * (s / 2), 135);
        }
    }
    for (int i = 0; i < kLineCount; ++i) {
        Line_X[i] = marker("Line_X", i, 1440 + 360 * i, 7200, 135);
        Line_Y[i] = marker("Line_Y", i, 7200, 1440 + 360 * i, 135);
    }
    DupColor = marker("DupColor", 0, 300, 6375, 255);
    DupColor->setObjectName("DupColor");
    Label8 = Named(new QLabel("Color", client), "Label8");
    Label8->setGeometry(Px(555), Px(6375), Px(480), Px(255));
    Label8->setFont(PixelFont(11, false));
}

void Main::Build_Controls()
{
    QWidget *client = centralWidget();
    const int x = 512, w = 172;

    LabelTijd = Named(new QLabel("00:00", client), "LabelTijd");
    LabelTijd->setGeometry(x, 16, w, 44);
    LabelTijd->setAlignment(Qt::AlignCenter);
    LabelTijd->setFont(PixelFont(30, true));
    LabelTijd->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Paint(LabelTijd, colour::White);

    auto button = [&](QPushButton *&b, const char *name, const char *caption, int top) {
        b = Named(new QPushButton(caption, client), name);
        b->setGeometry(x, top, w, 28);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
    };
    button(cmdPauze, "cmdPauze", "Pause", 66);
    button(cmdNext, "cmdNext", "Next", 106);
    button(cmdOpen, "cmdOpen", "Open", 138);
    button(cmdRestart, "cmdRestart", "Restart", 178);
    button(cmdUndo, "cmdUndo", "Undo", 210);
    button(cmdRedo, "cmdRedo", "Redo", 242);
    button(cmdHint, "cmdHint", "Hint", 274);
    button(cmdSolution, "cmdSolution", "Solution", 306);
    button(cmdPlayers, "cmdPlayers", "Players...", 346);
    button(cmdHelp, "cmdHelp", "Help", 378);
    button(cmdExit, "cmdExit", "Exit", 410);

    connect(cmdNext, &QPushButton::clicked, this, &Main::cmdNext_Click);
    connect(cmdOpen, &QPushButton::clicked, this, &Main::cmdOpen_Click);
    connect(cmdPlayers, &QPushButton::clicked, this, &Main::cmdPlayers_Click);
    connect(cmdExit, &QPushButton::clicked, this, &Main::cmdExit_Click);

    // The generator's status: a caption, the set being generated, its progress and Stop.
    Label5 = Named(new QLabel("Generator Progress", client), "Label5");
    Label5->setGeometry(x, 452, w, 18);
    Label5->setFont(PixelFont(12, true));
    lblProgress = Named(new QLabel("Generating none", client), "lblProgress");
    lblProgress->setGeometry(x, 470, w, 18);
    ProgressBar1 = Named(new QProgressBar(client), "ProgressBar1");
    ProgressBar1->setGeometry(x, 490, w, 16);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    button(cmdHaltGenerator, "cmdHaltGenerator", "Stop", 510);

    // The message line: a read-only text box under the board. A hint's explanation runs to a
    // few hundred characters, so the box wraps it at word boundaries over the free band between
    // the line markers and the maker's name and scrolls the rest, a line at a time. The box is
    // as tall as the whole lines that fit in the band (three in the game's font), so no line
    // shows cut off at its bottom. The text box wants one pixel below its last line before it
    // shows all lines without a scroll bar; that pixel is the top of the next line, which holds
    // no ink.
    lblInfo = Named(new QPlainTextEdit(client), "lblInfo");
    lblInfo->setReadOnly(true);
    lblInfo->setFocusPolicy(Qt::NoFocus);
    lblInfo->setFont(PixelFont(12, true));
    lblInfo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    lblInfo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    lblInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lblInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lblInfo->document()->setDocumentMargin(0);
    {
        const int band = 50; // from below the line markers to above the maker's name
        const int around = 2 * lblInfo->frameWidth() + 1;
        const int line = qCeil(QFontMetricsF(lblInfo->font()).height());
        const int lines = std::max(1, (band - around) / line);
        lblInfo->setGeometry(20, 490, 470, lines * line + around);
    }

    // The maker's name.
    Label3 = Named(new QLabel("Dornel", client), "Label3");
    Label3->setGeometry(20, 542, 52, 20);
    Label3->setFont(PixelFont(13, true));
    Label2 = Named(new QLabel("Software", client), "Label2");
    Label2->setGeometry(72, 542, 80, 20);
    Label2->setFont(PixelFont(13, true));
    Paint(Label2, colour::WindowBack, 0x0000C0);

    // The banner shown over the board when a game ends.
    LabelSolved = Named(new QLineEdit(client), "LabelSolved");
    LabelSolved->setGeometry(70, 230, 400, 60);
    LabelSolved->setReadOnly(true);
    LabelSolved->setAlignment(Qt::AlignCenter);
    LabelSolved->setFont(PixelFont(30, true));
    LabelSolved->setFocusPolicy(Qt::NoFocus);
    {
        QPalette p = LabelSolved->palette();
        p.setColor(QPalette::Base, ToQColor(colour::Yellow));
        p.setColor(QPalette::Text, ToQColor(colour::LightRed));
        LabelSolved->setPalette(p);
    }
    LabelSolved->hide();
}

void Main::Refresh()
{
    const GameModel &m = model_;
    Refresh_Play();
    for (int i = 0; i < kGridCells; ++i) {
        SetText(Grid[i], m.Grid[i].caption);
        Paint(Grid[i], m.Grid[i].back, m.Grid[i].fore);
    }
    for (int i = 0; i < kLineCount; ++i) {
        SetText(lblRowNull[i], m.lblRowNull[i].caption);
        Paint(lblRowNull[i], m.lblRowNull[i].back);
        SetText(lblRowOne[i], m.lblRowOne[i].caption);
        Paint(lblRowOne[i], m.lblRowOne[i].back);
        SetText(lblColNull[i], m.lblColNull[i].caption);
        Paint(lblColNull[i], m.lblColNull[i].back);
        SetText(lblColOne[i], m.lblColOne[i].caption);
        Paint(lblColOne[i], m.lblColOne[i].back);
        Paint(Line_X[i], m.Aids.Line_X[i]);
        Paint(Line_Y[i], m.Aids.Line_Y[i]);
    }
    Paint(lblNull, m.lblNullBack);
    Paint(lblOne, m.lblOneBack);
    for (int i = 0; i < 4 * kLineCount; ++i) {
        Paint(UniqueRow[i], m.Aids.UniqueRow[i]);
        Paint(UniqueCol[i], m.Aids.UniqueCol[i]);
    }
    Paint(DupColor, m.Aids.DupColor);

    for (int i = 0; i < 4; ++i)
        SetText(StatusBar1[i], m.StatusPanels[i]);
    const QString info = QString::fromStdString(m.lblInfo);
    if (lblInfo->toPlainText() != info)
        lblInfo->setPlainText(info); // shown from its first line

    SetText(LabelTijd, m.LabelTijd);
    LabelSolved->setText(QString::fromStdString(m.LabelSolvedText));
    LabelSolved->setVisible(m.LabelSolvedVisible);
    if (m.LabelSolvedVisible)
        LabelSolved->raise();
    SetText(lblProgress, m.lblProgress);
    ProgressBar1->setValue(m.ProgressValue);
    if (m.Clock.Running != Timer1->isActive()) {
        if (m.Clock.Running)
            Timer1->start();
        else
            Timer1->stop();
    }

    const std::pair<QPushButton *, Command> buttons[] = {
        {cmdNext, Command::Next},         {cmdOpen, Command::Open},
        {cmdPlayers, Command::Players},   {cmdExit, Command::Exit},
        {cmdRestart, Command::Restart},   {cmdUndo, Command::Undo},
        {cmdRedo, Command::Redo},         {cmdHint, Command::Hint},
        {cmdSolution, Command::Solution}, {cmdHelp, Command::Help},
        {cmdPauze, Command::Pause},       {cmdHaltGenerator, Command::HaltGenerator}};
    for (const auto &[b, c] : buttons)
        b->setEnabled(m.enabled(c));
    Refresh_Menus();
    Refresh_Couplers();
    Refresh_Cover();
}

} // namespace tl
