// The runtime's C functions (WSCBS_RUNTIME_FUNCTIONS of the contract
// header) for the strings, value objects and query objects: what a host
// written in C makes, reads and releases. None lets an error out; each
// answers 0 or null and leaves things as they were. The heap's two are in
// SharedHeap.cpp, the container's in ui/HostWindowContainer.cpp.
#include "sharedrt/AppObjects.h"
#include "sharedrt/RtQuery.h"
#include "sharedrt/RtString.h"
#include "sharedrt/SharedHeap.h"
#include "sharedrt/ValueLayout.h"
#include "wscbs/wscbs.h"

#include <cstring>
#include <new>
#include <set>

namespace {

WscbsParamItem* AsRecord(rt::ParamItem* item) { return reinterpret_cast<WscbsParamItem*>(item); }

// The objects this interface made that nobody has taken over yet: only
// these may become an object item, so that no object gets two owners.
std::set<const rt::RtObject*>& FreeObjects()
{
    static auto* const objects = new std::set<const rt::RtObject*>;
    return *objects;
}

template <typename Object>
Object* MadeHere(Object* object)
{
    try {
        FreeObjects().insert(object);
        return object;
    } catch (...) {
        delete object;
        return nullptr;
    }
}

// Sets one item; `fill` stores the value into the new cell.
template <typename Fill>
WSCBS_BOOL SetItem(WscbsValueObject* valueObject, const char* name, rt::ParamType type, Fill fill) noexcept
{
    if (valueObject == nullptr || name == nullptr || std::strlen(name) > 255)
        return 0;
    try {
        rt::TParamValue* cell = rt::NewParamValue();
        try {
            fill(*cell);
        } catch (...) {
            rt::FreeParamValue(cell);
            throw;
        }
        rt::SetParamItem(*valueObject, name, type, cell);
        return 1;
    } catch (...) {
        return 0;
    }
}

// The cell of the first item `name` when it has type `type`; null otherwise.
const rt::TParamValue* TypedCell(const WscbsValueObject* valueObject, const char* name, rt::ParamType type) noexcept
{
    if (valueObject == nullptr || name == nullptr)
        return nullptr;
    const rt::ParamItem* item = rt::FindParamItem(*valueObject, name);
    if (item == nullptr || item->Value == nullptr || static_cast<rt::ParamType>(item->ValueType) != type)
        return nullptr;
    return item->Value;
}

} // namespace

