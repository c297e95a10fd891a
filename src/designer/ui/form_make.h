// The puzzle designer's window: the 14 x 14 cell labels with their headings, the size options
// and the New, Validate, Solve and Close buttons. It shows a DesignModel and hands it every
// click. Created by the game window on first use and shown modally; Solve and Close (and the Esc
// key) hide it to be shown again, while closing its window discards it (Unloaded()).
#pragma once

#include "designer/design_model.h"

#include <QDialog>

#include <array>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tl {

class ClickLabel;

class FormMake : public QDialog {
    Q_OBJECT
public:
    FormMake(PuzzleRecord &design, bool &playingDesign, const LineTables &tables,
             MessageBoxService &messages, EventPump *pump, QWidget *parent = nullptr);

    // Centres the window on the screen and starts an empty design (creation of the designer).
    void Form_Load();

    DesignModel &model() { return model_; }
    // Brings every control in line with the model.
    void Refresh();

    std::array<ClickLabel *, kGridCells> Grid{};
    std::array<QLabel *, 2 * kMaxSide> LabelCol{}, LabelRow{};
    QGroupBox *Frame1 = nullptr;
    std::array<QRadioButton *, kSizes> OptionSize{};
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr,
                *Command4 = nullptr;

public slots:
    void Grid_MouseUp(int index);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    // The Esc key acts as Close (refused, like Close, while a validation runs).
    void reject() override;

    // True once the window was closed by its frame: the owner deletes it, and the next opening
    // creates a new designer.
    bool Unloaded() const { return unloaded_; }

protected:
    void showEvent(QShowEvent *event) override; // Form_Activate
    void closeEvent(QCloseEvent *event) override;

private:
    DesignModel model_;
    bool unloaded_ = false;
};

} // namespace tl
