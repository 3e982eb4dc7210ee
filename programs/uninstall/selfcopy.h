// Uninstall.exe runs from a copy in a private temporary folder, so that the
// original and its folder can be removed. The copy is opened for deletion on
// close by the original and inherits that handle: it goes when the copy ends.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/rtl/handles.h"

namespace uninst {

struct TCopyRun {
    rtl::KernelHandle Process;
    std::string Folder;  // the private temporary folder
};

// Makes the copy and starts it with the original's arguments and
// "/origin PATH /parent PID". False, with the reason, when it could not.
bool StartCopy(const std::vector<std::string>& args, TCopyRun& run, std::string& error);

// The copy's folder, once the copy has ended and its file is gone; bounded.
void RemoveCopyFolder(const std::string& folder);

// The copy's folder, removed at the next restart (the copy's file is gone by then).
void ScheduleFolderRemoval(const std::string& folder);

// In the copy: waits, bounded, for the original to end.
void WaitForOriginal(unsigned long pid);

// The original's file while the original may still be running (waiting for
// the copy's exit code): moved out of the destination folder into the copy's
// folder and removed at the next restart, with that folder. True when it is
// out of the destination folder.
bool ParkRunningFile(const std::string& path);

}  // namespace uninst
