// A recording fake of the game window as the hint engine sees it: every call is kept in order,
// with the state it leaves (cell colours, the message line, the coupler lines, the cover).
#pragma once

#include "hints/hint_engine.h"

#include <map>
#include <string>
#include <vector>

namespace tl::test {

class RecordingHintWindow : public HintWindow {
public:
    enum class Call { Resume, Colour, Info, AddCoupler, UnloadCouplers, Penalty, Speel };
    struct Event {
        Call call = Call::Info;
        int value = 0;      // GridIndex (Colour), seconds (Penalty), MMID (Speel)
        Rgb colour = 0;     // Colour
        std::string text;   // Info
        CouplerLine line{}; // AddCoupler
    };

    // ---- Settable before a request ----------------------------------------------------------
    bool shield = false; // the cover is shown (the game is paused)

    // ---- What the engine did, in order -------------------------------------------------------
    std::vector<Event> events;

    // ---- The state it left --------------------------------------------------------------------
    std::map<int, Rgb> colours;         // GridIndex -> last colour set
    std::string info;                   // the message line
    std::vector<CouplerLine> couplers;  // the loaded coupler lines, element 1 first
    int resumes = 0;                    // calls of Picture1_Click

    // The HintWindow interface.
    bool ShieldVisible() const override { return shield; }
    void Picture1_Click() override;
    void SetCellColour(int gridIndex, Rgb colour) override;
    void SetInfo(const std::string &text) override;
    void AddCoupler(const CouplerLine &line) override;
    int CouplerCount() const override { return static_cast<int>(couplers.size()); }
    void UnloadCouplers() override;
    void Penalty(int Strafseconden) override;
    void Speel(int MMID) override;

    // ---- Summaries for tests ------------------------------------------------------------------
    // GridIndexes coloured `colour`, in the order they were coloured.
    std::vector<int> Coloured(Rgb colour) const;
    std::vector<int> Penalties() const;
    std::vector<int> Sounds() const;
    // Every text written to the message line, in order.
    std::vector<std::string> Infos() const;
    // The calls alone, in order.
    std::vector<Call> Calls() const;
    // Forgets everything recorded (the cover and the state stay).
    void ClearEvents() { events.clear(); }
};

} // namespace tl::test
