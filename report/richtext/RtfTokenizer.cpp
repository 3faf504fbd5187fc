#include "report/richtext/RtfTokenizer.h"

#include <algorithm>
#include <climits>

namespace TDInvoice::Report {

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isTextByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 0x20 || b == '\t') && c != '\\' && c != '{' && c != '}';
}
int hexValue(char c) {
  if (isDigit(c))
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

} // namespace

TRtfToken TRtfTokenizer::next() {
  while (pos_ < input_.size()) {
    const char c = input_[pos_];
    if (c == '{') {
      ++pos_;
      return {TRtfToken::GroupOpen};
    }
    if (c == '}') {
      ++pos_;
      return {TRtfToken::GroupClose};
    }
    if (c == '\\') {
      if (pos_ + 1 >= input_.size()) {
        pos_ = input_.size();
        break;
      }
      const char after = input_[pos_ + 1];
      if (isLetter(after))
        return controlWord();
      if (after == '\'') {
        TRtfToken token = hexByte();
        if (token.kind != TRtfToken::End)
          return token;
        continue;
      }
      pos_ += 2;
      if (after == '\r' || after == '\n') {
        TRtfToken token{TRtfToken::ControlWord};
        token.bytes = QByteArrayView("par", 3);
        return token;
      }
      TRtfToken token{TRtfToken::ControlSymbol};
      token.symbol = after;
      return token;
    }
    if (isTextByte(c))
      return text();
    ++pos_; // raw line ends, NUL and other control bytes carry nothing
  }
  return {TRtfToken::End};
}

TRtfToken TRtfTokenizer::controlWord() {
  TRtfToken token{TRtfToken::ControlWord};
  const qsizetype start = ++pos_;
  while (pos_ < input_.size() && isLetter(input_[pos_]))
    ++pos_;
  token.bytes = input_.sliced(start, pos_ - start);
  bool negative = false;
  if (pos_ + 1 < input_.size() && input_[pos_] == '-' && isDigit(input_[pos_ + 1])) {
    negative = true;
    ++pos_;
  }
  if (pos_ < input_.size() && isDigit(input_[pos_])) {
    long long value = 0;
    token.hasParameter = true;
    while (pos_ < input_.size() && isDigit(input_[pos_])) {
      if (value <= INT_MAX)
        value = value * 10 + (input_[pos_] - '0');
      ++pos_;
    }
    if (value > INT_MAX)
      value = INT_MAX;
    token.parameter = static_cast<int>(negative ? -value : value);
  }
  if (pos_ < input_.size() && input_[pos_] == ' ')
    ++pos_;
  if (token.bytes == QByteArrayView("bin") && token.hasParameter && token.parameter > 0) {
    const qsizetype length = std::min<qsizetype>(token.parameter, input_.size() - pos_);
    TRtfToken binary{TRtfToken::Binary};
    binary.bytes = input_.sliced(pos_, length);
    pos_ += length;
    return binary;
  }
  return token;
}

TRtfToken TRtfTokenizer::hexByte() {
  pos_ += 2; // backslash and quote
  int value = 0;
  int digits = 0;
  while (digits < 2 && pos_ < input_.size()) {
    const int digit = hexValue(input_[pos_]);
    if (digit < 0)
      break;
    value = value * 16 + digit;
    ++digits;
    ++pos_;
  }
  if (digits == 0)
    return {TRtfToken::End}; // a broken escape carries nothing; the caller goes on
  TRtfToken token{TRtfToken::HexByte};
  token.value = static_cast<unsigned char>(value);
  return token;
}

TRtfToken TRtfTokenizer::text() {
  TRtfToken token{TRtfToken::Text};
  const qsizetype start = pos_;
  while (pos_ < input_.size() && isTextByte(input_[pos_]))
    ++pos_;
  token.bytes = input_.sliced(start, pos_ - start);
  return token;
}

} // namespace TDInvoice::Report
