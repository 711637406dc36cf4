#include "controls/AccessibilityApi.h"

#include "framework/SystemFunctions.h"

namespace {

using CreateStdAccessibleObjectProc = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectProc = LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*);

enum Call { createStdAccessibleObject, lresultFromObject, callCount };
const char* const names[callCount] = {"CreateStdAccessibleObject", "LresultFromObject"};
SystemFunctions<callCount> oleacc("oleacc.dll", names);

} // namespace

HRESULT AccessibilityApi::CreateStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object)
{
    *object = nullptr;
    const auto create = oleacc.Get<CreateStdAccessibleObjectProc>(createStdAccessibleObject);
    return create != nullptr ? create(window, objectId, iid, object) : E_NOTIMPL;
}

LRESULT AccessibilityApi::LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object)
{
    const auto answer = oleacc.Get<LresultFromObjectProc>(lresultFromObject);
    return answer != nullptr ? answer(iid, wParam, object) : static_cast<LRESULT>(E_NOTIMPL);
}
