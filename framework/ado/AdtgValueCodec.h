// One column value of a TableGram row: decoding and encoding by storage type.
#pragma once

#include "framework/ado/ByteReader.h"
#include "framework/ado/ByteWriter.h"
#include "framework/ado/ColumnLayout.h"
#include "framework/ado/Variant.h"

namespace TDInvoice::Ado {

// Reads one present value of the column; fails through the reader on malformed bytes.
Variant decodeAdtgValue(ByteReader &reader, const ColumnLayout &column, int ansiCodePage);
// Writes one non-null value; throws EOleException when the value does not fit the column.
void encodeAdtgValue(ByteWriter &writer, const ColumnLayout &column, const Variant &value,
                     int ansiCodePage);

} // namespace TDInvoice::Ado
