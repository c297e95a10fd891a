#include "support/recording_hint_window.h"

namespace tl::test {

namespace {

RecordingHintWindow::Event Record(RecordingHintWindow::Call call, int value = 0)
{
    RecordingHintWindow::Event e;
    e.call = call;
    e.value = value;
    return e;
}

} // namespace

void RecordingHintWindow::Picture1_Click()
{
    shield = false;
    ++resumes;
    events.push_back(Record(Call::Resume));
}

void RecordingHintWindow::SetCellColour(int gridIndex, Rgb colour)
{
    colours[gridIndex] = colour;
    Event e = Record(Call::Colour, gridIndex);
    e.colour = colour;
    events.push_back(e);
}

void RecordingHintWindow::SetInfo(const std::string &text)
{
    info = text;
    Event e = Record(Call::Info);
    e.text = text;
    events.push_back(e);
}

void RecordingHintWindow::AddCoupler(const CouplerLine &line)
{
    couplers.push_back(line);
    Event e = Record(Call::AddCoupler);
    e.line = line;
    events.push_back(e);
}

void RecordingHintWindow::UnloadCouplers()
{
    couplers.clear();
    events.push_back(Record(Call::UnloadCouplers));
}

void RecordingHintWindow::Penalty(int Strafseconden)
{
    events.push_back(Record(Call::Penalty, Strafseconden));
}

void RecordingHintWindow::Speel(int MMID)
{
    events.push_back(Record(Call::Speel, MMID));
}

std::vector<int> RecordingHintWindow::Coloured(Rgb colour) const
{
    std::vector<int> out;
    for (const Event &e : events)
        if (e.call == Call::Colour && e.colour == colour)
            out.push_back(e.value);
    return out;
}

// The values of the events of one kind, in order.
static std::vector<int> ValuesOf(const std::vector<RecordingHintWindow::Event> &events,
                                 RecordingHintWindow::Call call)
{
    std::vector<int> out;
    for (const RecordingHintWindow::Event &e : events)
        if (e.call == call)
            out.push_back(e.value);
    return out;
}

std::vector<int> RecordingHintWindow::Penalties() const { return ValuesOf(events, Call::Penalty); }

std::vector<int> RecordingHintWindow::Sounds() const { return ValuesOf(events, Call::Speel); }

std::vector<std::string> RecordingHintWindow::Infos() const
{
    std::vector<std::string> out;
    for (const Event &e : events)
        if (e.call == Call::Info)
            out.push_back(e.text);
    return out;
}

std::vector<RecordingHintWindow::Call> RecordingHintWindow::Calls() const
{
    std::vector<Call> out;
    for (const Event &e : events)
        out.push_back(e.call);
    return out;
}

} // namespace tl::test
