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

namespace {

// A control's rectangle in its form's client coordinates.
RECT InForm(const ui::TControl* control, HWND form)
{
    RECT rc;
    GetWindowRect(control->Handle(), &rc);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

}  // namespace

// The designed size, and a larger one: the bottom strip and the list keep
// their sizes, the buttons stay whole at the right edge, the banner takes the rest.
TEST_F(DetectForm, LayoutAtTheDesignedSizeAndWhenResized)
{
    struct Case {
        int width, height;
    };
    for (const Case c : {Case{640, 452}, Case{800, 600}, Case{500, 400}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        fm->SetBounds(fm->Left(), fm->Top(), c.width, c.height);
        EXPECT_EQ(fm->Width(), c.width);
        EXPECT_EQ(fm->Height(), c.height);
        const HWND form = fm->Handle();
        const int cw = fm->ClientWidth(), ch = fm->ClientHeight();

        const RECT bar = InForm(fm->Panel2, form);
        EXPECT_EQ(bar.bottom, ch);
        EXPECT_EQ(bar.bottom - bar.top, 29);
        EXPECT_EQ(bar.right - bar.left, cw);
        const RECT strip = InForm(fm->Panel3, form);
        EXPECT_EQ(strip.bottom, bar.top);
        EXPECT_EQ(strip.bottom - strip.top, 3);

        const RECT ok = InForm(fm->bnOk, form);
        const RECT cancel = InForm(fm->bnCancel, form);
        for (const RECT& b : {ok, cancel}) {
            EXPECT_EQ(b.right - b.left, 75);
            EXPECT_EQ(b.bottom - b.top, 25);
            EXPECT_EQ(b.top, bar.top + 2);
        }
        EXPECT_EQ(ok.right, cw - 2);  // whole, 2 pixels from the edge, whatever the frame
        EXPECT_EQ(ok.left - cancel.right, 5);

        const RECT panel = InForm(fm->Panel1, form);
        EXPECT_EQ(panel.top, 0);
        EXPECT_EQ(panel.bottom, strip.top);
        const RECT list = InForm(fm->clb, form);
        EXPECT_EQ(list.right - list.left, 355);
        EXPECT_EQ(list.right, panel.right - 5);  // bevel 1 and border 4
        const RECT gap = InForm(fm->Panel4, form);
        EXPECT_EQ(gap.right, list.left);
        EXPECT_EQ(gap.right - gap.left, 8);
        const RECT image = InForm(fm->Image1, form);
        EXPECT_EQ(image.left, panel.left + 5);
        EXPECT_EQ(image.right, gap.left);
        EXPECT_EQ(image.top, panel.top + 5);
        EXPECT_EQ(image.bottom, panel.bottom - 5);
    }
}
