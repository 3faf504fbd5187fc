#include "framework/ado/ColumnLayout.h"

#include "TDInvoice/Exceptions.h"
#include "framework/ado/NumberText.h"

#include <string>

namespace TDInvoice::Ado {

namespace {

struct FixedType {
  std::uint16_t dbType;
  DataTypeEnum adoType;
  int width;
};

const FixedType kFixedTypes[] = {
    {DbI2, adSmallInt, 2},       {DbI4, adInteger, 4},          {DbR4, adSingle, 4},
    {DbR8, adDouble, 8},         {DbCy, adCurrency, 8},         {DbDate, adDate, 8},
    {DbBool, adBoolean, 2},      {DbVariant, adVariant, 16},    {DbDecimal, adDecimal, 16},
    {DbI1, adTinyInt, 1},        {DbUi1, adUnsignedTinyInt, 1}, {DbUi2, adUnsignedSmallInt, 2},
    {DbUi4, adUnsignedInt, 4},   {DbI8, adBigInt, 8},           {DbUi8, adUnsignedBigInt, 8},
    {DbFileTime, adFileTime, 8}, {DbGuid, adGUID, 16},          {DbNumeric, adNumeric, 19},
    {DbDbDate, adDBDate, 6},     {DbDbTime, adDBTime, 6},       {DbDbTimeStamp, adDBTimeStamp, 16},
};

struct VariableType {
  std::uint16_t dbType;
  DataTypeEnum fixed;
  DataTypeEnum variable;
  DataTypeEnum isLong;
};

const VariableType kVariableTypes[] = {
    {DbBytes, adBinary, adVarBinary, adLongVarBinary},
    {DbStr, adChar, adVarChar, adLongVarChar},
    {DbWStr, adWChar, adVarWChar, adLongVarWChar},
    {DbVarNumeric, adVarNumeric, adVarNumeric, adVarNumeric},
};

[[noreturn]] void unsupported(const QString &name, long type, const char *what) {
  throw EOleException("Field '" + name.toStdString() + "' has " + what + " type " +
                      std::to_string(type) + ", which is not supported");
}

} // namespace

bool isChapter(const ColumnLayout &column) {
  return column.dbType == DbHChapter || (column.flags & kFlagChapter) != 0;
}

bool hasPresenceBit(const ColumnLayout &column) {
  return isChapter(column) || (column.flags & (kFlagNullable | kFlagMayBeNull)) != 0;
}

int fixedWidth(std::uint16_t dbType) {
  for (const FixedType &t : kFixedTypes)
    if (t.dbType == dbType)
      return t.width;
  return 0;
}

std::uint64_t capacityOf(const ColumnLayout &column) {
  const std::uint64_t length = column.maxLength;
  return column.dbType == DbWStr ? length * 2 : length;
}

LengthPrefix lengthPrefixOf(const ColumnLayout &column) {
  const std::uint64_t capacity = capacityOf(column);
  if (capacity > 255)
    return LengthPrefix::FourByte;
  if ((column.flags & kFlagFixedLength) && !(column.flags & kFlagLong))
    return LengthPrefix::None;
  return LengthPrefix::OneByte;
}

std::optional<Decimal> decimalForColumn(const ColumnLayout &column, const Decimal &value) {
  if (column.dbType != DbNumeric || column.scale < 0 || column.scale > 28)
    return value;
  return rescaleDecimal(value, column.scale);
}

FieldInfo fieldInfoOf(const ColumnLayout &column) {
  FieldInfo field;
  field.name = column.name;
  field.attributes = column.flags;
  field.precision = std::uint8_t(column.precision > 255 ? 255 : column.precision);
  field.numericScale = std::uint8_t(column.scale < 0 || column.scale > 255 ? 255 : column.scale);
  for (const FixedType &t : kFixedTypes) {
    if (t.dbType == column.dbType) {
      field.type = t.adoType;
      field.definedSize = t.width;
      return field;
    }
  }
  for (const VariableType &t : kVariableTypes) {
    if (t.dbType == column.dbType) {
      if (column.flags & kFlagLong)
        field.type = t.isLong;
      else if (column.flags & kFlagFixedLength)
        field.type = t.fixed;
      else
        field.type = t.variable;
      field.definedSize = std::int32_t(column.maxLength); // 0xFFFFFFFF reads as -1
      return field;
    }
  }
  unsupported(column.name, column.dbType, "storage");
}

ColumnLayout columnLayoutOf(const FieldInfo &field) {
  ColumnLayout column;
  column.name = field.name;
  column.precision = field.precision;
  column.scale = field.numericScale;
  std::uint32_t flags = field.attributes & ~(kFlagFixedLength | kFlagLong | kFlagChapter);
  for (const FixedType &t : kFixedTypes) {
    if (t.adoType == field.type) {
      column.dbType = t.dbType;
      column.maxLength = std::uint32_t(t.width);
      column.flags = flags | kFlagFixedLength;
      return column;
    }
  }
  if (field.type == adBSTR) {
    column.dbType = DbWStr;
    column.maxLength = 0xFFFFFFFFU;
    column.flags = flags | kFlagLong;
    return column;
  }
  for (const VariableType &t : kVariableTypes) {
    if (field.type != t.fixed && field.type != t.variable && field.type != t.isLong)
      continue;
    if (field.definedSize == 0 || field.definedSize < -1)
      throw EOleException("Field '" + field.name.toStdString() + "' needs a defined size");
    column.dbType = t.dbType;
    column.maxLength = std::uint32_t(field.definedSize);
    if (field.type == t.isLong && t.dbType != DbVarNumeric)
      flags |= kFlagLong;
    else if (field.type == t.fixed && t.dbType != DbVarNumeric)
      flags |= kFlagFixedLength;
    column.flags = flags;
    return column;
  }
  unsupported(field.name, field.type, "field");
}

} // namespace TDInvoice::Ado
