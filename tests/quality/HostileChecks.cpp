#include "quality/HostileChecks.h"

#include <doctest.h>

#include "quality/ProgramRun.h"
#include "res/resource.h"
#include "support/TestProcess.h"
#include "support/WinePaths.h"

namespace testing {

void CheckProgramWorks(const std::string& program, const WindowCheck& whileMainShown, const WindowCheck& whileAboutOpen)
{
    ProgramRun run(program);
    REQUIRE(run.Dialog() != nullptr);
    if (whileMainShown)
        whileMainShown(run.Dialog());

    CHECK(run.Choose(IDC_CODE_LIST, "de") == "Germany");
    CHECK(run.VisitEnabled());
    // Benin has no registrar: the button turns unavailable.
    CHECK(run.Choose(IDC_DESCRIPTION_LIST, "Benin") == "bj");
    CHECK_FALSE(run.VisitEnabled());

    HWND about = run.OpenAbout();
    CHECK(about != nullptr);
    if (about != nullptr) {
        if (whileAboutOpen)
            whileAboutOpen(about);
        CHECK(run.CloseAbout(about));
    }
    REQUIRE(run.Running());
    CHECK(run.EndWithEscape() == 2);
}

namespace {

// Deletes the copy however the checks end.
struct ScratchCopy {
    std::string path;
    ~ScratchCopy()
    {
        if (!path.empty())
            DeleteFileA(path.c_str());
    }
};

} // namespace

void CheckDamagedCopyWorks(LPCSTR type, LPCSTR name, const std::vector<BYTE>* replacement,
                           const WindowCheck& whileMainShown, const WindowCheck& whileAboutOpen)
{
    ScratchCopy copy;
    copy.path = replacement == nullptr
        ? CopyWithoutResource(ProgramPath(), type, name)
        : CopyWithResource(ProgramPath(), type, name, replacement->data(), static_cast<DWORD>(replacement->size()));
    REQUIRE_FALSE(copy.path.empty());
    CheckProgramWorks(copy.path, whileMainShown, whileAboutOpen);
}

} // namespace testing
