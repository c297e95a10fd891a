#include "players/ui/form_namen.h"

#include "game/roster.h"
#include "platform/services.h"
#include "players/name_entry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>

namespace tl {

namespace {

constexpr int Px(int twips) { return twips / 15; }

// The most characters a name can be typed with.
constexpr int kTypedNameLength = 15;

QFont ButtonFont()
{
    QFont f;
    f.setPixelSize(11);
    f.setBold(true);
    return f;
}

QFont NameFont()
{
    QFont f("Courier New");
    f.setStyleHint(QFont::Monospace);
    f.setPointSizeF(9.75);
    f.setBold(true);
    return f;
}

} // namespace

FormNamen::FormNamen(Roster &roster, SettingsStore &settings, MessageBoxService &messages,
                     QWidget *gameWindow)
    : QDialog(gameWindow), roster_(roster), settings_(settings), messages_(messages),
      gameWindow_(gameWindow)
{
    setObjectName("FormNamen");
    setWindowTitle("Vivere Puzzles - Players");
    setModal(true);
    setFixedSize(Px(5715), Px(4620));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 192, 128));
    setPalette(pal);
    setAutoFillBackground(true);

    Label1 = new QLabel("Add or Edit Player and/or Select Player and press OK -or- Press Cancel "
                        "for Free Play (NoPlayer Selected)",
                        this);
    Label1->setObjectName("Label1");
    // The heading's two lines fit its box in a slightly smaller size than the buttons' font:
    // the fonts here run wider than the one the box was laid out for.
    Label1->setGeometry(Px(360), Px(120), Px(4815), Px(495));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    QFont labelFont = ButtonFont();
    labelFont.setPixelSize(10);
    Label1->setFont(labelFont);

    auto button = [&](QPushButton *&b, const char *name, const char *caption, int top) {
        b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(Px(120), Px(top), Px(2655), Px(495));
        b->setFont(ButtonFont());
        b->setAutoDefault(false);
    };
    button(KnopNieuweSpeler, "KnopNieuweSpeler", "&New Player", 840);
    button(KnopWijzigen, "KnopWijzigen", "&Edit Player", 1920);
    button(KnopAnnuleren, "KnopAnnuleren", "&Cancel", 2760);
    button(CommandFree, "CommandFree", "&Free Play", 3360);
    button(KnopOK, "KnopOK", "&OK", 3960);
    KnopOK->setDefault(true);

    NaamInvoerveld = new QLineEdit(this);
    NaamInvoerveld->setObjectName("NaamInvoerveld");
    NaamInvoerveld->setGeometry(Px(120), Px(1440), Px(2655), Px(375));
    NaamInvoerveld->setMaxLength(kTypedNameLength);
    NaamInvoerveld->setFont(NameFont());
    {
        QPalette p = NaamInvoerveld->palette();
        p.setColor(QPalette::Base, QColor(255, 255, 0));
        p.setColor(QPalette::Text, QColor(0, 0, 255));
        NaamInvoerveld->setPalette(p);
    }
    NaamInvoerveld->installEventFilter(this);

    NaamLijst = new QListWidget(this);
    NaamLijst->setObjectName("NaamLijst");
    NaamLijst->setGeometry(Px(2880), Px(840), Px(2655), Px(3630));
    NaamLijst->setFont(NameFont());
    NaamLijst->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(KnopOK, &QPushButton::clicked, this, &FormNamen::KnopOK_Click);
    connect(CommandFree, &QPushButton::clicked, this, &FormNamen::CommandFree_Click);
    connect(KnopAnnuleren, &QPushButton::clicked, this, &FormNamen::KnopAnnuleren_Click);
    connect(KnopNieuweSpeler, &QPushButton::clicked, this, &FormNamen::KnopNieuweSpeler_Click);
    connect(KnopWijzigen, &QPushButton::clicked, this, &FormNamen::KnopWijzigen_Click);
    connect(NaamLijst, &QListWidget::itemSelectionChanged, this, &FormNamen::NaamLijst_Click);
    connect(NaamLijst, &QListWidget::itemDoubleClicked, this, &FormNamen::NaamLijst_DblClick);

    Set_Browsing(true);
    NaamLijst_Click();
}

void FormNamen::Form_Load()
{
    if (gameWindow_)
        Centre_Over(gameWindow_->frameGeometry());
}

void FormNamen::Centre_Over(const QRect &gameWindow)
{
    move(gameWindow.left() + (gameWindow.width() - width()) / 2,
         gameWindow.top() + (gameWindow.height() - height()) / 2);
}

void FormNamen::Fill_List()
{
    NaamLijst->clear();
    for (int i = 1; i <= roster_.PlayerCount(); ++i)
        NaamLijst->addItem(QString::fromStdString(roster_.Players(i)));
}

