#include "controls/AccessibleProxy.h"

#include <new>

#include "controls/AccessibilityApi.h"
#include "controls/AccessibleControl.h"

namespace {

// A BSTR of the 8-bit text; E_OUTOFMEMORY without one.
HRESULT ToBstr(const String& text, BSTR* out)
{
    *out = nullptr;
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), nullptr, 0);
    BSTR converted = ::SysAllocStringLen(nullptr, static_cast<UINT>(units));
    if (converted == nullptr)
        return E_OUTOFMEMORY;
    ::MultiByteToWideChar(CP_ACP, 0, text, text.GetLength(), converted, units);
    *out = converted;
    return S_OK;
}

} // namespace

AccessibleProxy* AccessibleProxy::Create(HWND window, AccessibleControl* control)
{
    ComPtr<AccessibleProxy> proxy;
    proxy.Attach(new (std::nothrow) AccessibleProxy(control));
    if (!proxy || FAILED(AccessibilityApi::CreateStdAccessibleObject(
                      window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(proxy->standard.Receive())))
        || !proxy->standard)
        return nullptr;
    return proxy.Detach();
}

void AccessibleProxy::Disconnect()
{
    control = nullptr;
    standard.Reset();
    // Clients in other processes are cut off at once; their proxies then fail
    // every call without asking this one.
    ::CoDisconnectObject(static_cast<IAccessible*>(this), 0);
}

bool AccessibleProxy::AsksSelf(const VARIANT& child) const
{
    return control != nullptr && child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT AccessibleProxy::QueryInterface(REFIID iid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible)
        *object = static_cast<IAccessible*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG AccessibleProxy::AddRef()
{
    return static_cast<ULONG>(::InterlockedIncrement(&references));
}

ULONG AccessibleProxy::Release()
{
    const LONG left = ::InterlockedDecrement(&references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT AccessibleProxy::AnswerText(VARIANT child, BSTR* text, bool (AccessibleControl::*own)(String&) const,
                                    HRESULT (STDMETHODCALLTYPE IAccessible::*standardAnswer)(VARIANT, BSTR*))
{
    IAccessible* standard = Standard();
    if (standard == nullptr)
        return RPC_E_DISCONNECTED;
    String answer;
    if (text != nullptr && AsksSelf(child) && (control->*own)(answer))
        return ToBstr(answer, text);
    return (standard->*standardAnswer)(child, text);
}

HRESULT AccessibleProxy::get_accName(VARIANT child, BSTR* name)
{
    return AnswerText(child, name, &AccessibleControl::GetAccessibleName, &IAccessible::get_accName);
}

HRESULT AccessibleProxy::get_accValue(VARIANT child, BSTR* value)
{
    return AnswerText(child, value, &AccessibleControl::GetAccessibleValue, &IAccessible::get_accValue);
}

HRESULT AccessibleProxy::get_accRole(VARIANT child, VARIANT* role)
{
    IAccessible* standard = Standard();
    if (standard == nullptr)
        return RPC_E_DISCONNECTED;
    const LONG own = AsksSelf(child) ? control->GetAccessibleRole() : 0;
    if (role == nullptr || own == 0)
        return standard->get_accRole(child, role);
    role->vt = VT_I4;
    role->lVal = own;
    return S_OK;
}

HRESULT AccessibleProxy::get_accState(VARIANT child, VARIANT* state)
{
    IAccessible* standard = Standard();
    if (standard == nullptr)
        return RPC_E_DISCONNECTED;
    const HRESULT asked = standard->get_accState(child, state);
    if (asked == S_OK && state->vt == VT_I4 && AsksSelf(child))
        state->lVal |= control->GetAccessibleState();
    return asked;
}

HRESULT AccessibleProxy::get_accDefaultAction(VARIANT child, BSTR* action)
{
    IAccessible* standard = Standard();
    if (standard == nullptr)
        return RPC_E_DISCONNECTED;
    const char* own = AsksSelf(child) ? control->GetAccessibleAction() : nullptr;
    if (action == nullptr || own == nullptr)
        return standard->get_accDefaultAction(child, action);
    return ToBstr(own, action);
}

HRESULT AccessibleProxy::accDoDefaultAction(VARIANT child)
{
    IAccessible* standard = Standard();
    if (standard == nullptr)
        return RPC_E_DISCONNECTED;
    if (!AsksSelf(child) || control->GetAccessibleAction() == nullptr)
        return standard->accDoDefaultAction(child);
    return control->DoAccessibleAction() ? S_OK : E_FAIL;
}

