#include "viewer_source.h"

#include "platform/rtl/sysutils.h"
#include "programs/common/component_record.h"
#include "programs/common/components.h"
#include "programs/common/inventory.h"
#include "programs/common/record_ports.h"
#include "protocol/request_client.h"

namespace {

// The data service listens on loopback on every computer it runs on.
const char* const kLocalHost = "127.0.0.1";

}  // namespace

TViewerInventory GetViewerInventory()
{
    TViewerInventory result;
    int port = 0;
    try {
        port = svc::RecordPort(svc::ReadComponentRecord(svc::ViewerGuid), "Data");
    } catch (const rtl::Exception& e) {
        result.Reason = "The Viewer's settings cannot be read: " + e.Message();
    }
    if (port != 0) {
        const std::string where = std::string(kLocalHost) + ", port " + std::to_string(port);
        try {
            rtl::TStringList lines = proto::RequestInventory({kLocalHost, port});
            if (inv::ParseInventory(lines).empty()) throw rtl::Exception("Its reply holds no inventory.");
            result.Lines = std::move(lines);
            result.FromService = true;
            result.Source = "From the quorvane Data Retriever service (" + where + ").";
            return result;
        } catch (const std::exception& e) {
            result.Reason = "The quorvane Data Retriever service did not answer on " + where + ": " + e.what();
        }
    }
    result.Lines = inv::CollectInventory();
    result.Source = "Collected by the Viewer itself: the quorvane Data Retriever service was not available.";
    return result;
}