int FormNamen::Selected_Row() const
{
    const QList<QListWidgetItem *> items = NaamLijst->selectedItems();
    return items.isEmpty() ? -1 : NaamLijst->row(items.first());
}

bool FormNamen::In_Name_Entry() const
{
    return NaamInvoerveld->isEnabled();
}

void FormNamen::Set_Browsing(bool browsing)
{
    if (browsing)
        NaamInvoerveld->setMaxLength(kTypedNameLength);
    NaamInvoerveld->setEnabled(!browsing);
    KnopNieuweSpeler->setEnabled(browsing);
    KnopAnnuleren->setEnabled(browsing);
    NaamLijst->setEnabled(browsing);
    const bool selected = browsing && Selected_Row() >= 0;
    KnopWijzigen->setEnabled(selected);
    KnopOK->setEnabled(selected);
}

void FormNamen::Form_Activate()
{
    // Every showing starts browsing, also when the last one ended during name entry.
    if (In_Name_Entry()) {
        NaamInvoerveld->clear();
        Set_Browsing(true);
    }
    NaamLijst->setFocus();
    NaamLijst->clearSelection();
    NaamLijst->setCurrentRow(-1);
    NaamLijst_Click();
}

void FormNamen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Once per modal showing: restored after minimising (a show event of the window system's
    // own), the dialog keeps its selection and the name being typed.
    if (!event->spontaneous())
        Form_Activate();
}

void FormNamen::closeEvent(QCloseEvent *event)
{
    // The dialog is never closed: its close box acts as Cancel.
    event->ignore();
    KnopAnnuleren_Click();
}

void FormNamen::reject()
{
    if (KnopAnnuleren->isEnabled())
        KnopAnnuleren_Click();
}

void FormNamen::KnopAnnuleren_Click()
{
    done(QDialog::Rejected);
}

void FormNamen::CommandFree_Click()
{
    roster_.setCurrentPlayer(0);
    Save_Current_Player(settings_, roster_);
    done(QDialog::Accepted);
}

void FormNamen::KnopOK_Click()
{
    const int row = Selected_Row();
    if (row < 0 || !roster_.setCurrentPlayer(row + 1))
        return;
    Save_Current_Player(settings_, roster_);
    done(QDialog::Accepted);
}

void FormNamen::NaamLijst_Click()
{
    const bool selected = Selected_Row() >= 0 && NaamLijst->isEnabled();
    KnopOK->setEnabled(selected);
    KnopWijzigen->setEnabled(selected);
}

void FormNamen::NaamLijst_DblClick()
{
    NaamLijst_Click();
    if (Selected_Row() >= 0)
        KnopOK_Click();
}

void FormNamen::KnopNieuweSpeler_Click()
{
    NaamLijst->clearSelection();
    NaamLijst->setCurrentRow(-1);
    Set_Browsing(false);
    NaamInvoerveld->setFocus();
}

void FormNamen::KnopWijzigen_Click()
{
    const int row = Selected_Row();
    if (row < 0)
        return;
    Set_Browsing(false);
    // A stored name may hold all 16 characters; the box shows it whole rather than cutting
    // it to what can be typed, so pressing Enter on it unchanged keeps the name.
    const QString name = QString::fromStdString(roster_.shownName(row + 1));
    NaamInvoerveld->setMaxLength(std::max<int>(kTypedNameLength, name.size()));
    NaamInvoerveld->setText(name);
    NaamInvoerveld->setFocus();
}

bool FormNamen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == NaamInvoerveld && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Name_Enter();
            return true;
        }
        if (key == Qt::Key_Escape) {
            Name_Escape();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FormNamen::Name_Escape()
{
    NaamInvoerveld->clear();
    Set_Browsing(true);
    NaamLijst->setFocus();
}

void FormNamen::Name_Enter()
{
    const int row = Selected_Row();
    const NameEntry entry =
        Enter_Name(roster_, settings_, NaamInvoerveld->text().toStdString(), row);
    if (entry.verdict != NameVerdict::Added && entry.verdict != NameVerdict::Renamed) {
        QApplication::beep();
        const NameMessage m = Rejection_Message(entry);
        messages_.show(m.title, m.text, MsgIcon::Information, MsgButtons::Ok);
        return;
    }
    const QString name = QString::fromStdString(entry.name);
    if (entry.verdict == NameVerdict::Added) {
        NaamLijst->addItem(name);
        NaamLijst->setCurrentRow(NaamLijst->count() - 1);
    } else {
        NaamLijst->item(row)->setText(name);
    }
    NaamInvoerveld->clear();
    Set_Browsing(true);
    NaamLijst->setFocus();
}

} // namespace tl
