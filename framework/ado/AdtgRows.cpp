#include "framework/ado/AdtgRows.h"

#include "framework/ado/AdtgValueCodec.h"
#include "framework/ado/ByteReader.h"

namespace TDInvoice::Ado {

namespace {

bool bitOf(const unsigned char *map, std::size_t index) {
  return (map[index >> 3] & (0x80U >> (index & 7))) != 0;
}

std::uint32_t le32(const unsigned char *p) {
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
         (std::uint32_t(p[3]) << 24);
}

bool isVariableLength(std::uint16_t dbType) {
  return dbType == DbBytes || dbType == DbStr || dbType == DbWStr || dbType == DbVarNumeric;
}

bool needsDecoding(std::uint16_t dbType) {
  switch (dbType) {
  case DbStr:
  case DbVarNumeric:
  case DbDecimal:
  case DbNumeric:
  case DbVariant:
  case DbDbDate:
  case DbDbTime:
  case DbDbTimeStamp:
  case DbFileTime:
    return true;
  default:
    return false;
  }
}

} // namespace

namespace {

StoredColumn::Walk walkOf(const StoredColumn &column) {
  using Walk = StoredColumn::Walk;
  if (column.layout == StoredColumn::Layout::NoData)
    return Walk::NoData;
  if (column.checkByDecoding)
    return Walk::Decode;
  if (column.layout == StoredColumn::Layout::Fixed)
    return Walk::Fixed;
  if (column.prefix == 1)
    return column.evenLength ? Walk::Prefix1Even : Walk::Prefix1;
  return column.evenLength ? Walk::Prefix4Even : Walk::Prefix4;
}

StoredColumn laidOut(const ColumnLayout &spec, std::int32_t presenceBit);

} // namespace

StoredColumn storedColumnOf(const ColumnLayout &spec, std::int32_t presenceBit) {
  StoredColumn column = laidOut(spec, presenceBit);
  column.walk = walkOf(column);
  if (presenceBit >= 0) {
    column.mapByte = std::uint32_t(presenceBit) / 8;
    column.mapMask = std::uint8_t(0x80U >> (presenceBit % 8));
  }
  return column;
}

namespace {

StoredColumn laidOut(const ColumnLayout &spec, std::int32_t presenceBit) {
  StoredColumn column;
  column.spec = spec;
  column.presenceBit = presenceBit;
  if (isChapter(spec)) {
    column.layout = StoredColumn::Layout::NoData;
    return column;
  }
  column.checkByDecoding = needsDecoding(spec.dbType);
  if (isVariableLength(spec.dbType)) {
    switch (lengthPrefixOf(spec)) {
    case LengthPrefix::None:
      column.width = std::uint32_t(capacityOf(spec)); // at most 255
      break;
    case LengthPrefix::OneByte:
      column.layout = StoredColumn::Layout::Prefixed;
      column.prefix = 1;
      break;
    case LengthPrefix::FourByte:
      column.layout = StoredColumn::Layout::Prefixed;
      column.prefix = 4;
      break;
    }
    column.evenLength = spec.dbType == DbWStr && column.layout == StoredColumn::Layout::Prefixed;
    return column;
  }
  column.width = std::uint32_t(fixedWidth(spec.dbType));
  if (column.width == 0)
    column.checkByDecoding = true; // a type no row can hold: decoding it fails
  return column;
}

} // namespace

AdtgRows::AdtgRows(QByteArray bytes, int ansiCodePage, std::vector<FieldInfo> fields,
                   std::vector<StoredColumn> columns, std::vector<std::size_t> shown,
                   std::vector<StoredRow> rows)
    : RecordsetRows(std::move(fields)), m_bytes(std::move(bytes)), m_codePage(ansiCodePage),
      m_columns(std::move(columns)), m_shown(std::move(shown)), m_rows(std::move(rows)) {
  std::size_t mapped = 0;
  for (const StoredColumn &c : m_columns)
    mapped += c.presenceBit >= 0 ? 1 : 0;
  m_presenceBytes = (mapped + 7) / 8;
  m_mapBytes = (m_columns.size() + 7) / 8;
}

std::size_t AdtgRows::storedSize(const StoredColumn &column, const unsigned char *p) const {
  switch (column.layout) {
  case StoredColumn::Layout::Fixed:
    return column.width;
  case StoredColumn::Layout::Prefixed:
    return column.prefix + (column.prefix == 1 ? std::size_t(p[0]) : std::size_t(le32(p)));
  case StoredColumn::Layout::NoData:
    break;
  }
  return 0;
}

Variant AdtgRows::decode(const StoredColumn &column, const unsigned char *p) const {
  const auto offset = std::size_t(p - at(0));
  ByteReader reader(reinterpret_cast<const char *>(p), std::size_t(m_bytes.size()) - offset,
                    offset);
  return decodeAdtgValue(reader, column.spec, m_codePage);
}

// A change record's update map says which values follow it; its force-null map which
// columns became null. Other columns keep the original record's value (an insert: null).
Variant AdtgRows::value(std::size_t row, std::size_t column) const {
  const StoredRow &r = m_rows[row];
  const std::size_t stored = m_shown[column];
  if (r.change != StoredRow::kNone) {
    const unsigned char *updated = at(r.change);
    const unsigned char *forced = updated + m_mapBytes;
    if (bitOf(updated, stored)) {
      const unsigned char *p = forced + m_mapBytes;
      for (std::size_t i = 0; i < stored; ++i)
        if (bitOf(updated, i))
          p += storedSize(m_columns[i], p);
      return decode(m_columns[stored], p);
    }
    if (bitOf(forced, stored) || r.original == StoredRow::kNone)
      return Variant::null();
  }
  const unsigned char *map = at(r.original);
  const StoredColumn &wanted = m_columns[stored];
  if (wanted.presenceBit >= 0 && !bitOf(map, std::size_t(wanted.presenceBit)))
    return Variant::null();
  const unsigned char *p = map + m_presenceBytes;
  for (std::size_t i = 0; i < stored; ++i) {
    const StoredColumn &c = m_columns[i];
    if (c.presenceBit < 0 || bitOf(map, std::size_t(c.presenceBit)))
      p += storedSize(c, p);
  }
  return decode(wanted, p);
}

void AdtgRows::rowValues(std::size_t row, std::vector<Variant> &out) const {
  // Where each stored column's value lies; null for a null value.
  std::vector<const unsigned char *> where(m_columns.size(), nullptr);
  const StoredRow &r = m_rows[row];
  if (r.original != StoredRow::kNone) {
    const unsigned char *map = at(r.original);
    const unsigned char *p = map + m_presenceBytes;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
      const StoredColumn &c = m_columns[i];
      if (c.presenceBit >= 0 && !bitOf(map, std::size_t(c.presenceBit)))
        continue;
      where[i] = p;
      p += storedSize(c, p);
    }
  }
  if (r.change != StoredRow::kNone) {
    const unsigned char *updated = at(r.change);
    const unsigned char *forced = updated + m_mapBytes;
    const unsigned char *p = forced + m_mapBytes;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
      if (bitOf(updated, i)) {
        where[i] = p;
        p += storedSize(m_columns[i], p);
      } else if (bitOf(forced, i) || r.original == StoredRow::kNone) {
        where[i] = nullptr;
      }
    }
  }
  out.resize(m_shown.size());
  for (std::size_t j = 0; j < m_shown.size(); ++j) {
    const std::size_t stored = m_shown[j];
    out[j] = where[stored] ? decode(m_columns[stored], where[stored]) : Variant::null();
  }
}

} // namespace TDInvoice::Ado
