#include "framework/ado/AdtgReader.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/AdtgRows.h"
#include "framework/ado/AdtgValueCodec.h"
#include "framework/ado/ByteReader.h"
#include "framework/ado/ColumnLayout.h"

#include <algorithm>
#include <string>

namespace TDInvoice::Ado {

namespace {

enum Token : std::uint8_t {
  TokenHeader = 0x01,
  TokenHandlerOptions = 0x02,
  TokenResultDescriptor = 0x03,
  TokenTableDescriptor = 0x05,
  TokenColumnDescriptor = 0x06,
  TokenOriginalRow = 0x07,
  TokenChangeRow = 0x0A,
  TokenDeleteRow = 0x0C,
  TokenInsertRow = 0x0D,
  TokenDone = 0x0F,
  TokenResultContext = 0x10,
  TokenChildFlag = 0x80
};

bool isRowToken(std::uint8_t t) {
  const std::uint8_t base = t & ~TokenChildFlag;
  return t == TokenDone || base == TokenOriginalRow || base == TokenChangeRow ||
         base == TokenDeleteRow || base == TokenInsertRow;
}

// Presence bits of the optional column-descriptor fields (24-bit big-endian map).
enum ColumnField : std::uint32_t {
  FieldFriendlyName = 0x800000,
  FieldBaseTableOrdinal = 0x400000,
  FieldBaseColumnOrdinal = 0x200000,
  FieldBaseColumnName = 0x100000,
  FieldBaseCatalog = 0x020000,
  FieldBaseSchema = 0x010000,
  FieldCollatingSequence = 0x008000,
  FieldComputeMode = 0x004000,
  FieldDateTimePrecision = 0x002000,
  FieldDefaultValue = 0x001000,
  FieldAutoIncrement = 0x000100,
  FieldCaseSensitive = 0x000080,
  FieldMultivalued = 0x000040,
  FieldSearchable = 0x000020,
  FieldUnique = 0x000010,
  FieldOctetLength = 0x000008,
  FieldCalculation = 0x000004 // after IsVisible, skipped with the rest of the element
};
constexpr std::uint32_t kKnownColumnFields = 0xF3F000 | 0x0001FC;

struct Recordset {
  std::uint16_t totalColumns = 0;
  std::uint32_t rowCount = 0; // as announced
  std::vector<ColumnLayout> columns;
  std::vector<StoredColumn> stored; // once the metadata is read
  std::size_t presenceBytes = 0;
  std::size_t mapBytes = 0;
  std::uint32_t childId = 0;
};

// Reads the metadata, then walks every row record once, checking each value and noting
// where each current row lies; values are decoded only when read.
class TableGramReader {
public:
  TableGramReader(const QByteArray &bytes, int codePage)
      : m_bytes(bytes), m_in(bytes.constData(), std::size_t(bytes.size())), m_codePage(codePage) {}

  std::shared_ptr<const RecordsetRows> read() {
    if (std::uint64_t(m_bytes.size()) >= StoredRow::kNone)
      m_in.fail("the TableGram is larger than 4 GiB");
    readHeader();
    readMetadata();
    layOutColumns();
    readRows();
    return result();
  }

private:
  void readHeader();
  void readMetadata();
  void readElement(std::uint8_t token, ByteReader element);
  void readHandlerOptions(ByteReader &e);
  void readResultDescriptor(ByteReader &e);
  void readPropertySets(ByteReader &e);
  void readTableDescriptor(ByteReader &e);
  void readColumnDescriptor(ByteReader &e);
  Recordset &current(ByteReader &e, const char *element);
  void layOutColumns();

  void readRows();
  void readChildRow(std::uint8_t kind, std::uint32_t &lastChild);
  const Recordset &childRecordset(std::uint32_t id);
  std::uint32_t walkPresenceRow(const Recordset &rs);
  std::uint32_t walkMappedRow(const Recordset &rs);
  void walkValue(const StoredColumn &column);
  std::shared_ptr<const RecordsetRows> result();

