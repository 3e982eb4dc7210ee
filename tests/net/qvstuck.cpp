// A service built on the service skeleton whose work ignores the stop
// request: the skeleton must still report it stopped, within its bounded wait.
#include "programs/common/service.h"

namespace {

class TStuckWork : public svc::TServiceWork {
public:
    DWORD Run(HANDLE, const std::function<void()>& ready) override
    {
        ready();
        Sleep(120000);  // bounded all the same: a forgotten fixture ends by itself
        return NO_ERROR;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const svc::TServiceProgram program{"QvStuckSvc", "quorvane stuck test service", "Ignores stop requests.",
                                       [] { return std::make_unique<TStuckWork>(); }};
    return svc::ServiceProgramMain(program, argc, argv);
}
