#include "detection.h"

#include "query/ucfg.h"

bool DetectPreviousInstallation(IDetectionView& view)
{
    TBskSys vendor(false);
    TZevSys product(false);

    vendor.Query();
    if (vendor.State() != 1) {
        view.AddFinding("none detected");
        view.ShowLines();
        return false;
    }
    view.AddFinding(vendor.GetValue("DisplayName"));

    view.AddStep("Detecting installed products...");
    view.ShowLines();
    product.Query(&vendor);
    if (product.State() != 1) {
        view.AddFinding("none detected");
        view.ShowLines();
        return false;
    }
    view.AddFinding(product.GetValue("DisplayName"));
    view.AddStep("Detecting installed components...");
    view.ShowLines();

    for (int i = 0; i < product.Count(); ++i) {
        view.AddFinding("  " + product.Items(i)->Values("DisplayName"));
        view.ShowLines();
    }
    if (product.Count() == 0) return false;
    view.AddFinding("");
    view.AddFinding("Setup is unable to continue with installation");
    view.AddFinding("because another version of the package is present");
    view.AddFinding("Please uninstall first, or contact your vendor for more information.");
    return true;
}
