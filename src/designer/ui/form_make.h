// The puzzle designer's window: the 14 x 14 cell labels with their headings, the size options
// and the New, Validate, Solve and Close buttons. It shows a DesignModel and hands it every
// click. Created by the game window on first use, shown modally and only ever hidden: by Solve,
// by Close, or by closing its window, which acts as Close.
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
    // The Esc key and closing the window by its frame act as Close (ignored while a validation
    // runs: QDialog's close event asks reject() and stays open when the dialog is still shown).
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override; // Form_Activate

private:
    DesignModel model_;
};

} // namespace tl
