// The print dialog's choices and the rules that keep them consistent, as plain data: what to
// print (level, size, puzzles per page, pages, first number, solutions), what every control of
// the dialog shows, and the choices remembered between showings. The dialog widget only shows
// `view` and hands each event to the handler of the same name.
//
// The rules keep one invariant at all times: PerPage x PageCount <= 100 and
// 1 <= FirstNumber <= 101 - PerPage x PageCount, so a print run never asks for a puzzle outside
// 1..100, whatever was typed into the From box or restored from an earlier showing.
#pragma once

#include <string>
#include <vector>

namespace tl {

struct PrintChoices {
    int PageCount = 1;
    int PerPage = 1;            // 1, 2 or 4
    bool WithSolutions = true;
    int FirstNumber = 1;        // 1..100
    int LevelChoice = 0;        // Level 0..3
    int SizeChoice = 0;         // SizeIndex 0..3

    bool operator==(const PrintChoices &) const = default;
};

// What the dialog's controls show.
struct PrintDialogView {
    int PageSlider = 1;         // the slider's value
    int PageSliderMax = 100;
    std::string Label1;         // the scale under the slider
    std::string Frame2 = "Pages";
    int OptionAantal = 0;       // the selected option: 0, 1, 2 for 1, 2, 4 per page
    bool CheckSolution = true;
    std::string TextFrom = "1";
    std::string LabelTo = "to 1";
    int BinPuzTypeKeuze = 0;    // level list index
    int BinPuzFormaatKeuze = 0; // size list index
    std::string Preview;        // file name of the example picture, in the program folder
    bool RangeEnabled = true;   // Label3, TextFrom and LabelTo
};

// The file name of the example picture for a layout, for example "PRN2S.GIF".
std::string PreviewFileName(int perPage, bool withSolutions);
// The slider's maximum and the scale under it for a number of puzzles per page.
int SliderMaximum(int perPage);
std::string SliderScale(int perPage);

// Decimal value of the number a text starts with, after leading blanks: digits with an optional
// sign and decimal part; 0 when the text starts with no number.
double LeadingNumber(const std::string &text);

class PrintDialogModel {
public:
    PrintDialogModel();

    PrintChoices current; // PageCount, PerPage, ... as the handlers keep them
    PrintChoices saved;   // the choices remembered between showings
    bool Updating = false;
    PrintDialogView view;

    // Loading: the remembered choices start as the defaults.
    void Form_Load();
    // The start of every showing: the remembered choices become the current ones and are put
    // into the controls, with the slider's range, its scale and the example picture that belong
    // to them. Leaves `Updating` set until the printer is ready.
    void Restore_Choices();
    // The printer was set up: the handlers work again.
    void Printer_Ready() { Updating = false; }

    void PageSlider_Change(int value);
    void OptionAantal_Click(int index);
    void CheckSolution_Click(bool ticked);
    // A key typed into the From box; false when the key is swallowed. Enter is swallowed and
    // applies the text; digits and control keys pass; every other character is swallowed.
    bool TextFrom_KeyPress(int keyAscii);
    // The From box's text as the user left it (typing, pasting, deleting).
    void TextFrom_Change(const std::string &text) { view.TextFrom = text; }
    void TextFrom_LostFocus() { Update_Range(); }
    void BinPuzTypeKeuze_Click(int index);
    void BinPuzFormaatKeuze_Click(int index);
    // Close (also Esc and the window's close box): remembers the choices.
    void Command1_Click() { saved = current; }
    // Print: remembers the choices before anything is printed.
    void Command2_Click() { saved = current; }
    void Update_Range();

    // The puzzle numbers of a print run of the current choices, page after page, slot after
    // slot.
    std::vector<int> Run_Numbers() const;

private:
    void Show_Layout();
    int Count() const { return current.PerPage * current.PageCount; }
};

} // namespace tl
