#include "uscm.h"

SC_HANDLE TSvcMan::Handle()
{
    if (!handle_) handle_.reset(OpenSCManagerA(nullptr, SERVICES_ACTIVE_DATABASEA, access_));
    return handle_.get();
}

TSvcMan& TSvc::Manager()
{
    if (!manager_) manager_ = std::make_unique<TSvcMan>(access_);
    return *manager_;
}

SC_HANDLE TSvc::Handle()
{
    if (!handle_) {
        if (SC_HANDLE manager = Manager().Handle()) handle_.reset(OpenServiceA(manager, serviceName_.c_str(), access_));
    }
    return handle_.get();
}

DWORD TSvc::Start()
{
    // The request goes out even without a handle; the system then answers
    // with its invalid-handle error, which is what the caller reports.
    if (StartServiceA(Handle(), 0, nullptr)) return ERROR_SUCCESS;
    return GetLastError();
}
