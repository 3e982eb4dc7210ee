// The wizard's rules that need no window: when stage 1 is complete, which
// connection fields a choice of components needs, the default folder.
#pragma once

#include <string>

// The components ticked in stage 1.
struct TComponentChoice {
    bool Server = false;   // "Service and Application"
    bool Agent = false;    // "Agent (server must be up)"
    bool UserApp = false;  // "User Application"
};

// At least one component and a destination folder.
bool StageOneComplete(const TComponentChoice& choice, const std::string& folder);

// The connection fields that stage 2 enables (and fills) for a choice.
struct TConnectionFields {
    bool Host = false, Server = false, Client = false, Local = false, Data = false;
    bool operator==(const TConnectionFields&) const = default;
};

// Server: all five; else agent: host and server port; else the data port only.
TConnectionFields ConnectionFieldsFor(const TComponentChoice& choice);

// ProgramFiles + "\Bsk\quorvane", joined as it is.
std::string DefaultDestinationFolder(const std::string& programFiles);