  QByteArray m_bytes;
  ByteReader m_in;
  int m_codePage;
  std::vector<Recordset> m_recordsets;
  std::vector<StoredRow> m_rows;
  std::vector<bool> m_deleted; // by index into m_rows
  bool m_anyDeleted = false;
};

void TableGramReader::readHeader() {
  if (m_in.u8("header token") != TokenHeader)
    m_in.fail("not a TableGram (no header token)");
  const std::size_t size = m_in.u8("header size");
  ByteReader h = m_in.sub(size, "header");
  if (h.bytes(3, "signature") != QByteArray("TG!"))
    h.fail("not a TableGram (no TG! signature)");
  h.u8("major version");
  h.u8("minor version");
  if (h.u8("byte order") != 0)
    h.fail("big-endian TableGrams are not supported");
  if (h.u8("Unicode flag") != 0)
    h.fail("TableGrams with Unicode MBCS data are not supported");
}

void TableGramReader::readMetadata() {
  while (!isRowToken(m_in.peekU8("token"))) {
    const std::uint8_t token = m_in.u8("token");
    const std::size_t size = m_in.u16("element size");
    readElement(token, m_in.sub(size, "element"));
  }
  if (m_recordsets.empty())
    m_in.fail("TableGram has no result descriptor");
  for (const Recordset &rs : m_recordsets)
    if (rs.columns.size() != rs.totalColumns)
      m_in.fail("result descriptor announces " + std::to_string(rs.totalColumns) + " columns but " +
                std::to_string(rs.columns.size()) + " are described");
}

void TableGramReader::readElement(std::uint8_t token, ByteReader e) {
  switch (token) {
  case TokenHandlerOptions:
    readHandlerOptions(e);
    break;
  case TokenResultDescriptor:
    readResultDescriptor(e);
    break;
  case TokenResultContext:
    current(e, "result context");
    readPropertySets(e);
    break;
  case TokenTableDescriptor:
    readTableDescriptor(e);
    break;
  case TokenColumnDescriptor:
    readColumnDescriptor(e);
    break;
  default:
    break; // every element carries its size, so unknown ones are skipped
  }
}

void TableGramReader::readHandlerOptions(ByteReader &e) {
  e.skip(16, "recordset class");
  e.u8("update TableGram type");
  e.lengthPrefixedString("original URL");
  e.lengthPrefixedString("update URL");
  e.lengthPrefixedString("friendly name");
  if (!e.atEnd())
    e.u16("async options");
}

void TableGramReader::readResultDescriptor(ByteReader &e) {
  Recordset rs;
  e.skip(16, "result descriptor class");
  e.u8("reserved");
  e.u8("cursor model");
  e.u8("normalization");
  e.u16("visible column count");
  rs.totalColumns = e.u16("total column count");
  e.u16("computed column count");
  e.u16("table count");
  e.u16("order-by column count");
  rs.rowCount = e.u32("row count");
  if (!e.atEnd())
    readPropertySets(e);
  m_recordsets.push_back(std::move(rs));
}

// Property sets: per set a GUID and its properties; per property an id and a byte-counted
// value (a boolean, a long or UTF-16 text, fixed by set and id). The values do not change how
// rows read, so they are checked for shape only.
void TableGramReader::readPropertySets(ByteReader &e) {
  const std::size_t sets = e.u16("property set count");
  for (std::size_t s = 0; s < sets; ++s) {
    e.skip(16, "property set");
    const std::size_t properties = e.u16("property count");
    for (std::size_t p = 0; p < properties; ++p) {
      e.u32("property id");
      e.skip(e.u16("property size"), "property value");
    }
  }
}

Recordset &TableGramReader::current(ByteReader &e, const char *element) {
  if (m_recordsets.empty())
    e.fail(std::string(element) + " before any result descriptor");
  return m_recordsets.back();
}

void TableGramReader::readTableDescriptor(ByteReader &e) {
  current(e, "table descriptor");
  e.u16("table ordinal");
  e.lengthPrefixedString("original table name");
  e.lengthPrefixedString("update table name");
  e.u16("code page");
  e.u16("table column count");
  const std::size_t keys = e.u16("key column count");
  e.skip(keys * 2, "key column ordinals");
}

void TableGramReader::readColumnDescriptor(ByteReader &e) {
  Recordset &rs = current(e, "column descriptor");
  if (rs.columns.size() >= rs.totalColumns)
    e.fail("more column descriptors than the result descriptor announces");
  std::uint32_t fields = std::uint32_t(e.u8("column field map")) << 16;
  fields |= std::uint32_t(e.u8("column field map")) << 8;
  fields |= e.u8("column field map");
  if (fields & ~kKnownColumnFields)
    e.fail("column descriptor has fields this reader does not know");
  ColumnLayout column;
  e.u16("column ordinal");
  if (fields & FieldFriendlyName)
    column.name = e.lengthPrefixedString("column name");
  if (fields & FieldBaseTableOrdinal)
    e.u16("base table ordinal");
  if (fields & FieldBaseColumnOrdinal)
    e.u16("base column ordinal");
  if (fields & FieldBaseColumnName) {
    const QString base = e.lengthPrefixedString("base column name");
    if (!(fields & FieldFriendlyName))
      column.name = base;
  }
  column.dbType = e.u16("column type");
  column.maxLength = e.u32("column size");
  column.precision = e.u32("column precision");
  column.scale = e.i32("column scale");
  column.flags = e.u32("column flags");
  if (fields & FieldBaseCatalog)
    e.lengthPrefixedString("base catalog name");
  if (fields & FieldBaseSchema)
    e.lengthPrefixedString("base schema name");
  const struct {
    std::uint32_t bit;
    std::size_t size;
  } skipped[] = {{FieldCollatingSequence, 4}, {FieldComputeMode, 4},   {FieldDateTimePrecision, 4},
                 {FieldDefaultValue, 16},     {FieldAutoIncrement, 2}, {FieldCaseSensitive, 2},
                 {FieldMultivalued, 2},       {FieldSearchable, 4},    {FieldUnique, 2},
                 {FieldOctetLength, 4}};
  for (const auto &field : skipped)
    if (fields & field.bit)
      e.skip(field.size, "column property");
  column.visible = e.u16("column visibility") != 0;
  if (m_recordsets.size() > 1 && e.remaining() >= 4)
    rs.childId = e.u32("child recordset id");
  rs.columns.push_back(std::move(column));
}

void TableGramReader::layOutColumns() {
  for (Recordset &rs : m_recordsets) {
    std::int32_t bit = 0;
    for (const ColumnLayout &c : rs.columns)
      rs.stored.push_back(storedColumnOf(c, hasPresenceBit(c) ? bit++ : -1));
    rs.presenceBytes = (std::size_t(bit) + 7) / 8;
    rs.mapBytes = (rs.columns.size() + 7) / 8;
  }
}

const Recordset &TableGramReader::childRecordset(std::uint32_t id) {
  for (std::size_t i = 1; i < m_recordsets.size(); ++i)
    if (m_recordsets[i].childId == id)
      return m_recordsets[i];
  if (id >= 2 && id <= m_recordsets.size())
    return m_recordsets[id - 1];
  m_in.fail("row of unknown child recordset " + std::to_string(id));
}

// The size of a plain, well-formed value at p, with `left` bytes from p to the end; 0 for a
// value that is cut short or malformed, needs a closer look or has no data.
std::size_t plainSize(const StoredColumn &column, const unsigned char *p, std::size_t left) {
  using Walk = StoredColumn::Walk;
  std::size_t payload = 0;
  switch (column.walk) {
  case Walk::Fixed:
    return column.width <= left ? column.width : 0;
  case Walk::Prefix1:
  case Walk::Prefix1Even:
    if (left < 1)
      return 0;
    payload = p[0];
    left -= 1;
    break;
  case Walk::Prefix4:
  case Walk::Prefix4Even:
    if (left < 4)
      return 0;
    payload = std::size_t(p[0]) | (std::size_t(p[1]) << 8) | (std::size_t(p[2]) << 16) |
              (std::size_t(p[3]) << 24);
    left -= 4;
    break;
  case Walk::Decode:
  case Walk::NoData:
    return 0;
  }
  if ((column.walk == Walk::Prefix1Even || column.walk == Walk::Prefix4Even) && (payload & 1) != 0)
    return 0;
  return payload <= left ? column.prefix + payload : 0;
}

// Moves past one present value. Values that need a closer look, and any value that is cut
// short or malformed, go through the decoder, which fails with its own message.
void TableGramReader::walkValue(const StoredColumn &column) {
  const auto *p = reinterpret_cast<const unsigned char *>(m_in.current());
  if (const std::size_t size = plainSize(column, p, m_in.remaining()))
    m_in.skip(size, "value");
  else if (column.walk != StoredColumn::Walk::NoData)
    (void)decodeAdtgValue(m_in, column.spec, m_codePage);
}

// An original record: the presence map, then the present values. Returns the map's offset.
// The plain values, nearly all of them, are passed over on a local cursor.
std::uint32_t TableGramReader::walkPresenceRow(const Recordset &rs) {
  const auto offset = std::uint32_t(m_in.offset());
  const auto *map =
      reinterpret_cast<const unsigned char *>(m_in.take(rs.presenceBytes, "row presence map"));
  const auto *start = reinterpret_cast<const unsigned char *>(m_in.current());
  const unsigned char *p = start;
  const unsigned char *end = start + m_in.remaining();
  for (const StoredColumn &c : rs.stored) {
    if (c.mapMask != 0 && (map[c.mapByte] & c.mapMask) == 0)
      continue;
    if (const std::size_t size = plainSize(c, p, std::size_t(end - p))) {
      p += size;
      continue;
    }
    m_in.skip(std::size_t(p - start), "value");
    walkValue(c);
    start = p = reinterpret_cast<const unsigned char *>(m_in.current());
  }
  m_in.skip(std::size_t(p - start), "value");
  return offset;
}

// Change and insert records: an update map (a value follows) and a force-null map, one bit
// per column each. Returns the update map's offset.
std::uint32_t TableGramReader::walkMappedRow(const Recordset &rs) {
  const auto offset = std::uint32_t(m_in.offset());
  const auto *updated =
      reinterpret_cast<const unsigned char *>(m_in.take(rs.mapBytes, "update map"));
  const auto *forcedNull =
      reinterpret_cast<const unsigned char *>(m_in.take(rs.mapBytes, "force-null map"));
  for (std::size_t i = 0; i < rs.stored.size(); ++i) {
    const StoredColumn &c = rs.stored[i];
    const unsigned mask = 0x80U >> (i % 8);
    const bool update = (updated[i / 8] & mask) != 0;
    const bool null = (forcedNull[i / 8] & mask) != 0;
    if (c.layout == StoredColumn::Layout::NoData)
      continue;
    if (update && null)
      m_in.fail("column both updated and forced to null");
    if (update)
      walkValue(c);
  }
  return offset;
}

// Rows of child recordsets are walked to stay in step, and dropped: only the parent's rows
// are presented.
void TableGramReader::readChildRow(std::uint8_t kind, std::uint32_t &lastChild) {
  const std::uint32_t id = m_in.u32("child recordset id");
  const Recordset &rs = childRecordset(id);
  if ((kind == TokenChangeRow || kind == TokenDeleteRow) && lastChild != id)
    m_in.fail("child change or delete record without its original row");
  if (kind == TokenOriginalRow)
    walkPresenceRow(rs);
  else if (kind != TokenDeleteRow)
    walkMappedRow(rs);
  lastChild = kind == TokenOriginalRow ? id : 0;
}

void TableGramReader::readRows() {
  const Recordset &parent = m_recordsets.front();
  // Each row takes at least one byte, so a false count cannot reserve much.
  m_rows.reserve(std::min<std::size_t>(parent.rowCount, m_in.remaining()));
  // Index of the original row that a change or delete record may follow.
  std::ptrdiff_t lastOriginal = -1;
  std::uint32_t lastChild = 0;
  while (true) {
    const std::uint8_t token = m_in.u8("row token");
    if (token == TokenDone)
      return;
    const std::uint8_t kind = token & ~TokenChildFlag;
    if (!isRowToken(token))
      m_in.fail("unexpected token " + std::to_string(token) + " among rows");
    if ((token & TokenChildFlag) != 0) {
      readChildRow(kind, lastChild);
      lastOriginal = -1;
      continue;
    }
    switch (kind) {
    case TokenOriginalRow:
      m_rows.push_back({walkPresenceRow(parent), StoredRow::kNone});
      lastOriginal = std::ptrdiff_t(m_rows.size()) - 1;
      break;
    case TokenChangeRow:
    case TokenDeleteRow:
      if (lastOriginal < 0)
        m_in.fail("change or delete record without its original row");
      if (kind == TokenChangeRow) {
        m_rows[std::size_t(lastOriginal)].change = walkMappedRow(parent);
      } else {
        m_deleted.resize(m_rows.size());
        m_deleted[std::size_t(lastOriginal)] = true;
        m_anyDeleted = true;
      }
      lastOriginal = -1;
      break;
    case TokenInsertRow:
      m_rows.push_back({StoredRow::kNone, walkMappedRow(parent)});
      lastOriginal = -1;
      break;
    }
    lastChild = 0;
  }
}

std::shared_ptr<const RecordsetRows> TableGramReader::result() {
  const Recordset &parent = m_recordsets.front();
  std::vector<FieldInfo> fields;
  std::vector<std::size_t> shown;
  for (std::size_t i = 0; i < parent.columns.size(); ++i) {
    const ColumnLayout &c = parent.columns[i];
    if (!c.visible || isChapter(c))
      continue;
    fields.push_back(fieldInfoOf(c));
    shown.push_back(i);
  }
  if (m_anyDeleted) {
    m_deleted.resize(m_rows.size());
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_rows.size(); ++i)
      if (!m_deleted[i])
        m_rows[kept++] = m_rows[i];
    m_rows.resize(kept);
  }
  return std::make_shared<const AdtgRows>(m_bytes, m_codePage, std::move(fields),
                                          std::move(m_recordsets.front().stored), std::move(shown),
                                          std::move(m_rows));
}

} // namespace

std::shared_ptr<const RecordsetRows> openAdtg(const QByteArray &bytes, int ansiCodePage) {
  return TableGramReader(bytes, ansiCodePage).read();
}

RecordsetData readAdtg(const QByteArray &bytes, int ansiCodePage) {
  return materialize(*openAdtg(bytes, ansiCodePage));
}

bool looksLikeAdtg(const QByteArray &bytes) {
  return bytes.size() >= 5 && bytes[0] == char(TokenHeader) && bytes.mid(2, 3) == "TG!";
}

} // namespace TDInvoice::Ado
