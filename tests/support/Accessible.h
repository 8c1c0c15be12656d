#pragma once
// Reading what assistive technology reads: oleacc's own entry points
// (AccessibleObjectFromWindow, AccessibleObjectFromPoint) and the
// IAccessible they return, with the texts as GBK.
#include <windows.h>
#include <oleacc.h>

#include <string>

namespace testing_support {

// COM for the calling thread while alive (a screen reader's side).
class ComApartment {
public:
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

inline std::string Gbk(BSTR text)
{
    if (!text)
        return {};
    const int wide = static_cast<int>(SysStringLen(text));
    const int size = WideCharToMultiByte(936, 0, text, wide, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(936, 0, text, wide, out.data(), size, nullptr, nullptr);
    SysFreeString(text);
    return out;
}

inline VARIANT ChildId(long id)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// One element as an IAccessible and a child id (CHILDID_SELF for the
// object itself). Holds its reference.
class AccessibleElement {
public:
    AccessibleElement() = default;
    AccessibleElement(IAccessible* object, long child) : object_(object), child_(child) {}
    AccessibleElement(AccessibleElement&& other) noexcept : object_(other.object_), child_(other.child_)
    {
        other.object_ = nullptr;
    }
    AccessibleElement& operator=(AccessibleElement&& other) noexcept
    {
        std::swap(object_, other.object_);
        child_ = other.child_;
        return *this;
    }
    ~AccessibleElement()
    {
        if (object_)
            object_->Release();
    }

    static AccessibleElement FromWindow(HWND window, LONG objectId = OBJID_CLIENT)
    {
        IAccessible* object = nullptr;
        if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(objectId), __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&object))))
            return {};
        return {object, CHILDID_SELF};
    }
    static AccessibleElement FromPoint(POINT screen)
    {
        IAccessible* object = nullptr;
        VARIANT child;
        VariantInit(&child);
        if (FAILED(AccessibleObjectFromPoint(screen, &object, &child)) || !object)
            return {};
        return {object, child.vt == VT_I4 ? child.lVal : CHILDID_SELF};
    }

    explicit operator bool() const noexcept { return object_ != nullptr; }
    IAccessible* Object() const noexcept { return object_; }
    long Child() const noexcept { return child_; }
    AccessibleElement ChildElement(long id) const
    {
        if (!object_)
            return {};
        object_->AddRef();
        return {object_, id};
    }

    long ChildCount() const
    {
        if (!object_)
            return -1;
        long count = -1;
        object_->get_accChildCount(&count);
        return count;
    }
    std::string Name() const
    {
        if (!object_)
            return {};
        BSTR text = nullptr;
        object_->get_accName(ChildId(child_), &text);
        return Gbk(text);
    }
    std::string Description() const
    {
        if (!object_)
            return {};
        BSTR text = nullptr;
        object_->get_accDescription(ChildId(child_), &text);
        return Gbk(text);
    }
    std::string DefaultAction() const
    {
        if (!object_)
            return {};
        BSTR text = nullptr;
        object_->get_accDefaultAction(ChildId(child_), &text);
        return Gbk(text);
    }
    long Role() const
    {
        if (!object_)
            return -1;
        VARIANT role;
        VariantInit(&role);
        object_->get_accRole(ChildId(child_), &role);
        return role.vt == VT_I4 ? role.lVal : -1;
    }
    long State() const
    {
        if (!object_)
            return -1;
        VARIANT state;
        VariantInit(&state);
        object_->get_accState(ChildId(child_), &state);
        return state.vt == VT_I4 ? state.lVal : -1;
    }
    RECT Location() const
    {
        if (!object_)
            return {};
        long left = 0, top = 0, width = 0, height = 0;
        object_->accLocation(&left, &top, &width, &height, ChildId(child_));
        return RECT{left, top, left + width, top + height};
    }
    HRESULT DoDefaultAction() const { return object_ ? object_->accDoDefaultAction(ChildId(child_)) : E_FAIL; }

private:
    IAccessible* object_ = nullptr;
    long child_ = CHILDID_SELF;
};

} // namespace testing_support
