// The players dialog: choose who is playing or free play, add players and give them new names.
// One instance lives for the whole run; it is shown modally and only ever hidden.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tl {

class MessageBoxService;
class Roster;
class SettingsStore;

class FormNamen : public QDialog {
    Q_OBJECT
public:
    FormNamen(Roster &roster, SettingsStore &settings, MessageBoxService &messages,
              QWidget *gameWindow);

    // Places the dialog centred over the game window (loading it shows nothing).
    void Form_Load();
    void Centre_Over(const QRect &gameWindow);
    // Fills the list with the roster's names, player 1 first (once, at start-up).
    void Fill_List();

    // The selected row, or -1 when none is.
    int Selected_Row() const;
    // True while a name is being typed.
    bool In_Name_Entry() const;

    QLabel *Label1 = nullptr;
    QPushButton *KnopNieuweSpeler = nullptr, *KnopWijzigen = nullptr, *KnopAnnuleren = nullptr,
                *CommandFree = nullptr, *KnopOK = nullptr;
    QLineEdit *NaamInvoerveld = nullptr;
    QListWidget *NaamLijst = nullptr;

public slots:
    void KnopOK_Click();
    void CommandFree_Click();
    void KnopAnnuleren_Click();
    void KnopNieuweSpeler_Click();
    void KnopWijzigen_Click();
    void NaamLijst_Click();
    void NaamLijst_DblClick();
    void reject() override; // the Esc key: Cancel while Cancel is usable

protected:
    void showEvent(QShowEvent *event) override;   // Form_Activate
    void closeEvent(QCloseEvent *event) override; // Form_QueryUnload
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Activate();
    void Name_Enter();
    void Name_Escape();
    void Set_Browsing(bool browsing);

    Roster &roster_;
    SettingsStore &settings_;
    MessageBoxService &messages_;
    QWidget *gameWindow_;
};

} // namespace tl
