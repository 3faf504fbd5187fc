// A small recordset whose rows expose sort and cursor faults: equal keys in several places,
// a null in each column, mixed-case text.
#pragma once

#include "framework/ado/RecordsetData.h"

namespace TDInvoice::Testing {

inline Ado::FieldInfo field(const char *name, Ado::DataTypeEnum type, std::int32_t size) {
  Ado::FieldInfo info;
  info.name = QString::fromLatin1(name);
  info.type = type;
  info.definedSize = size;
  info.attributes = Ado::adFldIsNullable | Ado::adFldMayBeNull;
  return info;
}

// Columns: Id (integer, the stored position), Family (text), Amount (currency), Week
// (integer), Paid (boolean).
inline Ado::RecordsetData accountRows() {
  using Ado::Variant;
  Ado::RecordsetData data;
  data.fields = {field("Id", Ado::adInteger, 4), field("Family", Ado::adVarWChar, 50),
                 field("Amount", Ado::adCurrency, 8), field("Week", Ado::adInteger, 4),
                 field("Paid", Ado::adBoolean, 2)};
  const auto row = [](int id, Variant family, std::int64_t amount, Variant week, bool paid) {
    return std::vector<Variant>{Variant(id), family, Variant::fromCurrency(amount), week,
                                Variant(paid)};
  };
  data.rows = {row(0, "smith", 1250000, 2, false),
               row(1, "Brown", -5000, 1, true),
               row(2, "SMITH", 1250000, 1, true),
               row(3, Variant::null(), 0, 3, false),
               row(4, "adams", 99990000, Variant::null(), true),
               row(5, "Brown", 1, 2, false)};
  return data;
}

} // namespace TDInvoice::Testing
