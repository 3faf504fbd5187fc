// Exceptions raised by the invoice library. They carry a formatted message and no codes.
// The host catches them by type: the classes are defined inline here so that both sides
// agree on them.
#pragma once

#include <stdexcept>
#include <string>

namespace TDInvoice {

// The general exception.
class Exception : public std::runtime_error {
public:
  explicit Exception(const std::string &message) : std::runtime_error(message) {}
  std::string message() const { return what(); }
};

// List errors: bad indexes, a search without an order.
class EListError : public Exception {
public:
  using Exception::Exception;
};

// A text that is not a valid number.
class EConvertError : public Exception {
public:
  using Exception::Exception;
};

// A variant that cannot be converted to the requested type (a null, for example).
class EVariantError : public Exception {
public:
  using Exception::Exception;
};

// Errors of the recordset platform (failed recordset, stream or field operations).
class EOleException : public Exception {
public:
  using Exception::Exception;
};

// Dataset errors ("Recordset is not open", a closed dataset).
class EDatabaseError : public Exception {
public:
  using Exception::Exception;
};

// Errors of the report engine and its output device.
class EReportError : public Exception {
public:
  using Exception::Exception;
};

}  // namespace TDInvoice
