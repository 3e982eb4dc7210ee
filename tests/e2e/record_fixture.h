// The lines of a component record as the setup's registration writes them,
// with the wizard's default settings, for the fixtures that lay records down.
#pragma once

#include <string>

#include "registry/ureg.h"

// Which of the connection and database lines a component's record carries.
struct TRecordShape {
    bool host, local, database, rdcPath;
};

inline void AddDefaultRecord(ureg::TSetReg& reg, const std::string& displayName, const std::string& guid,
                             const std::string& source, const TRecordShape& shape)
{
    reg.Add("DisplayName=" + displayName);
    reg.Add("Id=" + guid);
    reg.Add("FileVersion=1.0.0.0");
    reg.Add("ProductVersion=1.0.0.0");
    reg.Add("Uninstall=1.0.0.0");
    reg.Add("Source=" + source);
    if (shape.host) {
        reg.Add("Host=127.0.0.1");
        reg.Add("Server=1991");
        reg.Add("Client=1881");
    }
    if (shape.local) reg.Add("Local=1771");
    reg.Add("Data=1661");
    if (shape.database) {
        reg.Add("HostName=localhost");
        reg.Add("DataBase=zpprf");
        reg.Add("User_Name=ontzuq");
        reg.Add("Password=tovendu");
    }
    if (shape.rdcPath) reg.Add("RdcPath=");
}
