#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "quality/DamagedData.h"
#include "quality/HostileChecks.h"
#include "res/resource.h"
#include "support/WinePaths.h"

using testing::DamagedData;
using testing::WindowCheck;

namespace {

// A banner that could not be decoded keeps its static's template size
// instead of the picture's.
WindowCheck BannerNotShown(int bannerId, LONG pictureWidth, LONG pictureHeight)
{
    return [=](HWND dialog) {
        RECT banner = {};
        CHECK(GetClientRect(GetDlgItem(dialog, bannerId), &banner));
        CHECK_FALSE((banner.right == pictureWidth && banner.bottom == pictureHeight));
    };
}

} // namespace

// The banners are decoded by the system's picture service from the program's
// own resources: the main one at start-up, the About one at each opening.
TEST_CASE("the program works with either banner missing or damaged")
{
    struct Banner {
        WORD id;
        bool inAbout;
        LONG width;
        LONG height;
    };
    const Banner banners[] = {{IDR_BANNER_MAIN, false, 370, 60}, {IDR_BANNER_ABOUT, true, 398, 53}};
    for (const Banner& banner : banners) {
        const LPCSTR name = MAKEINTRESOURCEA(banner.id);
        const std::vector<BYTE> original = DamagedData::Original(testing::ProgramPath(), RT_JPEG, name);
        REQUIRE(original.size() > 1000);
        const WindowCheck notShown =
            BannerNotShown(banner.inAbout ? IDC_ABOUT_BANNER : IDC_MAIN_BANNER, banner.width, banner.height);
        const WindowCheck mainCheck = banner.inAbout ? nullptr : notShown;
        const WindowCheck aboutCheck = banner.inAbout ? notShown : nullptr;
        const std::string id = std::to_string(banner.id);

        SUBCASE(("banner " + id + " removed").c_str())
        {
            testing::CheckDamagedCopyWorks(RT_JPEG, name, nullptr, mainCheck, aboutCheck);
        }
        SUBCASE(("banner " + id + " replaced by random bytes").c_str())
        {
            const std::vector<BYTE> garbage = DamagedData::RandomBytes(original.size(), banner.id);
            testing::CheckDamagedCopyWorks(RT_JPEG, name, &garbage, mainCheck, aboutCheck);
        }
        SUBCASE(("banner " + id + " cut off inside its header").c_str())
        {
            const std::vector<BYTE> truncated = DamagedData::Truncated(original, 30);
            testing::CheckDamagedCopyWorks(RT_JPEG, name, &truncated, mainCheck, aboutCheck);
        }
        SUBCASE(("banner " + id + " empty").c_str())
        {
            const std::vector<BYTE> empty(1, 0);
            testing::CheckDamagedCopyWorks(RT_JPEG, name, &empty, mainCheck, aboutCheck);
        }
        // A decoder may show what it got of these, so only working counts.
        SUBCASE(("banner " + id + " cut off after a third").c_str())
        {
            const std::vector<BYTE> truncated = DamagedData::Truncated(original, original.size() / 3);
            testing::CheckDamagedCopyWorks(RT_JPEG, name, &truncated);
        }
        SUBCASE(("banner " + id + " replaced by a JPEG header with nonsense").c_str())
        {
            const std::vector<BYTE> nonsense = DamagedData::JpegWithNonsense();
            testing::CheckDamagedCopyWorks(RT_JPEG, name, &nonsense);
        }
    }
}
