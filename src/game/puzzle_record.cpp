#include "game/puzzle_record.h"

namespace tl {

namespace {

struct Writer {
    std::uint8_t *p;
    void put(std::int16_t v)
    {
        const auto u = static_cast<std::uint16_t>(v);
        *p++ = static_cast<std::uint8_t>(u & 0xFF);
        *p++ = static_cast<std::uint8_t>(u >> 8);
    }
    void put(const CellGrid &g)
    {
        for (std::int16_t v : g)
            put(v);
    }
};

struct Reader {
    const std::uint8_t *p;
    std::int16_t get()
    {
        const auto u = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
        p += 2;
        return static_cast<std::int16_t>(u);
    }
    void get(CellGrid &g)
    {
        for (std::int16_t &v : g)
            v = get();
    }
};

} // namespace

void EncodeRecord(const PuzzleRecord &r, std::uint8_t *out)
{
    Writer w{out};
    w.put(r.Level);
    w.put(r.SizeIndex);
    w.put(r.Number);
    w.put(r.Reserved);
    w.put(r.StartCells);
    w.put(r.SolutionCells);
    w.put(r.BestMin);
    w.put(r.BestSec);
    w.put(r.BestPlayer);
    w.put(r.ExtraCells);
    w.put(r.HeavyCount);
}

PuzzleRecord DecodeRecord(const std::uint8_t *in)
{
    PuzzleRecord r;
    Reader rd{in};
    r.Level = rd.get();
    r.SizeIndex = rd.get();
    r.Number = rd.get();
    r.Reserved = rd.get();
    rd.get(r.StartCells);
    rd.get(r.SolutionCells);
    r.BestMin = rd.get();
    r.BestSec = rd.get();
    r.BestPlayer = rd.get();
    rd.get(r.ExtraCells);
    r.HeavyCount = rd.get();
    return r;
}

} // namespace tl
