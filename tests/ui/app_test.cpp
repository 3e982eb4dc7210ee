// The splash and the licence window.
#include <gtest/gtest.h>

#include <objbase.h>
#include <richedit.h>

#include <functional>

#include "app/uFmEula.h"
#include "app/uFmStart.h"
#include "gui_helpers.h"
#include "uEulaData.h"

namespace {

class Licence : public ::testing::Test {
protected:
    void SetUp() override
    {
        fm = std::make_unique<TFmEula>();
        safety = fm->Make<ui::TTimer>();
        safety->SetInterval(20000);
        safety->OnTimer = [this](ui::TObject*) { fm->SetModalResult(99); };
    }

    int ShowWith(std::function<void()> user) { return guitest::ShowWith(*fm, std::move(user)); }

    std::unique_ptr<TFmEula> fm;
    ui::TTimer* safety = nullptr;
};

}  // namespace

TEST_F(Licence, EnterAgreesAtOnceAndEscDeclines)
{
    EXPECT_EQ(ShowWith([this] {
                  EXPECT_TRUE(fm->bnYes->Focused());
                  guitest::Key(VK_RETURN);
              }),
              ui::mrOk);
    EXPECT_EQ(ShowWith([this] { guitest::Key(VK_ESCAPE); }), ui::mrCancel);
    EXPECT_EQ(ShowWith([this] { PostMessageA(fm->bnNo->Handle(), BM_CLICK, 0, 0); }), ui::mrCancel);
    EXPECT_EQ(ShowWith([this] { PostMessageA(fm->Handle(), WM_CLOSE, 0, 0); }), ui::mrCancel);
}

TEST_F(Licence, TextIsShownFormattedAndCannotBeEditedOrFocused)
{
    std::string text, typedInto;
    bool focusOnYes = false;
    LRESULT options = 0;
    ShowWith([&] {
        HWND re = fm->reEula->Handle();
        guitest::ClickAt(re, 40, 40);
        focusOnYes = fm->bnYes->Focused();
        text = fm->reEula->Text();
        SendMessageA(re, WM_CHAR, 'x', 1);
        typedInto = fm->reEula->Text();
        options = SendMessageA(re, EM_GETOPTIONS, 0, 0);
        PostMessageA(fm->Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(focusOnYes);
    EXPECT_TRUE(options & ECO_READONLY);
    EXPECT_EQ(text.rfind("quorvane End User License Agreement", 0), 0u) << text.substr(0, 80);
    EXPECT_EQ(text.find("\\rtf"), std::string::npos);  // parsed, not shown raw
    EXPECT_EQ(typedInto, text);
    EXPECT_GT(text.size(), 10000u);
    EXPECT_EQ(std::string(TEula.Name), "eula brantelsukma.rtf");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(TEula.Data), 6), "{\\rtf1");
}

TEST(Splash, BorderlessPictureOfExactSizeWithItsTimer)
{
    OleInitialize(nullptr);
    {
        TFmStart fm;
        RECT rc;
        GetClientRect(fm.Handle(), &rc);
        EXPECT_EQ(rc.right, 640);
        EXPECT_EQ(rc.bottom, 480);
        const auto style = GetWindowLongPtrA(fm.Handle(), GWL_STYLE);
        EXPECT_FALSE(style & WS_CAPTION);
        EXPECT_FALSE(style & WS_THICKFRAME);
        EXPECT_TRUE(fm.Image1->HasPicture());
        EXPECT_EQ(fm.Image1->Width(), 640);
        EXPECT_EQ(fm.Image1->Height(), 480);
        EXPECT_TRUE(fm.tmStart->Enabled());
        EXPECT_EQ(fm.tmStart->Interval(), 3000u);
    }
    OleUninitialize();
}
