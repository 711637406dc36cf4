#include <doctest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "quality/DamagedData.h"
#include "quality/HostileChecks.h"
#include "res/resource.h"

using testing::DamagedData;

// The three button bitmaps are loaded three times each at start-up and
// filtered pixel by pixel; the icon group is loaded at two sizes.
TEST_CASE("the program works with a button bitmap missing or damaged")
{
    const WORD bitmaps[] = {IDB_EXIT, IDB_ABOUT, IDB_VISIT};
    for (WORD bitmap : bitmaps) {
        const LPCSTR name = MAKEINTRESOURCEA(bitmap);
        const std::string id = std::to_string(bitmap);

        SUBCASE(("bitmap " + id + " removed").c_str())
        {
            testing::CheckDamagedCopyWorks(RT_BITMAP, name, nullptr);
        }
        SUBCASE(("bitmap " + id + " replaced by random bytes").c_str())
        {
            const std::vector<BYTE> garbage = DamagedData::RandomBytes(808, bitmap);
            testing::CheckDamagedCopyWorks(RT_BITMAP, name, &garbage);
        }
        SUBCASE(("bitmap " + id + " claiming 30,000 x 30,000 pixels").c_str())
        {
            const std::vector<BYTE> huge = DamagedData::BitmapClaiming(30000, 30000);
            testing::CheckDamagedCopyWorks(RT_BITMAP, name, &huge);
        }
    }
    // Well-formed, but not the 16 x 16 the button is drawn for.
    SUBCASE("visit bitmap of 1 x 1 pixel")
    {
        const std::vector<BYTE> tiny = DamagedData::Bitmap(1, 1);
        testing::CheckDamagedCopyWorks(RT_BITMAP, MAKEINTRESOURCEA(IDB_VISIT), &tiny);
    }
    SUBCASE("visit bitmap of 1,000 x 1,000 pixels")
    {
        const std::vector<BYTE> large = DamagedData::Bitmap(1000, 1000);
        testing::CheckDamagedCopyWorks(RT_BITMAP, MAKEINTRESOURCEA(IDB_VISIT), &large);
    }
}

TEST_CASE("the program works with its icon missing or damaged")
{
    const LPCSTR name = MAKEINTRESOURCEA(IDI_APP);
    SUBCASE("icon group removed")
    {
        testing::CheckDamagedCopyWorks(RT_GROUP_ICON, name, nullptr);
    }
    SUBCASE("icon group replaced by random bytes")
    {
        const std::vector<BYTE> garbage = DamagedData::RandomBytes(48, IDI_APP);
        testing::CheckDamagedCopyWorks(RT_GROUP_ICON, name, &garbage);
    }
    SUBCASE("icon group naming an icon that is not there")
    {
        const std::vector<BYTE> dangling = DamagedData::IconGroup(1, 999);
        testing::CheckDamagedCopyWorks(RT_GROUP_ICON, name, &dangling);
    }
    SUBCASE("icon group claiming 60,000 images")
    {
        const std::vector<BYTE> overclaiming = DamagedData::IconGroup(60000, 1);
        testing::CheckDamagedCopyWorks(RT_GROUP_ICON, name, &overclaiming);
    }
    // The group is intact; the images it names are not.
    SUBCASE("first icon image replaced by random bytes")
    {
        const std::vector<BYTE> garbage = DamagedData::RandomBytes(744, 1);
        testing::CheckDamagedCopyWorks(RT_ICON, MAKEINTRESOURCEA(1), &garbage);
    }
    SUBCASE("second icon image replaced by random bytes")
    {
        const std::vector<BYTE> garbage = DamagedData::RandomBytes(296, 2);
        testing::CheckDamagedCopyWorks(RT_ICON, MAKEINTRESOURCEA(2), &garbage);
    }
}
