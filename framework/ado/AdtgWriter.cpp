#include "framework/ado/AdtgWriter.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/AdtgValueCodec.h"
#include "framework/ado/ByteWriter.h"
#include "framework/ado/ColumnLayout.h"
#include "framework/ado/GuidText.h"

#include <string>

namespace TDInvoice::Ado {

namespace {

const char *const kRecordsetClass = "{3FF292B6-B204-11CF-8D23-00AA005FFE58}";
const char *const kResultClass = "{F663ADD2-EB02-11CF-B0E3-00AA003F000F}";
const char *const kRowsetProperties = "{C8B522BE-5CF3-11CE-ADE5-00AA0044773D}";
const char *const kClientCursorProperties = "{B68E3CC1-6DEB-11D0-8DF6-00AA005FFE58}";

void guid(ByteWriter &w, const char *text) { w.bytes(*parseGuid(QString::fromLatin1(text))); }

// An element: token, USHORT size of the body, body.
template <typename Body> void element(ByteWriter &w, std::uint8_t token, Body body) {
  w.u8(token);
  const qsizetype sizeAt = w.size();
  w.u16(0);
  body();
  const qsizetype size = w.size() - sizeAt - 2;
  if (size > 0xFFFF)
    throw EOleException("TableGram element too large");
  w.patchU16(sizeAt, std::uint16_t(size));
}

void intProperty(ByteWriter &w, std::uint32_t id, std::uint32_t value) {
  w.u32(id);
  w.u16(4);
  w.u32(value);
}

void boolProperty(ByteWriter &w, std::uint32_t id, bool value) {
  w.u32(id);
  w.u16(2);
  w.u16(value ? 0xFFFF : 0x0000);
}

void emptyTextProperty(ByteWriter &w, std::uint32_t id) {
  w.u32(id);
  w.u16(0);
}

void writeHeader(ByteWriter &w) {
  w.u8(0x01);
  w.u8(7);
  w.bytes("TG!");
  w.u8(0); // version 0.0
  w.u8(0);
  w.u8(0); // little-endian
  w.u8(0); // ANSI data in the writer's code page
}

void writeHandlerOptions(ByteWriter &w) {
  element(w, 0x02, [&] {
    guid(w, kRecordsetClass);
    w.u8(1);  // update columns only
    w.u16(0); // original URL, update URL, friendly name: empty
    w.u16(0);
    w.u16(0);
    w.u16(0); // async options as Recordset.Save writes them
  });
}

void writeResultDescriptor(ByteWriter &w, std::uint16_t columns, std::uint32_t rows) {
  element(w, 0x03, [&] {
    guid(w, kResultClass);
    w.u8(0);        // reserved
    w.u8(0);        // snapshot cursor
    w.u8(0);        // not normalised
    w.u16(columns); // visible
    w.u16(columns); // total
    w.u16(0);       // computed
    w.u16(0);       // base tables: none for a client-side recordset
    w.u16(0);       // order-by columns
    w.u32(rows);
    w.u16(1);
    guid(w, kClientCursorProperties);
    w.u16(7);
    intProperty(w, 0x0B, 1);                                     // Auto Recalc
    intProperty(w, 0x13, 1);                                     // Update Resync
    for (std::uint32_t id : {0x0Du, 0x0Eu, 0x0Fu, 0x10u, 0x12u}) // unique table ... reshape name
      emptyTextProperty(w, id);
  });
}

void writeResultContext(ByteWriter &w) {
  element(w, 0x10, [&] {
    w.u16(2);
    guid(w, kRowsetProperties);
    w.u16(4);
    boolProperty(w, 0x7F, true); // IRowsetChange
    boolProperty(w, 0x86, true); // IRowsetUpdate
    intProperty(w, 0x22, 0);     // CommandTimeout
    intProperty(w, 0x49, 0);     // MaxRows
    guid(w, kClientCursorProperties);
    w.u16(5);
    intProperty(w, 0x04, 15); // Batch Size
    intProperty(w, 0x05, 2);  // Update Criteria
    intProperty(w, 0x03, 15); // Background Fetch Size
    intProperty(w, 0x07, 50); // Initial Fetch Size
    intProperty(w, 0x08, 3);  // Background Thread Priority
  });
}

void writeColumnDescriptor(ByteWriter &w, const ColumnLayout &column, std::uint16_t ordinal) {
  if (column.name.size() > 0x7F00)
    throw EOleException("Field name too long");
  element(w, 0x06, [&] {
    w.u8(0x80); // fields present: name, IsAutoIncrement
    w.u8(0x01);
    w.u8(0x00);
    w.u16(ordinal);
    w.lengthPrefixedString(column.name);
    w.u16(column.dbType);
    w.u32(column.maxLength);
    w.u32(column.precision);
    w.u32(std::uint32_t(column.scale));
    w.u32(column.flags);
    w.u16(0x0000); // not auto-increment
    w.u16(0xFFFF); // visible
  });
}

void writeRow(ByteWriter &w, const std::vector<ColumnLayout> &columns,
              const std::vector<Variant> &row, std::size_t rowIndex, int codePage) {
  if (row.size() != columns.size())
    throw EOleException("Row " + std::to_string(rowIndex) + " has " + std::to_string(row.size()) +
                        " values for " + std::to_string(columns.size()) + " fields");
  w.u8(0x07);
  // Presence map: one bit per nullable column, 1 = value present; unused bits are 1.
  std::vector<std::uint8_t> map;
  std::size_t bit = 0;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const bool missing = row[i].isNull() || row[i].isEmpty();
    if (!hasPresenceBit(columns[i])) {
      if (missing)
        throw EOleException("Field '" + columns[i].name.toStdString() + "' is not nullable (row " +
                            std::to_string(rowIndex) + ")");
      continue;
    }
    if (bit % 8 == 0)
      map.push_back(0xFF);
    if (missing)
      map.back() &= std::uint8_t(~(0x80 >> (bit % 8)));
    ++bit;
  }
  for (std::uint8_t b : map)
    w.u8(b);
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (!row[i].isNull() && !row[i].isEmpty())
      encodeAdtgValue(w, columns[i], row[i], codePage);
}

} // namespace

QByteArray writeAdtg(const RecordsetData &data, int ansiCodePage) {
  if (data.fields.size() > 0xFFFF)
    throw EOleException("Too many fields for a TableGram");
  if (data.rows.size() > 0xFFFFFFFFULL)
    throw EOleException("Too many rows for a TableGram");
  std::vector<ColumnLayout> columns;
  for (const FieldInfo &field : data.fields)
    columns.push_back(columnLayoutOf(field));
  ByteWriter w;
  writeHeader(w);
  writeHandlerOptions(w);
  writeResultDescriptor(w, std::uint16_t(columns.size()), std::uint32_t(data.rows.size()));
  writeResultContext(w);
  for (std::size_t i = 0; i < columns.size(); ++i)
    writeColumnDescriptor(w, columns[i], std::uint16_t(i + 1));
  for (std::size_t r = 0; r < data.rows.size(); ++r)
    writeRow(w, columns, data.rows[r], r, ansiCodePage);
  w.u8(0x0F);
  return w.data();
}

} // namespace TDInvoice::Ado
