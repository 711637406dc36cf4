#include "controls/GroupedListBox.h"

#include "framework/MessageMap.h"

namespace {

bool IsGroupBox(HWND window)
{
    char className[8];
    return ::GetClassNameA(window, className, sizeof className) != 0 && ::lstrcmpiA(className, "button") == 0
        && (::GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

bool Encloses(const RECT& outer, const RECT& inner)
{
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right
        && outer.bottom >= inner.bottom;
}

LONG Area(const RECT& rect)
{
    return (rect.right - rect.left) * (rect.bottom - rect.top);
}

} // namespace

GroupedListBox::~GroupedListBox() = default;

BOOL GroupedListBox::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          LRESULT& result, DWORD mapId)
{
    using Map = MessageMap<GroupedListBox>;
    static constexpr Map::Entry entries[] = {
        Map::ChainBase<AccessibleControl>(),
    };
    return Map::Dispatch(*this, entries, window, message, wParam, lParam, result, mapId);
}

bool GroupedListBox::GetAccessibleName(String& name) const
{
    RECT list;
    if (!GetWindowRect(&list))
        return false;
    HWND group = nullptr;
    RECT best = {};
    for (HWND sibling = ::GetWindow(GetParent(), GW_CHILD); sibling != nullptr;
         sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
        RECT place;
        if (sibling == hWnd || !IsGroupBox(sibling) || !::GetWindowRect(sibling, &place) || !Encloses(place, list))
            continue;
        if (group == nullptr || Area(place) < Area(best)) {
            group = sibling;
            best = place;
        }
    }
    if (group == nullptr)
        return false;
    char caption[256];
    ::GetWindowTextA(group, caption, sizeof caption);
    // A mnemonic's "&" is not read; "&&" stands for one.
    String spoken;
    char* out = spoken.GetBuffer(lstrlenA(caption));
    if (out == nullptr)
        return false;
    int length = 0;
    for (const char* in = caption; *in != '\0'; ++in) {
        if (*in == '&' && *++in == '\0')
            break;
        out[length++] = *in;
    }
    spoken.ReleaseBuffer(length);
    name = spoken;
    return true;
}
