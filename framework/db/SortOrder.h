// Sort specifications of a client-side recordset: "Field [ASC|DESC], ...".
#pragma once

#include "framework/ado/RecordsetRows.h"

#include <QString>

#include <vector>

namespace TDInvoice::Ado {

struct SortKey {
  int column = 0;
  bool descending = false;
};

// Field names match case-insensitively and may be bracketed ("[Close Date] DESC"). Blank
// text gives no keys (the stored order). An empty term, an unknown word after the name or an
// unclosed bracket raises EOleException with ADO's argument error; an unknown field raises
// it with ADO's item-not-found error.
std::vector<SortKey> parseSortOrder(const QString &spec, const std::vector<FieldInfo> &fields);

// The order of two values in a sort: null and empty first, then by value. Numbers compare by
// value, text case-insensitively, booleans as their variant values (True is -1, before
// False), byte arrays byte by byte.
int compareSortValues(const Variant &a, const Variant &b);

// Stored positions of `rows` in the order of the keys; rows that compare equal keep their
// stored order. Each key field is read once per row.
std::vector<int> sortedOrder(const RecordsetRows &rows, const std::vector<SortKey> &keys);

} // namespace TDInvoice::Ado
