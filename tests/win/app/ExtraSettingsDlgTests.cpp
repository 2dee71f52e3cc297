#include "app/ExtraSettingsDlg.h"
#include "res/resource.h"
#include "tests/win/support/DialogDriver.h"

#include <gtest/gtest.h>

namespace
{

TEST(ExtraSettings, TheBoxShowsTheNegationOfShowAdvAndOnlyOkChangesIt)
{
    const struct
    {
        bool showAdv;
        bool click; // the user clicks the box, turning over what it showed
        UINT answer;
        bool expected;
    } cases[] = {
        {false, false, IDOK, false}, {true, false, IDOK, true},      {false, true, IDOK, true},
        {true, true, IDOK, false},   {false, true, IDCANCEL, false},
    };
    for (const auto& c : cases)
    {
        DialogDriver driver(
            [&](HWND dialog, const std::wstring&)
            {
                if (c.click)
                    CheckDlgButton(dialog, IDC_NO_ADVERT_AT_START,
                                   IsDlgButtonChecked(dialog, IDC_NO_ADVERT_AT_START) ? 0 : 1);
                DialogDriver::Press(dialog, c.answer);
            });
        bool showAdv = c.showAdv;
        CWnd owner;
        EditAdvertAtStart(owner, showAdv);
        EXPECT_EQ(showAdv, c.expected) << c.showAdv << " " << c.click << " " << c.answer;
    }
}

} // namespace
