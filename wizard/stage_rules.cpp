#include "stage_rules.h"

bool StageOneComplete(const TComponentChoice& choice, const std::string& folder)
{
    return (choice.Server || choice.Agent || choice.UserApp) && !folder.empty();
}

TConnectionFields ConnectionFieldsFor(const TComponentChoice& choice)
{
    TConnectionFields fields;
    if (choice.Server) {
        fields = {true, true, true, true, true};
    } else if (choice.Agent) {
        fields.Host = true;
        fields.Server = true;
    } else {
        fields.Data = true;
    }
    return fields;
}

std::string DefaultDestinationFolder(const std::string& programFiles)
{
    return programFiles + "\\" + "Bsk" + "\\" + "quorvane";
}
