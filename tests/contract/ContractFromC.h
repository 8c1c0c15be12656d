/* What a C compiler makes of the contract header, for the C++ tests to
   compare with their own reading of it. This file compiles as C and C++. */
#ifndef CONTRACT_FROM_C_H
#define CONTRACT_FROM_C_H

#include "wscbs/wscbs.h"

#include <stddef.h>
#include <stdint.h>

/* Every size and field offset of the exchange records. */
#define CONTRACT_SIZES(X)  \
    X(WscbsParamValue)     \
    X(WscbsParamItem)      \
    X(WscbsErrorMsg)       \
    X(WscbsCountedArrayHeader) \
    X(WscbsSubAppInfo)
#define CONTRACT_OFFSETS(X)                     \
    X(WscbsParamValue, StringValue)             \
    X(WscbsParamValue, VariantValue)            \
    X(WscbsParamValue, Scalar)                  \
    X(WscbsParamValue, Scalar.IntegerValue)     \
    X(WscbsParamValue, Scalar.BooleanValue)     \
    X(WscbsParamValue, Scalar.FloatValue)       \
    X(WscbsParamValue, Scalar.PointerValue)     \
    X(WscbsParamValue, Scalar.ObjectValue)      \
    X(WscbsParamItem, Name)                     \
    X(WscbsParamItem, ValueType)                \
    X(WscbsParamItem, Value)                    \
    X(WscbsErrorMsg, SeqNo)                     \
    X(WscbsErrorMsg, Code)                      \
    X(WscbsErrorMsg, Msg)                       \
    X(WscbsErrorMsg, ReservedText1)             \
    X(WscbsErrorMsg, ReservedText2)             \
    X(WscbsErrorMsg, ReservedByte)              \
    X(WscbsErrorMsg, ModuleType)                \
    X(WscbsErrorMsg, InsideCode)                \
    X(WscbsCountedArrayHeader, RefCount)        \
    X(WscbsCountedArrayHeader, Count)           \
    X(WscbsSubAppInfo, Version)

#ifdef __cplusplus
extern "C" {
#endif

/* The figures above in list order, as the C compiler computed them. */
extern const size_t contract_sizes_from_c[];
extern const size_t contract_offsets_from_c[];
/* The names of the two function lists, in list order, NULL-terminated. */
extern const char* const contract_export_names_from_c[];
extern const char* const contract_service_names_from_c[];

/* A C host reading what the module published: the element count of the
   catalogue "Global_Errlist" addresses (0 for NULL), and record i's fields
   (texts "" when empty). */
int32_t contract_c_catalogue_count(const WscbsErrorMsg* first);
int32_t contract_c_record_code(const WscbsErrorMsg* first, int32_t i);
int32_t contract_c_record_seq_no(const WscbsErrorMsg* first, int32_t i);
const char* contract_c_record_message(const WscbsErrorMsg* first, int32_t i);
const char* contract_c_record_module_type(const WscbsErrorMsg* first, int32_t i);
const char* contract_c_record_inside_code(const WscbsErrorMsg* first, int32_t i);
/* The length a string field's characters carry in front of them. */
int32_t contract_c_string_length(const char* chars);

/* A C host reading one value-object item: its name (copied, NUL-added,
   into `name`, which has room for 256 bytes), its type code, and its cell's
   string, integer, Boolean and pointer. */
void contract_c_item_name(const WscbsParamItem* item, char* name);
int contract_c_item_type(const WscbsParamItem* item);
const char* contract_c_item_string(const WscbsParamItem* item);
int32_t contract_c_item_integer(const WscbsParamItem* item);
int contract_c_item_boolean(const WscbsParamItem* item);
double contract_c_item_float(const WscbsParamItem* item);
const void* contract_c_item_pointer(const WscbsParamItem* item);

/* A C host's value object made with the runtime's C functions: the items
   "Global_curkjny" (string, set twice, the second time as
   "GLOBAL_CURKJNY" to "200703"), "Count" (integer -7), "Flag" (boolean),
   "Rate" (float 0.13), "Borrowed" (pointer to `borrowed`) and "Child" (an
   object: a value object of its own with one item). Every call's result
   is checked; NULL when one failed. */
WscbsValueObject* contract_c_fill_value_object(void* borrowed);
/* A text result as a C host's service gives it: assigned twice to the
   caller's string, the second time `text`. 1 when both assignments held. */
int contract_c_assign_text(WscbsString* result, const char* text);

#ifdef __cplusplus
}
#endif

#endif
