// The ADO enumeration values that the stream and recordset operations take.
#pragma once

#include <cstdint>

namespace TDInvoice::Ado {

enum CursorTypeEnum : std::int32_t {
  adOpenUnspecified = -1,
  adOpenForwardOnly = 0,
  adOpenKeyset = 1,
  adOpenDynamic = 2,
  adOpenStatic = 3
};

enum LockTypeEnum : std::int32_t {
  adLockUnspecified = -1,
  adLockReadOnly = 1,
  adLockPessimistic = 2,
  adLockOptimistic = 3,
  adLockBatchOptimistic = 4
};

enum ConnectModeEnum : std::int32_t { adModeUnknown = 0, adModeRead = 1, adModeReadWrite = 3 };

enum StreamOpenOptionsEnum : std::int32_t { adOpenStreamUnspecified = -1 };

enum StreamTypeEnum : std::int32_t { adTypeBinary = 1, adTypeText = 2 };

enum ObjectStateEnum : std::int32_t { adStateClosed = 0, adStateOpen = 1 };

// The texts of ADO's errors that these objects raise.
namespace AdoError {
inline constexpr const char *ObjectClosed = "Operation is not allowed when the object is closed.";
inline constexpr const char *ObjectOpen = "Operation is not allowed when the object is open.";
inline constexpr const char *NoCurrentRecord =
    "Either BOF or EOF is True, or the current record has been deleted. Requested operation "
    "requires a current record.";
inline constexpr const char *ItemNotFound =
    "Item cannot be found in the collection corresponding to the requested name or ordinal.";
inline constexpr const char *BadArguments =
    "Arguments are of the wrong type, are out of acceptable range, or are in conflict with one "
    "another.";
inline constexpr const char *NotInContext = "Operation is not allowed in this context.";
} // namespace AdoError

} // namespace TDInvoice::Ado
