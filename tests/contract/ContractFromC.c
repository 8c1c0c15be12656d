/* The contract header as a C host compiles it (C11, pedantic, every
   warning an error), and a C host's reading of what the module publishes. */
#include "ContractFromC.h"

#include <string.h>

#define CONTRACT_SIZE_(type) sizeof(type),
#define CONTRACT_OFFSET_(type, field) offsetof(type, field),
const size_t contract_sizes_from_c[] = {CONTRACT_SIZES(CONTRACT_SIZE_)};
const size_t contract_offsets_from_c[] = {CONTRACT_OFFSETS(CONTRACT_OFFSET_)};

#define CONTRACT_NAME_(result, name, parameters) #name,
const char* const contract_export_names_from_c[] = {WSCBS_EXPORTS(CONTRACT_NAME_) NULL};
const char* const contract_service_names_from_c[] = {WSCBS_HOST_SERVICES(CONTRACT_NAME_) NULL};

/* The pointer types a C host takes from GetProcAddress are those of the
   exports (checked without referring to them: _Generic does not evaluate). */
#define CONTRACT_SAME_TYPE_(result, name, parameters) \
    WSCBS_STATIC_ASSERT(_Generic(&name, Wscbs##name##Proc: 1, default: 0), #name " has its pointer type");
WSCBS_EXPORTS(CONTRACT_SAME_TYPE_)

static const char* Text(const char* chars) { return chars != NULL ? chars : ""; }

int32_t contract_c_catalogue_count(const WscbsErrorMsg* first)
{
    if (first == NULL)
        return 0;
    return ((const WscbsCountedArrayHeader*)(const void*)first - 1)->Count;
}

int32_t contract_c_record_code(const WscbsErrorMsg* first, int32_t i) { return first[i].Code; }
int32_t contract_c_record_seq_no(const WscbsErrorMsg* first, int32_t i) { return first[i].SeqNo; }
const char* contract_c_record_message(const WscbsErrorMsg* first, int32_t i) { return Text(first[i].Msg); }
const char* contract_c_record_module_type(const WscbsErrorMsg* first, int32_t i) { return Text(first[i].ModuleType); }
const char* contract_c_record_inside_code(const WscbsErrorMsg* first, int32_t i) { return Text(first[i].InsideCode); }

int32_t contract_c_string_length(const char* chars)
{
    int32_t length = 0;
    if (chars != NULL)
        memcpy(&length, chars - 4, sizeof length);
    return length;
}

void contract_c_item_name(const WscbsParamItem* item, char* name)
{
    memcpy(name, item->Name + 1, item->Name[0]);
    name[item->Name[0]] = '\0';
}

int contract_c_item_type(const WscbsParamItem* item) { return item->ValueType; }
const char* contract_c_item_string(const WscbsParamItem* item) { return Text(item->Value->StringValue); }
int32_t contract_c_item_integer(const WscbsParamItem* item) { return item->Value->Scalar.IntegerValue; }
int contract_c_item_boolean(const WscbsParamItem* item) { return item->Value->Scalar.BooleanValue; }
double contract_c_item_float(const WscbsParamItem* item) { return item->Value->Scalar.FloatValue; }
const void* contract_c_item_pointer(const WscbsParamItem* item) { return item->Value->Scalar.PointerValue; }

WscbsValueObject* contract_c_fill_value_object(void* borrowed)
{
    WscbsValueObject* vo = WscbsValueObjectCreate();
    WscbsValueObject* child = WscbsValueObjectCreate();
    int ok = vo != NULL && child != NULL;
    ok = ok && WscbsValueObjectSetString(vo, "Global_curkjny", "202405");
    ok = ok && WscbsValueObjectSetInteger(vo, "Count", -7);
    ok = ok && WscbsValueObjectSetBoolean(vo, "Flag", 1);
    ok = ok && WscbsValueObjectSetFloat(vo, "Rate", 0.13);
    ok = ok && WscbsValueObjectSetPointer(vo, "Borrowed", borrowed);
    ok = ok && WscbsValueObjectSetString(child, "Inner", "x");
    ok = ok && WscbsValueObjectSetObject(vo, "Child", child);
    ok = ok && WscbsValueObjectSetString(vo, "GLOBAL_CURKJNY", "200703");
    /* Refused: an object owned already, a name too long, no value object. */
    ok = ok && !WscbsValueObjectSetObject(vo, "Again", child);
    {
        char name[257];
        memset(name, 'N', 256);
        name[256] = '\0';
        ok = ok && !WscbsValueObjectSetString(vo, name, "long");
    }
    ok = ok && !WscbsValueObjectSetString(NULL, "x", "y");
    ok = ok && WscbsValueObjectCount(vo) == 6;
    ok = ok && strcmp(WscbsValueObjectGetString(vo, "global_curkjny", "none"), "200703") == 0;
    ok = ok && strcmp(WscbsValueObjectGetString(vo, "Count", "none"), "none") == 0;
    ok = ok && WscbsValueObjectGetInteger(vo, "Count", 0) == -7;
    ok = ok && WscbsValueObjectGetPointer(vo, "Borrowed", NULL) == borrowed;
    ok = ok && WscbsValueObjectGetPointer(vo, "Child", NULL) == (void*)child;
    if (!ok) {
        WscbsValueObjectDestroy(vo);
        return NULL;
    }
    return vo;
}

int contract_c_assign_text(WscbsString* result, const char* text)
{
    return WscbsStringAssign(result, "an older answer") && WscbsStringAssign(result, text) &&
           strcmp(WscbsStringText(result), text) == 0 && WscbsStringLength(result) == strlen(text);
}
