#include "framework/ado/AdtgReader.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/AdtgValueCodec.h"
#include "framework/ado/ByteReader.h"
#include "framework/ado/ColumnSpec.h"

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
  std::vector<ColumnSpec> columns;
  std::uint32_t childId = 0;
};

struct PendingRow {
  std::vector<Variant> values;
  bool deleted = false;
};

class TableGramReader {
public:
  TableGramReader(const QByteArray &bytes, int codePage)
      : m_in(bytes.constData(), std::size_t(bytes.size())), m_codePage(codePage) {}

  RecordsetData read() {
    readHeader();
    readMetadata();
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

  void readRows();
  const Recordset &childRecordset(std::uint32_t id);
  std::vector<Variant> readPresenceRow(const Recordset &rs);
  void readMappedRow(const Recordset &rs, std::vector<Variant> &values, bool isInsert);
  RecordsetData result() const;

  ByteReader m_in;
  int m_codePage;
  std::vector<Recordset> m_recordsets;
  std::vector<PendingRow> m_rows;
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
  e.u32("row count");
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
  ColumnSpec column;
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

const Recordset &TableGramReader::childRecordset(std::uint32_t id) {
  for (std::size_t i = 1; i < m_recordsets.size(); ++i)
    if (m_recordsets[i].childId == id)
      return m_recordsets[i];
  if (id >= 2 && id <= m_recordsets.size())
    return m_recordsets[id - 1];
  m_in.fail("row of unknown child recordset " + std::to_string(id));
}

std::vector<Variant> TableGramReader::readPresenceRow(const Recordset &rs) {
  std::size_t mapped = 0;
  for (const ColumnSpec &c : rs.columns)
    mapped += hasPresenceBit(c) ? 1 : 0;
  const QByteArray map = m_in.bytes((mapped + 7) / 8, "row presence map");
  std::vector<Variant> values;
  values.reserve(rs.columns.size());
  std::size_t bit = 0;
  for (const ColumnSpec &c : rs.columns) {
    bool present = true;
    if (hasPresenceBit(c)) {
      present = (static_cast<unsigned char>(map[qsizetype(bit / 8)]) & (0x80 >> (bit % 8))) != 0;
      ++bit;
    }
    if (isChapter(c))
      values.emplace_back();
    else
      values.push_back(present ? decodeAdtgValue(m_in, c, m_codePage) : Variant::null());
  }
  return values;
}

// Change and insert records: an update map (a value follows) and a force-null map, one bit
// per column each. Columns in neither map keep their value (an insert starts from nulls).
void TableGramReader::readMappedRow(const Recordset &rs, std::vector<Variant> &values,
                                    bool isInsert) {
  const std::size_t mapBytes = (rs.columns.size() + 7) / 8;
  const QByteArray updated = m_in.bytes(mapBytes, "update map");
  const QByteArray forcedNull = m_in.bytes(mapBytes, "force-null map");
  if (isInsert)
    values.assign(rs.columns.size(), Variant::null());
  for (std::size_t i = 0; i < rs.columns.size(); ++i) {
    const ColumnSpec &c = rs.columns[i];
    const int mask = 0x80 >> (i % 8);
    const bool update = (static_cast<unsigned char>(updated[qsizetype(i / 8)]) & mask) != 0;
    const bool null = (static_cast<unsigned char>(forcedNull[qsizetype(i / 8)]) & mask) != 0;
    if (isChapter(c)) {
      values[i] = Variant();
    } else if (update && null) {
      m_in.fail("column both updated and forced to null");
    } else if (update) {
      values[i] = decodeAdtgValue(m_in, c, m_codePage);
    } else if (null) {
      values[i] = Variant::null();
    }
  }
}

void TableGramReader::readRows() {
  // Index of the original row that a change or delete record may follow.
  std::ptrdiff_t lastOriginal = -1;
  std::uint32_t lastChild = 0;
  std::vector<Variant> childValues;
  while (true) {
    const std::uint8_t token = m_in.u8("row token");
    if (token == TokenDone)
      return;
    const bool child = (token & TokenChildFlag) != 0;
    const std::uint8_t kind = token & ~TokenChildFlag;
    if (!isRowToken(token))
      m_in.fail("unexpected token " + std::to_string(token) + " among rows");
    if (child) {
      // Rows of child recordsets are read to stay in step, and dropped: only the parent's
      // rows are presented.
      const std::uint32_t id = m_in.u32("child recordset id");
      const Recordset &rs = childRecordset(id);
      if ((kind == TokenChangeRow || kind == TokenDeleteRow) && lastChild != id)
        m_in.fail("child change or delete record without its original row");
      if (kind == TokenOriginalRow)
        childValues = readPresenceRow(rs);
      else if (kind != TokenDeleteRow)
        readMappedRow(rs, childValues, kind == TokenInsertRow);
      lastChild = kind == TokenOriginalRow ? id : 0;
      lastOriginal = -1;
      continue;
    }
    const Recordset &parent = m_recordsets.front();
    switch (kind) {
    case TokenOriginalRow:
      m_rows.push_back({readPresenceRow(parent), false});
      lastOriginal = std::ptrdiff_t(m_rows.size()) - 1;
      break;
    case TokenChangeRow:
    case TokenDeleteRow:
      if (lastOriginal < 0)
        m_in.fail("change or delete record without its original row");
      if (kind == TokenChangeRow)
        readMappedRow(parent, m_rows[std::size_t(lastOriginal)].values, false);
      else
        m_rows[std::size_t(lastOriginal)].deleted = true;
      lastOriginal = -1;
      break;
    case TokenInsertRow: {
      PendingRow row;
      readMappedRow(parent, row.values, true);
      m_rows.push_back(std::move(row));
      lastOriginal = -1;
      break;
    }
    }
    lastChild = 0;
  }
}

RecordsetData TableGramReader::result() const {
  RecordsetData data;
  const Recordset &parent = m_recordsets.front();
  std::vector<std::size_t> shown;
  for (std::size_t i = 0; i < parent.columns.size(); ++i) {
    const ColumnSpec &c = parent.columns[i];
    if (!c.visible || isChapter(c))
      continue;
    data.fields.push_back(fieldInfoOf(c));
    shown.push_back(i);
  }
  for (const PendingRow &row : m_rows) {
    if (row.deleted)
      continue;
    std::vector<Variant> values;
    values.reserve(shown.size());
    for (std::size_t i : shown)
      values.push_back(row.values[i]);
    data.rows.push_back(std::move(values));
  }
  return data;
}

} // namespace

RecordsetData readAdtg(const QByteArray &bytes, int ansiCodePage) {
  return TableGramReader(bytes, ansiCodePage).read();
}

bool looksLikeAdtg(const QByteArray &bytes) {
  return bytes.size() >= 5 && bytes[0] == char(TokenHeader) && bytes.mid(2, 3) == "TG!";
}

} // namespace TDInvoice::Ado
