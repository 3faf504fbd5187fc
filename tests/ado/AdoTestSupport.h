// Shared helpers of the ADO tests: corpus access, hex fixtures, TableGram pieces and
// recordset comparison.
#pragma once

#include "framework/ado/RecordsetData.h"
#include "framework/ado/Variant.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <ostream>
#include <string>

namespace TDInvoice::Ado {
void PrintTo(const Variant &value, std::ostream *os);
}

namespace AdoTest {

using namespace TDInvoice::Ado;

// A sample file of ../shared/corpus/adtg/ (the test fails when it is missing).
QByteArray corpusFile(const std::string &name);

// "07 7F 02 00" -> bytes; blanks ignored.
QByteArray hex(const char *text);

std::string describe(const Variant &value);

// OLE date of a calendar date and time, computed through QDate (independently of the code
// under test).
double oleDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
               int millisecond = 0);

// The 270-byte preamble ADO writes for a client-side recordset, taken from a corpus file,
// with the column and row counts patched in.
QByteArray adoPreamble(std::uint16_t columns, std::uint32_t rows);

// A column descriptor as ADO writes it for a client-side recordset ("80 01 00" field map).
QByteArray columnDescriptor(std::uint16_t ordinal, const QString &name, std::uint16_t dbType,
                            std::uint32_t maxLength, std::uint32_t flags,
                            std::uint32_t precision = 0, std::int32_t scale = 0);

// Little-endian bytes of an integer.
QByteArray le16(std::uint16_t v);
QByteArray le32(std::uint32_t v);
QByteArray le64(std::uint64_t v);
QByteArray utf16(const QString &text);

// Same fields (every FieldInfo member) and same rows, reporting the first difference.
void expectSameRecordset(const RecordsetData &expected, const RecordsetData &actual,
                         const std::string &context);

} // namespace AdoTest
