// rci.dat, the remote installation data the setup leaves beside the server
// application: the five client programs one after another, each an 8-byte
// little-endian length and then the program's bytes, with no header and no
// names; the programs are told apart by position only. Reading checks the
// layout and never trusts a length field. Pure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rci {

constexpr int ProgramCount = 5;
// The programs in their order in the file.
extern const char* const ProgramNames[ProgramCount];
// A record's size is 32-bit; anything near this is damage, not a program.
constexpr std::uint64_t MaxProgramSize = 256ull * 1024 * 1024;
constexpr std::uint64_t LengthFieldSize = 8;

// Reads exactly count bytes at offset; false when that is not possible.
using TReadAt = std::function<bool(std::uint64_t offset, void* buffer, std::size_t count)>;

struct TEntry {
    int Position = 0;          // 1 to ProgramCount
    std::string Name;          // the file name the program is written out under
    std::uint64_t Offset = 0;  // of its length field
    std::uint64_t Size = 0;    // what its length field says (0 when not read)
    bool Sound = false;
    std::string Problem;       // why it is not sound

    std::uint64_t DataOffset() const { return Offset + LengthFieldSize; }
};

struct TLayout {
    std::uint64_t FileSize = 0;
    std::vector<TEntry> Entries;  // always ProgramCount, in file order
    bool Sound = false;           // every entry sound and nothing after the last
    std::string Problem;          // the first fault found, for the file as a whole
};

TLayout ReadLayout(std::uint64_t fileSize, const TReadAt& read);

// One line for a person: "1  Uninstall.exe  849408 bytes  sound".
std::string DescribeEntry(const TEntry& entry);

}  // namespace rci
