#pragma once

#include <windows.h>
#include <oleacc.h>

#include "framework/ComPtr.h"
#include "framework/String.h"

class AccessibleControl;

// The accessible object of one control's client area: asks the control first
// about the control itself (CHILDID_SELF) and forwards everything else to the
// system's standard object for the same window, so that where the system
// knows more (a list box's items and selection, on Windows) it still answers.
// Lives as long as a client or the control holds a reference; once the
// control has let go (Disconnect), every call but the IUnknown ones fails with
// RPC_E_DISCONNECTED.
class AccessibleProxy final : public IAccessible {
public:
    // With one reference, for the caller; NULL when the standard object
    // cannot be made (no oleacc, no memory).
    static AccessibleProxy* Create(HWND window, AccessibleControl* control);

    void Disconnect();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: the standard object's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
        { return Forward(&IAccessible::GetTypeInfoCount, count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
        { return Forward(&IAccessible::GetTypeInfo, index, locale, info); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override
        { return Forward(&IAccessible::GetIDsOfNames, iid, names, count, locale, ids); }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override
    {
        return Forward(&IAccessible::Invoke, id, iid, locale, flags, parameters, result, exception, argumentError);
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
        { return Forward(&IAccessible::get_accParent, parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
        { return Forward(&IAccessible::get_accChildCount, count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
        { return Forward(&IAccessible::get_accChild, child, object); }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
        { return Forward(&IAccessible::get_accDescription, child, description); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override
        { return Forward(&IAccessible::get_accHelp, child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override
        { return Forward(&IAccessible::get_accHelpTopic, file, child, topic); }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override
        { return Forward(&IAccessible::get_accKeyboardShortcut, child, shortcut); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override
        { return Forward(&IAccessible::get_accFocus, child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
        { return Forward(&IAccessible::get_accSelection, children); }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override
        { return Forward(&IAccessible::accSelect, flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override
        { return Forward(&IAccessible::accLocation, left, top, width, height, child); }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
        { return Forward(&IAccessible::accNavigate, direction, start, end); }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override
        { return Forward(&IAccessible::accHitTest, left, top, child); }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override
        { return Forward(&IAccessible::put_accName, child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
        { return Forward(&IAccessible::put_accValue, child, value); }

private:
    explicit AccessibleProxy(AccessibleControl* control) : control(control) {}
    ~AccessibleProxy() = default;

    // The control's own text (name, value) for itself, else the standard object's.
    HRESULT AnswerText(VARIANT child, BSTR* text, bool (AccessibleControl::*own)(String&) const,
                       HRESULT (STDMETHODCALLTYPE IAccessible::*standardAnswer)(VARIANT, BSTR*));
    // Whether the question is about the control itself and it is still there.
    bool AsksSelf(const VARIANT& child) const;
    // The standard object, or NULL once disconnected.
    IAccessible* Standard() const { return control != nullptr ? standard.Get() : nullptr; }
    // The standard object's answer; every call of a client that kept the
    // object after the control went ends here.
    template <class Interface, class... Parameters, class... Arguments>
    HRESULT Forward(HRESULT (STDMETHODCALLTYPE Interface::*call)(Parameters...), Arguments... arguments) const
    {
        IAccessible* answering = Standard();
        return answering != nullptr ? (answering->*call)(arguments...) : RPC_E_DISCONNECTED;
    }

    LONG references = 1;
    AccessibleControl* control;         // borrowed; NULL once disconnected
    ComPtr<IAccessible> standard;       // the system's object for the same window
};
