#include "AccessibleWindow.h"

#include "WindowDispatch.h"

#include "sharedrt/ui/WinControl.h"

#include <oleacc.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

namespace rt::ui {
namespace {

BSTR ToBstr(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(length > 0 ? length : 0));
    if (result && length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result, length);
    return result;
}

// S_FALSE and no text for an empty one, as oleacc expects.
HRESULT AnswerText(const std::string& text, BSTR* out)
{
    if (!out)
        return E_INVALIDARG;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = ToBstr(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChildId(VARIANT* out, long id)
{
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = id;
}

class AccessibleWindow final : public IAccessible {
public:
    AccessibleWindow(HWND window, IAccessible* standard) : window_(window), standard_(standard) {}
    AccessibleWindow(const AccessibleWindow&) = delete;
    AccessibleWindow& operator=(const AccessibleWindow&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(IDispatch)) ||
            IsEqualIID(riid, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }

    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        WinControl* control = Control();
        if (!control)
            return E_FAIL;
        if (!OwnsChildren(*control))
            return standard_->get_accChildCount(count);
        *count = static_cast<LONG>(control->AccessibleChildren().size());
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override
    {
        WinControl* control = Control();
        if (!control || !child)
            return E_FAIL;
        if (!OwnsChildren(*control))
            return standard_->get_accChild(id, child);
        *child = nullptr;
        const rt::ui::Control* element = nullptr;
        const HRESULT found = Find(*control, id, element);
        if (FAILED(found) || !element)
            return E_INVALIDARG;
        return S_FALSE; // a simple element, no object of its own
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override
    {
        return Answer(id, [&](WinControl& control, const rt::ui::Control* element) {
            if (element)
                return AnswerText(element->AccessibleName(), name);
            if (control.HasOwnAccessibleName() && id.vt == VT_I4 && id.lVal == CHILDID_SELF)
                return AnswerText(control.AccessibleName(), name);
            return standard_->get_accName(id, name);
        });
    }

    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override
    {
        return Answer(id, [&](WinControl&, const rt::ui::Control* element) {
            return element ? AnswerText({}, value) : standard_->get_accValue(id, value);
        });
    }

    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* description) override
    {
        return Answer(id, [&](WinControl&, const rt::ui::Control* element) {
            return element ? AnswerText(element->Hint(), description) : standard_->get_accDescription(id, description);
        });
    }

    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override
    {
        return Answer(id, [&](WinControl&, const rt::ui::Control* element) {
            if (!element)
                return standard_->get_accRole(id, role);
            SetChildId(role, element->AccessibleRole());
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override
    {
        return Answer(id, [&](WinControl& control, const rt::ui::Control* element) {
            if (!element)
                return standard_->get_accState(id, state);
            long flags = 0;
            const long role = element->AccessibleRole();
            if (!element->Visible())
                flags |= STATE_SYSTEM_INVISIBLE;
            if (!element->Enabled())
                flags |= STATE_SYSTEM_UNAVAILABLE;
            else if (element->TabStop()) {
                flags |= STATE_SYSTEM_FOCUSABLE;
                if (control.FocusedChild() == element && control.Focused())
                    flags |= STATE_SYSTEM_FOCUSED;
            }
            if (element->IsHot())
                flags |= STATE_SYSTEM_HOTTRACKED;
            if (role == ROLE_SYSTEM_LINK)
                flags |= STATE_SYSTEM_LINKED;
            if (role == ROLE_SYSTEM_STATICTEXT)
                flags |= STATE_SYSTEM_READONLY;
            RECT client{}, place = ScreenRect(control, *element), visible{};
            GetClientRect(window_, &client);
            MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
            if (!IntersectRect(&visible, &client, &place))
                flags |= STATE_SYSTEM_OFFSCREEN;
            SetChildId(state, flags);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override
    {
        return Answer(id, [&](WinControl&, const rt::ui::Control* element) {
            return element ? AnswerText({}, help) : standard_->get_accHelp(id, help);
        });
    }

    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, LONG* topic) override
    {
        return Answer(id, [&](WinControl&, const rt::ui::Control* element) -> HRESULT {
            if (element) {
                if (file)
                    *file = nullptr;
                if (topic)
                    *topic = -1;
                return S_FALSE;
            }
            return standard_->get_accHelpTopic(file, id, topic);
        });
    }

    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* shortcut) override
    {
        return Answer(id, [&](WinControl&, const rt::ui::Control* element) {
            return element ? AnswerText({}, shortcut) : standard_->get_accKeyboardShortcut(id, shortcut);
        });
    }

    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override
    {
        WinControl* control = Control();
        if (!control || !focus)
            return E_FAIL;
        VariantInit(focus);
        if (!control->Focused())
            return S_FALSE;
        const long id = control->AccessibleIdOf(control->FocusedChild());
        SetChildId(focus, id > 0 ? id : CHILDID_SELF);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        if (selection)
            VariantInit(selection);
        return S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override
    {
        return Answer(id, [&](WinControl&, const rt::ui::Control* element) {
            return element ? AnswerText(element->AccessibleDefaultAction(), action)
                           : standard_->get_accDefaultAction(id, action);
        });
    }

    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT id) override
    {
        return Answer(id, [&](WinControl& control, const rt::ui::Control* element) {
            if (!element)
                return standard_->accSelect(flags, id);
            if (!(flags & SELFLAG_TAKEFOCUS) || !element->TabStop())
                return S_FALSE;
            control.FocusChild(const_cast<rt::ui::Control*>(element), false);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT id) override
    {
        return Answer(id, [&](WinControl& control, const rt::ui::Control* element) {
            RECT r{};
            if (element) {
                r = ScreenRect(control, *element);
            } else {
                GetClientRect(window_, &r);
                MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
            }
            *left = r.left;
            *top = r.top;
            *width = r.right - r.left;
            *height = r.bottom - r.top;
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override
    {
        return Answer(start, [&](WinControl& control, const rt::ui::Control* element) {
            if (!end)
                return E_INVALIDARG;
            VariantInit(end);
            const long count = static_cast<long>(control.AccessibleChildren().size());
            long target = 0;
            if (!element) {
                if (!OwnsChildren(control))
                    return standard_->accNavigate(direction, start, end);
                if (direction == NAVDIR_FIRSTCHILD)
                    target = count > 0 ? 1 : 0;
                else if (direction == NAVDIR_LASTCHILD)
                    target = count;
                else
                    return standard_->accNavigate(direction, start, end);
            } else {
                const long id = control.AccessibleIdOf(element);
                if (direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT || direction == NAVDIR_DOWN)
                    target = id < count ? id + 1 : 0;
                else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT || direction == NAVDIR_UP)
                    target = id > 1 ? id - 1 : 0;
            }
            if (target == 0)
                return S_FALSE;
            SetChildId(end, target);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override
    {
        WinControl* control = Control();
        if (!control || !hit)
            return E_FAIL;
        if (!OwnsChildren(*control))
            return standard_->accHitTest(x, y, hit);
        VariantInit(hit);
        POINT point{x, y};
        ScreenToClient(window_, &point);
        RECT client{};
        GetClientRect(window_, &client);
        if (!PtInRect(&client, point))
            return S_FALSE;
        const long id = control->AccessibleIdOf(control->AccessibleChildAt(point.x, point.y));
        SetChildId(hit, id > 0 ? id : CHILDID_SELF);
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override
    {
        return Answer(id, [&](WinControl& control, const rt::ui::Control* element) {
            if (!element)
                return standard_->accDoDefaultAction(id);
            if (element->AccessibleDefaultAction().empty())
                return DISP_E_MEMBERNOTFOUND;
            // Later, from the message loop: the caller (perhaps another
            // process) does not wait for the host function to end.
            control.RequestClick(element);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~AccessibleWindow() { standard_->Release(); }

    WinControl* Control() const noexcept { return IsWindow(window_) ? WindowDispatch::ControlOf(window_) : nullptr; }

    // Graphic children are shown in place of the standard object's child
    // windows when the control has any.
    static bool OwnsChildren(const WinControl& control) { return control.HasAccessibleChildren(); }

    // The graphic child a child id names (null for the object itself).
    static HRESULT Find(const WinControl& control, const VARIANT& id, const rt::ui::Control*& element)
    {
        element = nullptr;
        if (id.vt != VT_I4)
            return E_INVALIDARG;
        if (id.lVal == CHILDID_SELF)
            return S_OK;
        const std::vector<rt::ui::Control*> children = control.AccessibleChildren();
        if (id.lVal < 1 || static_cast<std::size_t>(id.lVal) > children.size())
            return E_INVALIDARG;
        element = children[static_cast<std::size_t>(id.lVal) - 1];
        return S_OK;
    }

    template <typename Body>
    HRESULT Answer(const VARIANT& id, Body&& body)
    {
        WinControl* control = Control();
        if (!control)
            return E_FAIL;
        if (!OwnsChildren(*control) && !(id.vt == VT_I4 && id.lVal == CHILDID_SELF))
            return body(*control, nullptr); // the standard object answers for child windows
        const rt::ui::Control* element = nullptr;
        const HRESULT found = Find(*control, id, element);
        if (FAILED(found))
            return found;
        try {
            return body(*control, element);
        } catch (...) {
            return E_FAIL;
        }
    }

    static RECT ScreenRect(const WinControl&, const rt::ui::Control& element)
    {
        const Bounds b = element.ScreenBounds();
        return RECT{b.left, b.top, b.Right(), b.Bottom()};
    }

    LONG references_ = 1;
    HWND window_;
    IAccessible* standard_;
};

} // namespace

LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam)
{
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))) ||
        !standard)
        return 0;
    auto* object = new (std::nothrow) AccessibleWindow(window, standard);
    if (!object) {
        standard->Release();
        return 0;
    }
    LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, object);
    if (result == static_cast<LRESULT>(CO_E_NOTINITIALIZED)) {
        // A host thread without COM: the marshalling needs it, once.
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        result = LresultFromObject(__uuidof(IAccessible), wParam, object);
    }
    object->Release();
    return result < 0 ? 0 : result;
}

} // namespace rt::ui
