// The uninstaller's side of the machine: reading what the setup recorded and
// removing one step of the plan. Nothing here raises for what it cannot do;
// the outcome says it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "installation.h"
#include "platform/rtl/handles.h"

namespace uninst {

// One uninstaller at work on a machine: two would race each other for the
// same services, keys and files. False when another one holds the lock;
// otherwise `lock` holds it until it is closed or this process ends.
bool LockOutOtherUninstallers(rtl::KernelHandle& lock);

// The vendor and product keys as the setup's own queries find them, the
// uninstall entry, the Run value and the shell folders.
TFound FindInstallation(const std::string& ownFolder);

// Whether the step's target is there now.
bool Exists(const TStep& step);

// Removes what the step names, waiting a bounded time for a service to stop.
TStepResult Remove(const TStep& step);

// A running program of the installation: process id and image path.
struct TRunning {
    DWORD Pid;
    std::string Path;
};
// The running processes whose image is one of the installation's program files.
std::vector<TRunning> RunningPrograms(const std::vector<TStep>& plan);
// Ends them, waiting a bounded time for each; false when one stays.
bool EndPrograms(const std::vector<TRunning>& programs);

// Runs the plan on this machine; setup.sql is looked for afterwards.
TResult RunPlan(const std::vector<TStep>& plan, const TFound& found, const std::function<void()>& afterServices = {});

}  // namespace uninst
