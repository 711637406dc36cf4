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
    proxy.Attach(new (std::nothrow) AccessibleProxy(window, control));
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
    else if (iid == IID_IOleWindow)
        *object = static_cast<IOleWindow*>(this);
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

HRESULT AccessibleProxy::GetTypeInfoCount(UINT* count)
{
    return Forward(&IAccessible::GetTypeInfoCount, count);
}

HRESULT AccessibleProxy::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info)
{
    return Forward(&IAccessible::GetTypeInfo, index, locale, info);
}

HRESULT AccessibleProxy::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids)
{
    return Forward(&IAccessible::GetIDsOfNames, iid, names, count, locale, ids);
}

HRESULT AccessibleProxy::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                VARIANT* result, EXCEPINFO* exception, UINT* argumentError)
{
    return Forward(&IAccessible::Invoke, id, iid, locale, flags, parameters, result, exception, argumentError);
}

HRESULT AccessibleProxy::get_accParent(IDispatch** parent)
{
    return Forward(&IAccessible::get_accParent, parent);
}

HRESULT AccessibleProxy::get_accChildCount(LONG* count)
{
    return Forward(&IAccessible::get_accChildCount, count);
}

HRESULT AccessibleProxy::get_accChild(VARIANT child, IDispatch** object)
{
    return Forward(&IAccessible::get_accChild, child, object);
}

HRESULT AccessibleProxy::get_accName(VARIANT child, BSTR* name)
{
    IAccessible* standard = Standard();
    if (standard == nullptr)
        return RPC_E_DISCONNECTED;
    String text;
    if (name != nullptr && AsksSelf(child) && control->GetAccessibleName(text))
        return ToBstr(text, name);
    return standard->get_accName(child, name);
}

HRESULT AccessibleProxy::get_accValue(VARIANT child, BSTR* value)
{
    IAccessible* standard = Standard();
    if (standard == nullptr)
        return RPC_E_DISCONNECTED;
    String text;
    if (value != nullptr && AsksSelf(child) && control->GetAccessibleValue(text))
        return ToBstr(text, value);
    return standard->get_accValue(child, value);
}

HRESULT AccessibleProxy::get_accDescription(VARIANT child, BSTR* description)
{
    return Forward(&IAccessible::get_accDescription, child, description);
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

HRESULT AccessibleProxy::get_accHelp(VARIANT child, BSTR* help)
{
    return Forward(&IAccessible::get_accHelp, child, help);
}

HRESULT AccessibleProxy::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic)
{
    return Forward(&IAccessible::get_accHelpTopic, file, child, topic);
}

HRESULT AccessibleProxy::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut)
{
    return Forward(&IAccessible::get_accKeyboardShortcut, child, shortcut);
}

HRESULT AccessibleProxy::get_accFocus(VARIANT* child)
{
    return Forward(&IAccessible::get_accFocus, child);
}

HRESULT AccessibleProxy::get_accSelection(VARIANT* children)
{
    return Forward(&IAccessible::get_accSelection, children);
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

HRESULT AccessibleProxy::accSelect(LONG flags, VARIANT child)
{
    return Forward(&IAccessible::accSelect, flags, child);
}

HRESULT AccessibleProxy::accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child)
{
    return Forward(&IAccessible::accLocation, left, top, width, height, child);
}

HRESULT AccessibleProxy::accNavigate(LONG direction, VARIANT start, VARIANT* end)
{
    return Forward(&IAccessible::accNavigate, direction, start, end);
}

HRESULT AccessibleProxy::accHitTest(LONG left, LONG top, VARIANT* child)
{
    return Forward(&IAccessible::accHitTest, left, top, child);
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

HRESULT AccessibleProxy::put_accName(VARIANT child, BSTR name)
{
    return Forward(&IAccessible::put_accName, child, name);
}

HRESULT AccessibleProxy::put_accValue(VARIANT child, BSTR value)
{
    return Forward(&IAccessible::put_accValue, child, value);
}

HRESULT AccessibleProxy::GetWindow(HWND* answer)
{
    if (control == nullptr)
        return RPC_E_DISCONNECTED;
    if (answer == nullptr)
        return E_POINTER;
    *answer = window;
    return S_OK;
}

HRESULT AccessibleProxy::ContextSensitiveHelp(BOOL)
{
    return control != nullptr ? E_NOTIMPL : RPC_E_DISCONNECTED;
}
