// Collecting this computer's inventory: name, Windows version, processors,
// memory, drives, network adapters and installed programs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "inventory_text.h"

namespace inv {

constexpr unsigned DefaultProbeTimeoutMs = 15000;

struct TProbe {
    std::string Section;
    std::function<void(TSection&)> Run;  // fills the section's lines; may raise
};

// Runs the probes side by side, each on a thread of its own, and waits at
// most timeoutMs for all of them. A probe that raises or does not finish in
// time gives its section the one line "Error=..." instead; a late probe's
// thread is left to end on its own and its result is dropped.
std::vector<TSection> RunProbes(const std::vector<TProbe>& probes, unsigned timeoutMs);

// The probes of this computer, in the order of the inventory.
std::vector<TProbe> ComputerProbes();

// The whole inventory as lines.
rtl::TStringList CollectInventory(unsigned probeTimeoutMs = DefaultProbeTimeoutMs);

// This computer's name as the network knows it.
std::string ComputerName();

}  // namespace inv
