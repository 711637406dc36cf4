#include "controls/AccessibilityApi.h"

#include "framework/SystemLibrary.h"

namespace {

using CreateStdAccessibleObjectProc = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectProc = LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*);

SystemLibrary oleacc("oleacc.dll");

} // namespace

HRESULT AccessibilityApi::CreateStdAccessibleObject(HWND window, LONG objectId, REFIID iid, void** object)
{
    *object = nullptr;
    const auto create = oleacc.Find<CreateStdAccessibleObjectProc>("CreateStdAccessibleObject");
    return create != nullptr ? create(window, objectId, iid, object) : E_NOTIMPL;
}

LRESULT AccessibilityApi::LresultFromObject(REFIID iid, WPARAM wParam, IUnknown* object)
{
    const auto answer = oleacc.Find<LresultFromObjectProc>("LresultFromObject");
    return answer != nullptr ? answer(iid, wParam, object) : static_cast<LRESULT>(E_NOTIMPL);
}
