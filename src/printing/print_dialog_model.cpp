#include "printing/print_dialog_model.h"

#include "game/global_helpers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace tl {

namespace {

constexpr int kPerPageOfOption[3] = {1, 2, 4};

int OptionOfPerPage(int perPage)
{
    switch (perPage) {
    case 1: return 0;
    case 2: return 1;
    case 4: return 2;
    default: return -1;
    }
}

// The whole number nearest to `value`, halves to even, limited to the range of a 16-bit
// integer: a number typed beyond it counts as the largest (or smallest) one.
int ToShort(double value)
{
    const double rounded = std::nearbyint(value);
    return static_cast<int>(std::clamp(rounded, -32768.0, 32767.0));
}

} // namespace

std::string PreviewFileName(int perPage, bool withSolutions)
{
    return "PRN" + std::to_string(perPage) + (withSolutions ? "S" : "") + ".GIF";
}

int SliderMaximum(int perPage)
{
    return perPage == 2 ? 50 : perPage == 4 ? 25 : 100;
}

std::string SliderScale(int perPage)
{
    switch (perPage) {
    case 2: return "1       10        20        30        40        50";
    case 4: return "1        5         10        15        20        25";
    default: return "1       20        40        60        80       100";
    }
}

double LeadingNumber(const std::string &text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    // Only a plain decimal number counts: no exponent, no hexadecimal, no "inf" or "nan".
    std::size_t end = i;
    if (end < text.size() && (text[end] == '+' || text[end] == '-'))
        ++end;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
        ++end;
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
            ++end;
    }
    const std::string number = text.substr(i, end - i);
    return number.empty() ? 0.0 : std::strtod(number.c_str(), nullptr);
}

PrintDialogModel::PrintDialogModel()
{
    view.Label1 = SliderScale(1);
    view.Preview = PreviewFileName(1, true);
}

void PrintDialogModel::Form_Load()
{
    saved = PrintChoices{};
}

void PrintDialogModel::Show_Layout()
{
    view.PageSliderMax = SliderMaximum(current.PerPage);
    view.Label1 = SliderScale(current.PerPage);
    view.Preview = PreviewFileName(current.PerPage, current.WithSolutions);
}

void PrintDialogModel::Restore_Choices()
{
    Updating = true;
    current = saved;
    // Remembered choices always keep the invariant; a damaged copy is brought back into it
    // rather than trusted.
    if (OptionOfPerPage(current.PerPage) < 0)
        current.PerPage = 1;
    current.PageCount = std::clamp(current.PageCount, 1, SliderMaximum(current.PerPage));
    current.FirstNumber = std::clamp(current.FirstNumber, 1, 101 - Count());
    current.LevelChoice = std::clamp(current.LevelChoice, 0, 3);
    current.SizeChoice = std::clamp(current.SizeChoice, 0, 3);

    // The slider's range, its scale and the picture belong to the restored layout, so that the
    // slider can never offer more pages than the layout allows.
    Show_Layout();
    view.PageSlider = current.PageCount;
    view.OptionAantal = OptionOfPerPage(current.PerPage);
    view.CheckSolution = current.WithSolutions;
    view.TextFrom = " " + std::to_string(current.FirstNumber);
    view.BinPuzTypeKeuze = current.LevelChoice;
    view.BinPuzFormaatKeuze = current.SizeChoice;
    view.RangeEnabled = true;
}

void PrintDialogModel::PageSlider_Change(int value)
{
    if (Updating)
        return;
    value = std::clamp(value, 1, view.PageSliderMax);
    view.PageSlider = value;
    current.PageCount = value;
    Update_Range();
    view.Frame2 = "Pages (" + std::to_string(value) + ")";
}

void PrintDialogModel::OptionAantal_Click(int index)
{
    if (Updating || index < 0 || index > 2)
        return;
    Updating = true;
    double from = LeadingNumber(view.TextFrom);
    if (from < 1)
        from = 1;
    const int total = Count();

    current.PerPage = kPerPageOfOption[index];
    view.OptionAantal = index;
    Show_Layout();

    const int pages = std::clamp(total / current.PerPage, 1, view.PageSliderMax);
    view.PageSlider = pages;
    current.PageCount = pages;
    view.Frame2 = "Pages (" + std::to_string(pages) + ")";

    int first = from > 101 ? 101 : static_cast<int>(std::nearbyint(from));
    if (first + Count() > 101) {
        first = 101 - Count();
        view.TextFrom = std::to_string(first);
    }
    current.FirstNumber = first;
    view.LabelTo = "to " + std::to_string(first + Count() - 1);
    Updating = false;
}

void PrintDialogModel::CheckSolution_Click(bool ticked)
{
    if (Updating)
        return;
    current.WithSolutions = ticked;
    view.CheckSolution = ticked;
    view.Preview = PreviewFileName(current.PerPage, ticked);
}

bool PrintDialogModel::TextFrom_KeyPress(int keyAscii)
{
    if (keyAscii == 13) {
        Update_Range();
        return false;
    }
    if (keyAscii >= '0' && keyAscii <= '9')
        return true;
    return keyAscii < 32;
}

void PrintDialogModel::BinPuzTypeKeuze_Click(int index)
{
    if (Updating || index < 0 || index > 3)
        return;
    current.LevelChoice = index;
    view.BinPuzTypeKeuze = index;
}

void PrintDialogModel::BinPuzFormaatKeuze_Click(int index)
{
    if (Updating || index < 0 || index > 3)
        return;
    current.SizeChoice = index;
    view.BinPuzFormaatKeuze = index;
}

void PrintDialogModel::Update_Range()
{
    std::string text = Trim_Trailing_Spaces(view.TextFrom);
    if (text.empty())
        text = "1";
    int from = ToShort(LeadingNumber(text));
    if (from < 2) {
        from = 1;
        view.TextFrom = "1";
    }
    const int count = Count();
    if (from + count > 101) {
        from = 101 - count;
        view.TextFrom = std::to_string(from);
    }
    current.FirstNumber = from;
    view.LabelTo = "to " + std::to_string(from + count - 1);
    view.RangeEnabled = true;
}

std::vector<int> PrintDialogModel::Run_Numbers() const
{
    std::vector<int> numbers;
    for (int page = 1; page <= current.PageCount; ++page)
        for (int slot = 1; slot <= current.PerPage; ++slot)
            numbers.push_back(current.FirstNumber + (page - 1) * current.PerPage + slot - 1);
    return numbers;
}

} // namespace tl
