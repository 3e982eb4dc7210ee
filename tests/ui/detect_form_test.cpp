// The detection window: what it lists, where the focus goes, and its results.
#include <gtest/gtest.h>

#include <objbase.h>

#include <functional>

#include "detect/uFmDetect.h"
#include "query/ucfg.h"
#include "registry/ureg.h"
#include "registry_fixture.h"

using namespace regtest;

namespace {

const std::string kVendorKey = std::string("SOFTWARE\\") + VendorGuid;
const std::string kProductKey = kVendorKey + "\\" + ProductGuid;

// Calls a check every 50 ms inside the modal loop until it returns true.
class TPoller {
public:
    explicit TPoller(std::function<bool()> step) : step_(std::move(step))
    {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, Tick);
    }
    ~TPoller()
    {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (current_ != nullptr && !current_->done_) current_->done_ = current_->step_();
    }
    static inline TPoller* current_ = nullptr;
    std::function<bool()> step_;
    UINT_PTR timer_ = 0;
    bool done_ = false;
};

class DetectForm : public ::testing::Test {
protected:
    void SetUp() override
    {
        OleInitialize(nullptr);
        DeleteTree(kVendorKey);
        fm = std::make_unique<TFmDetect>();
        safety = fm->Make<ui::TTimer>();
        safety->SetInterval(30000);
        safety->OnTimer = [this](ui::TObject*) { fm->SetModalResult(99); };
    }
    void TearDown() override
    {
        fm.reset();
        DeleteTree(kVendorKey);
        OleUninitialize();
    }
    std::vector<std::string> Lines()
    {
        std::vector<std::string> lines;
        for (int i = 0; i < fm->clb->Count(); ++i)
            lines.push_back((fm->clb->Header(i) ? "F:" : fm->clb->Checked(i) ? "S:" : "?:") + fm->clb->Item(i));
        return lines;
    }
    void PressKey(WPARAM vk) { PostMessageA(GetFocus(), WM_KEYDOWN, vk, 1); }

    std::unique_ptr<TFmDetect> fm;
    ui::TTimer* safety = nullptr;
};

}  // namespace

TEST_F(DetectForm, CleanMachineFocusesOkAndEnterGoesOn)
{
    TPoller poller([this] {
        if (!fm->bnOk->Focused()) return false;
        PressKey(VK_RETURN);
        return true;
    });
    EXPECT_EQ(fm->ShowModal(), ui::mrOk);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"S:Detecting previous installation...", "F:none detected"}));
    EXPECT_FALSE(fm->Panel1->Enabled());  // the list takes no input
}

TEST_F(DetectForm, InstalledComponentsBlockAndOnlyCancelLeads)
{
    SetString(kVendorKey, "DisplayName", "Brantel Sukma Teknika");
    SetString(kProductKey, "DisplayName", "quorvane");
    ureg::TSetReg reg(kProductKey, "Server", HKEY_LOCAL_MACHINE);
    reg.Add("DisplayName=quorvane Enterprise Server");
    reg.Write("Data");

    TPoller poller([this] {
        if (fm->clb->Count() < 10) return false;
        EXPECT_FALSE(fm->bnOk->Enabled());
        PressKey(VK_RETURN);  // Enter cannot go on: the focus is not on OK
        PressKey(VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(fm->ShowModal(), ui::mrCancel);
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "S:Detecting previous installation...", "F:Brantel Sukma Teknika",
                           "S:Detecting installed products...", "F:quorvane", "S:Detecting installed components...",
                           "F:  quorvane Enterprise Server", "F:", "F:Setup is unable to continue with installation",
                           "F:because another version of the package is present",
                           "F:Please uninstall first, or contact your vendor for more information."}));
}

TEST_F(DetectForm, OkBeforeTheFirstTickEndsWithoutDetection)
{
    fm->OnShow = [this](ui::TObject*) { PostMessageA(fm->bnOk->Handle(), BM_CLICK, 0, 0); };
    EXPECT_EQ(fm->ShowModal(), ui::mrOk);
    EXPECT_EQ(fm->clb->Count(), 0);
    EXPECT_FALSE(fm->tm->Enabled());  // nothing runs later behind the next window
}
