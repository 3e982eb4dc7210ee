#include "rcidata.h"

namespace rci {

const char* const ProgramNames[ProgramCount] = {"Uninstall.exe", "dsvc.exe", "uload.exe", "csvc.exe", "zev.exe"};

namespace {

std::string Num(std::uint64_t n)
{
    return std::to_string(n);
}

}  // namespace

TLayout ReadLayout(std::uint64_t fileSize, const TReadAt& read)
{
    TLayout layout;
    layout.FileSize = fileSize;
    std::uint64_t offset = 0;
    // Once a length field cannot be trusted, nothing after it has a known place.
    bool lost = false;
    for (int i = 0; i < ProgramCount; ++i) {
        TEntry e;
        e.Position = i + 1;
        e.Name = ProgramNames[i];
        e.Offset = offset;
        const std::uint64_t left = fileSize - offset;
        if (lost) {
            e.Problem = "not found: an earlier entry is damaged";
        } else if (left == 0) {
            e.Problem = "missing: the file ends at byte " + Num(offset);
            lost = true;
        } else if (left < LengthFieldSize) {
            e.Problem = "cut off: its length field has " + Num(left) + " of 8 bytes";
            lost = true;
        } else {
            unsigned char field[LengthFieldSize];
            if (!read(offset, field, sizeof field)) {
                e.Problem = "its length field cannot be read";
                lost = true;
            } else {
                for (int b = 7; b >= 0; --b) e.Size = (e.Size << 8) | field[b];
                const std::uint64_t present = left - LengthFieldSize;
                unsigned char head[2] = {0, 0};
                if (e.Size == 0 || e.Size > MaxProgramSize) {
                    e.Problem = "its length field (" + Num(e.Size) + ") is no program size";
                    lost = true;
                } else if (e.Size > present) {
                    e.Problem = "cut off: " + Num(e.Size) + " bytes announced, " + Num(present) + " present";
                    lost = true;
                } else if (e.Size < 2 || !read(e.DataOffset(), head, sizeof head) || head[0] != 'M' || head[1] != 'Z') {
                    // The place is known, so the entries after it can still be checked.
                    e.Problem = "not a Windows program (no MZ header)";
                } else {
                    e.Sound = true;
                }
                if (!lost) offset = e.DataOffset() + e.Size;
            }
        }
        if (!e.Sound && layout.Problem.empty())
            layout.Problem = "Program " + Num(static_cast<std::uint64_t>(e.Position)) + " (" + e.Name + "): " + e.Problem;
        layout.Entries.push_back(std::move(e));
    }
    if (!lost && offset < fileSize && layout.Problem.empty())
        layout.Problem = Num(fileSize - offset) + " bytes follow the last program";
    layout.Sound = layout.Problem.empty();
    return layout;
}

std::string DescribeEntry(const TEntry& entry)
{
    const std::string line = Num(static_cast<std::uint64_t>(entry.Position)) + "  " + entry.Name + "  ";
    // A damaged entry's problem already names the sizes that matter.
    return line + (entry.Sound ? Num(entry.Size) + " bytes  sound" : entry.Problem);
}

}  // namespace rci