extern "C" {

// ---- strings --------------------------------------------------------------------

WscbsString* WscbsStringCreate(const char* text)
{
    try {
        void* block = rt::SharedHeap::AllocZeroed(sizeof(rt::RtString));
        try {
            return new (block) rt::RtString(text);
        } catch (...) {
            rt::SharedHeap::Free(block);
            throw;
        }
    } catch (...) {
        return nullptr;
    }
}

void WscbsStringDestroy(WscbsString* string)
{
    if (string == nullptr)
        return;
    string->~RtString();
    rt::SharedHeap::Free(string);
}

WSCBS_BOOL WscbsStringAssignBytes(WscbsString* string, const char* bytes, size_t length)
{
    if (string == nullptr || (bytes == nullptr && length != 0))
        return 0;
    try {
        *string = std::string_view(bytes != nullptr ? bytes : "", length);
        return 1;
    } catch (...) {
        return 0;
    }
}

WSCBS_BOOL WscbsStringAssign(WscbsString* string, const char* text)
{
    return WscbsStringAssignBytes(string, text, text != nullptr ? std::strlen(text) : 0);
}

const char* WscbsStringText(const WscbsString* string) { return string != nullptr ? string->CStr() : ""; }

size_t WscbsStringLength(const WscbsString* string) { return string != nullptr ? string->Length() : 0; }

// ---- value objects ------------------------------------------------------------------

WscbsValueObject* WscbsValueObjectCreate(void)
{
    try {
        return MadeHere(new rt::DataVO);
    } catch (...) {
        return nullptr;
    }
}

// A value object of the host's own: one that an object item holds belongs
// to that item.
void WscbsValueObjectDestroy(WscbsValueObject* valueObject)
{
    if (valueObject == nullptr)
        return;
    FreeObjects().erase(valueObject);
    delete valueObject;
}

WscbsInt32 WscbsValueObjectCount(const WscbsValueObject* valueObject)
{
    return valueObject != nullptr ? valueObject->Items->Count() : 0;
}

WscbsParamItem* WscbsValueObjectItem(const WscbsValueObject* valueObject, WscbsInt32 index)
{
    if (valueObject == nullptr || index < 0 || index >= valueObject->Items->Count())
        return nullptr;
    try {
        return AsRecord(static_cast<rt::ParamItem*>(valueObject->Items->Get(index)));
    } catch (...) {
        return nullptr;
    }
}

WscbsParamItem* WscbsValueObjectFind(const WscbsValueObject* valueObject, const char* name)
{
    if (valueObject == nullptr || name == nullptr)
        return nullptr;
    return AsRecord(rt::FindParamItem(*valueObject, name));
}

WSCBS_BOOL WscbsValueObjectSetString(WscbsValueObject* valueObject, const char* name, const char* value)
{
    return SetItem(valueObject, name, rt::ParamType::String,
                   [&](rt::TParamValue& cell) { cell.StringValue = std::string_view(value != nullptr ? value : ""); });
}

WSCBS_BOOL WscbsValueObjectSetInteger(WscbsValueObject* valueObject, const char* name, WscbsInt32 value)
{
    return SetItem(valueObject, name, rt::ParamType::Integer, [&](rt::TParamValue& cell) { cell.IntegerValue = value; });
}

WSCBS_BOOL WscbsValueObjectSetFloat(WscbsValueObject* valueObject, const char* name, double value)
{
    return SetItem(valueObject, name, rt::ParamType::Float, [&](rt::TParamValue& cell) { cell.FloatValue = value; });
}

WSCBS_BOOL WscbsValueObjectSetBoolean(WscbsValueObject* valueObject, const char* name, WSCBS_BOOL value)
{
    return SetItem(valueObject, name, rt::ParamType::Boolean,
                   [&](rt::TParamValue& cell) { cell.BooleanValue = value != 0 ? 1 : 0; });
}

WSCBS_BOOL WscbsValueObjectSetPointer(WscbsValueObject* valueObject, const char* name, void* value)
{
    return SetItem(valueObject, name, rt::ParamType::Pointer, [&](rt::TParamValue& cell) { cell.PointerValue = value; });
}

WSCBS_BOOL WscbsValueObjectSetObject(WscbsValueObject* valueObject, const char* name, void* object)
{
    auto* target = static_cast<rt::RtObject*>(object);
    // Either an object of this interface that nobody owns yet, or the very
    // object the item holds already (set again, it stays alive).
    const bool unowned = object != nullptr && FreeObjects().count(target) != 0;
    const bool same = object != nullptr && TypedCell(valueObject, name, rt::ParamType::Object) != nullptr &&
                      TypedCell(valueObject, name, rt::ParamType::Object)->ObjectValue == target;
    if ((!unowned && !same) || object == valueObject)
        return 0;
    if (!SetItem(valueObject, name, rt::ParamType::Object, [&](rt::TParamValue& cell) { cell.ObjectValue = target; }))
        return 0;
    FreeObjects().erase(target);
    return 1;
}

const char* WscbsValueObjectGetString(const WscbsValueObject* valueObject, const char* name, const char* defaultValue)
{
    const rt::TParamValue* cell = TypedCell(valueObject, name, rt::ParamType::String);
    return cell != nullptr ? cell->StringValue.CStr() : defaultValue;
}

WscbsInt32 WscbsValueObjectGetInteger(const WscbsValueObject* valueObject, const char* name, WscbsInt32 defaultValue)
{
    const rt::TParamValue* cell = TypedCell(valueObject, name, rt::ParamType::Integer);
    return cell != nullptr ? cell->IntegerValue : defaultValue;
}

double WscbsValueObjectGetFloat(const WscbsValueObject* valueObject, const char* name, double defaultValue)
{
    const rt::TParamValue* cell = TypedCell(valueObject, name, rt::ParamType::Float);
    return cell != nullptr ? cell->FloatValue : defaultValue;
}

WSCBS_BOOL WscbsValueObjectGetBoolean(const WscbsValueObject* valueObject, const char* name, WSCBS_BOOL defaultValue)
{
    const rt::TParamValue* cell = TypedCell(valueObject, name, rt::ParamType::Boolean);
    return cell != nullptr ? (cell->BooleanValue != 0 ? 1 : 0) : defaultValue;
}

void* WscbsValueObjectGetPointer(const WscbsValueObject* valueObject, const char* name, void* defaultValue)
{
    if (const rt::TParamValue* cell = TypedCell(valueObject, name, rt::ParamType::Pointer))
        return cell->PointerValue;
    if (const rt::TParamValue* cell = TypedCell(valueObject, name, rt::ParamType::Object))
        return cell->ObjectValue;
    return defaultValue;
}

// ---- query objects ------------------------------------------------------------------

WscbsQuery* WscbsQueryCreate(void)
{
    try {
        return MadeHere(new rt::RtQuery);
    } catch (...) {
        return nullptr;
    }
}

void WscbsQueryDestroy(WscbsQuery* query)
{
    if (query == nullptr)
        return;
    FreeObjects().erase(query);
    delete query;
}

WSCBS_BOOL WscbsQuerySetResult(WscbsQuery* query, const char* statement, WscbsInt32 rowsAffected)
{
    if (query == nullptr)
        return 0;
    try {
        query->LastStatement = std::string_view(statement != nullptr ? statement : "");
        query->RowsAffected = rowsAffected;
        return 1;
    } catch (...) {
        return 0;
    }
}

const char* WscbsQueryStatement(const WscbsQuery* query) { return query != nullptr ? query->LastStatement.CStr() : ""; }

WscbsInt32 WscbsQueryRowsAffected(const WscbsQuery* query) { return query != nullptr ? query->RowsAffected : 0; }

// ---- errors the runtime shows ----------------------------------------------------------

void WscbsSetErrorDisplay(WscbsErrorDisplayProc display, void* context)
{
    rt::Application* application = rt::CurrentApplication();
    if (application == nullptr)
        return;
    try {
        if (display == nullptr)
            application->SetErrorDisplay({});
        else
            application->SetErrorDisplay(
                [display, context](const std::string& gbkMessage) { display(context, gbkMessage.c_str()); });
    } catch (...) {
    }
}

} // extern "C"
