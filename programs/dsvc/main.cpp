// dsvc.exe: the quorvane service SvcData.
#include <memory>

#include "programs/common/service.h"

namespace {

// Until the service has work of its own it only runs until it is stopped.
class TIdleWork : public svc::TServiceWork {
public:
    DWORD Run(HANDLE stop, const std::function<void()>& ready) override
    {
        ready();
        WaitForSingleObject(stop, INFINITE);
        return NO_ERROR;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const svc::TServiceProgram program{
        "SvcData",
        "quorvane Data Retriever",
        "The quorvane Data Retriever of quorvane.",
        [] { return std::make_unique<TIdleWork>(); },
    };
    return svc::ServiceProgramMain(program, argc, argv);
}
