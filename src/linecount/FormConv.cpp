// The converter of binary form files into their textual form, and the real-number texts it
// writes.
#include "linecount/FormConv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <mutex>
#include <vector>

#include "common/Checked.h"
#include "common/Error.h"
#include "common/VornString.h"

namespace ravelin {

// ---------------------------------------------------------------------------------------------
// Real numbers: the exact decimal value of the stored bits, rounded to 15 significant digits.

namespace {

constexpr int kRealDigits = 15;

/// A non-negative integer in base 10^9, least significant limb first, no leading zero limbs.
using Limbs = std::vector<std::uint32_t>;
constexpr std::uint32_t kLimbBase = 1000000000;

void MulSmall(Limbs& a, std::uint32_t factor) {
  std::uint64_t carry = 0;
  for (std::uint32_t& limb : a) {
    const std::uint64_t x = static_cast<std::uint64_t>(limb) * factor + carry;
    limb = static_cast<std::uint32_t>(x % kLimbBase);
    carry = x / kLimbBase;
  }
  while (carry != 0) {
    a.push_back(static_cast<std::uint32_t>(carry % kLimbBase));
    carry /= kLimbBase;
  }
}

Limbs Mul(const Limbs& a, const Limbs& b) {
  std::vector<std::uint64_t> acc(a.size() + b.size(), 0);
  for (size_t i = 0; i < b.size(); ++i) {
    std::uint64_t carry = 0;
    for (size_t j = 0; j < a.size(); ++j) {
      const std::uint64_t x = acc[i + j] + static_cast<std::uint64_t>(a[j]) * b[i] + carry;
      acc[i + j] = x % kLimbBase;
      carry = x / kLimbBase;
    }
    acc[i + a.size()] = carry;
  }
  Limbs result(acc.begin(), acc.end());
  while (result.size() > 1 && result.back() == 0) result.pop_back();
  return result;
}

Limbs FromU64(std::uint64_t v) {
  Limbs a;
  do {
    a.push_back(static_cast<std::uint32_t>(v % kLimbBase));
    v /= kLimbBase;
  } while (v != 0);
  return a;
}

/// a *= base^n for base 2 or 5, in factors that fit a limb multiplication.
void MulPower(Limbs& a, std::uint32_t base, int n) {
  const int step = base == 2 ? 29 : 13;  // 2^29 and 5^13 stay below 2^32
  std::uint32_t full = 1;
  for (int i = 0; i < step; ++i) full *= base;
  for (; n >= step; n -= step) MulSmall(a, full);
  std::uint32_t rest = 1;
  for (int i = 0; i < n; ++i) rest *= base;
  if (rest != 1) MulSmall(a, rest);
}

/// value * base^n for base 2 or 5. Large powers come from a cache of base^(256k), so even the
/// extreme exponents of extended reals cost only a few thousand limb operations.
Limbs MulByPower(const Limbs& value, std::uint32_t base, int n) {
  constexpr int kChunk = 256;
  static std::mutex mutex;
  static std::vector<Limbs> cache2{Limbs{1}};
  static std::vector<Limbs> cache5{Limbs{1}};
  Limbs result;
  {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<Limbs>& cache = base == 2 ? cache2 : cache5;
    const size_t chunks = static_cast<size_t>(n / kChunk);
    while (cache.size() <= chunks) {
      Limbs next = cache.back();
      MulPower(next, base, kChunk);
      cache.push_back(std::move(next));
    }
    result = chunks == 0 ? value : Mul(cache[chunks], value);
  }
  MulPower(result, base, n % kChunk);
  return result;
}

std::string LimbsToDigits(const Limbs& a) {
  std::string digits = std::to_string(a.back());
  for (size_t i = a.size() - 1; i-- > 0;) {
    char buf[9];
    std::uint32_t v = a[i];
    for (int k = 8; k >= 0; --k) {
      buf[k] = static_cast<char>('0' + v % 10);
      v /= 10;
    }
    digits.append(buf, 9);
  }
  return digits;
}

/// The general decimal form of (negative ? -1 : 1) * digits * 10^pow10, digits holding no
/// leading zero: rounded half to even to 15 significant digits, trailing zeros dropped.
std::string GeneralText(bool negative, std::string digits, std::int64_t pow10) {
  while (digits.size() > 1 && digits.front() == '0') digits.erase(0, 1);
  if (digits == "0") return "0";
  // value = 0.d1d2d3... * 10^exponent
  std::int64_t exponent = static_cast<std::int64_t>(digits.size()) + pow10;
  if (digits.size() > kRealDigits) {
    const char next = digits[kRealDigits];
    bool up = next > '5';
    if (next == '5') {
      const bool beyond = digits.find_first_not_of('0', kRealDigits + 1) != std::string::npos;
      up = beyond || ((digits[kRealDigits - 1] - '0') % 2 != 0);
    }
    digits.resize(kRealDigits);
    if (up) {
      int i = kRealDigits - 1;
      while (i >= 0 && digits[static_cast<size_t>(i)] == '9')
        digits[static_cast<size_t>(i--)] = '0';
      if (i >= 0) {
        ++digits[static_cast<size_t>(i)];
      } else {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++exponent;
      }
    }
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string text = negative ? "-" : "";
  const auto count = static_cast<std::int64_t>(digits.size());
  if (exponent > kRealDigits || exponent < -4) {
    text += digits[0];
    if (count > 1) {
      text += '.';
      text.append(digits, 1);
    }
    text += 'E';
    text += std::to_string(exponent - 1);
  } else if (exponent <= 0) {
    text += "0.";
    text.append(static_cast<size_t>(-exponent), '0');
    text += digits;
  } else if (exponent >= count) {
    text += digits;
    text.append(static_cast<size_t>(exponent - count), '0');
  } else {
    text.append(digits, 0, static_cast<size_t>(exponent));
    text += '.';
    text.append(digits, static_cast<size_t>(exponent));
  }
  return text;
}

/// Real text of (negative ? -1 : 1) * mantissa * 2^exponent, computed exactly.
std::string BinaryRealText(bool negative, std::uint64_t mantissa, int exponent) {
  if (mantissa == 0) return "0";
  while ((mantissa & 1) == 0) {
    mantissa >>= 1;
    ++exponent;
  }
  if (exponent >= 0) {
    return GeneralText(negative, LimbsToDigits(MulByPower(FromU64(mantissa), 2, exponent)), 0);
  }
  // m / 2^n = m * 5^n / 10^n
  return GeneralText(negative, LimbsToDigits(MulByPower(FromU64(mantissa), 5, -exponent)),
                     exponent);
}

std::string SpecialText(bool negative, bool isNan) {
  if (isNan) return "NAN";
  return negative ? "-INF" : "INF";
}

}  // namespace

std::string ExtendedToText(std::uint64_t mantissa, std::uint16_t signExponent) {
  const bool negative = (signExponent & 0x8000) != 0;
  const int biased = signExponent & 0x7FFF;
  // The integer bit is stored: value = mantissa * 2^(exponent - 16383 - 63); a zero exponent
  // field (denormals) means the exponent of 1.
  if (biased == 0x7FFF) return SpecialText(negative, (mantissa << 1) != 0);
  const int exponent = (biased == 0 ? 1 : biased) - 16383 - 63;
  return BinaryRealText(negative, mantissa, exponent);
}

std::string DoubleToText(std::uint64_t bits) {
  const bool negative = (bits >> 63) != 0;
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
  if (biased == 0x7FF) return SpecialText(negative, fraction != 0);
  if (biased == 0) return BinaryRealText(negative, fraction, 1 - 1023 - 52);
  return BinaryRealText(negative, fraction | (std::uint64_t{1} << 52), biased - 1023 - 52);
}

std::string SingleToText(std::uint32_t bits) {
  const bool negative = (bits >> 31) != 0;
  const int biased = static_cast<int>((bits >> 23) & 0xFF);
  const std::uint32_t fraction = bits & ((1u << 23) - 1);
  if (biased == 0xFF) return SpecialText(negative, fraction != 0);
  if (biased == 0) return BinaryRealText(negative, fraction, 1 - 127 - 23);
  return BinaryRealText(negative, fraction | (1u << 23), biased - 127 - 23);
}

std::string CurrencyToText(std::int64_t amountTimes10000) {
  const bool negative = amountTimes10000 < 0;
  // The magnitude as unsigned, which also holds the most negative amount.
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(amountTimes10000)
                                           : static_cast<std::uint64_t>(amountTimes10000);
  return GeneralText(negative, std::to_string(magnitude), -4);
}

// ---------------------------------------------------------------------------------------------
// The converter

namespace {

constexpr std::uint8_t kFlagInherited = 1;
constexpr std::uint8_t kFlagChildPos = 2;
constexpr std::uint8_t kFlagInline = 4;

constexpr int kMaxLineChars = 64;   // characters of a string on one output line
constexpr size_t kHexPiece = 32;    // bytes of binary data on one output line
constexpr size_t kFlushAt = 65536;  // text held back before it goes to the sink

enum ValueType : std::uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
};

[[noreturn]] void Fail(const char* message) {
  throw StreamError(message);
}

/// Reads the form bytes front to back; every read checks the bytes that remain first.
class FormReader {
 public:
  explicit FormReader(std::string_view data)
      : p_(reinterpret_cast<const unsigned char*>(data.data())), end_(p_ + data.size()) {}

  std::uint8_t Byte() {
    Need(1);
    return *p_++;
  }
  std::uint8_t Peek() {
    Need(1);
    return *p_;
  }
  /// The next n bytes, without copying them.
  std::string_view Bytes(std::uint64_t n) {
    Need(n);
    std::string_view s(reinterpret_cast<const char*>(p_), static_cast<size_t>(n));
    p_ += n;
    return s;
  }
  std::uint64_t Unsigned(int size) {
    Need(static_cast<std::uint64_t>(size));
    std::uint64_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | p_[i];
    p_ += size;
    return v;
  }
  /// One length byte, then that many characters.
  std::string_view ShortString() { return Bytes(Byte()); }

 private:
  void Need(std::uint64_t n) const {
    if (n > static_cast<std::uint64_t>(end_ - p_)) Fail(kStreamReadError);
  }

  const unsigned char* p_;
  const unsigned char* end_;
};

/// Collects the text and hands it to the sink in pieces.
class TextOut {
 public:
  explicit TextOut(const FormTextSink& sink) : sink_(sink) {}

  void Put(std::string_view s) {
    buf_.append(s);
    if (buf_.size() >= kFlushAt) Flush();
  }
  void Put(char c) {
    buf_.push_back(c);
    if (buf_.size() >= kFlushAt) Flush();
  }
  void Indent(int level) {
    buf_.append(2 * static_cast<size_t>(level), ' ');
    if (buf_.size() >= kFlushAt) Flush();
  }
  void LineEnd() { Put("\r\n"); }
  /// A line end, then the indent of level.
  void NewLine(int level) {
    LineEnd();
    Indent(level);
  }
  void Flush() {
    if (buf_.empty()) return;
    sink_(buf_);
    buf_.clear();
  }

 private:
  const FormTextSink& sink_;
  std::string buf_;
};

template <class T>
std::string IntText(T value) {
  char buf[24];
  auto result = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, result.ptr);
}

class Converter {
 public:
  Converter(std::string_view form, TextOut& out) : in_(form), out_(out) {}

  void Run() {
    // Resource header: 255, the resource type 10 (two bytes), the name up to a zero byte, a
    // flags word and the data size.
    if (in_.Byte() != 255) Fail(kInvalidStreamFormat);
    if (in_.Byte() != 10) Fail(kInvalidStreamFormat);
    in_.Byte();
    while (in_.Byte() != 0) {
    }
    in_.Unsigned(2);
    in_.Unsigned(4);
    if (in_.Bytes(4) != "TPF0") Fail(kInvalidStreamFormat);
    Component(0);
  }

 private:
  static void CheckLevel(int level) {
    if (level > kMaxFormNesting) Fail(kInvalidStreamFormat);
  }

  void Component(int level) {
    CheckLevel(level);
    std::uint8_t flags = 0;
    std::string position;
    if ((in_.Peek() & 0xF0) == 0xF0) {
      flags = in_.Byte() & 0x0F;
      if (flags & kFlagChildPos) position = IntegerValueText();
    }
    const std::string_view className = in_.ShortString();
    const std::string_view name = in_.ShortString();

    out_.Indent(level);
    if (flags & kFlagInherited) {
      out_.Put("inherited ");
    } else if (flags & kFlagInline) {
      out_.Put("inline ");
    } else {
      out_.Put("object ");
    }
    if (!name.empty()) {
      out_.Put(name);
      out_.Put(": ");
    }
    out_.Put(className);
    if (flags & kFlagChildPos) {
      out_.Put(" [");
      out_.Put(position);
      out_.Put("]");
    }
    out_.LineEnd();

    Properties(level + 1);
    while (in_.Peek() != 0) Component(level + 1);
    in_.Byte();

    out_.Indent(level);
    out_.Put("end");
    out_.LineEnd();
  }

  /// Properties up to the empty name that ends them, each on a line of its own.
  void Properties(int level) {
    for (;;) {
      const std::string_view name = in_.ShortString();
      if (name.empty()) return;
      out_.Indent(level);
      out_.Put(name);
      out_.Put(" = ");
      Value(level);
      out_.LineEnd();
    }
  }

  /// An integer value of 1, 2 or 4 bytes (a child position, an item index) in decimal.
  std::string IntegerValueText() {
    switch (in_.Byte()) {
      case vaInt8:
        return IntText(static_cast<std::int8_t>(in_.Unsigned(1)));
      case vaInt16:
        return IntText(static_cast<std::int16_t>(in_.Unsigned(2)));
      case vaInt32:
        return IntText(static_cast<std::int32_t>(in_.Unsigned(4)));
      default:
        Fail(kInvalidPropertyValue);
    }
  }

  void Value(int level) {
    const std::uint8_t type = in_.Byte();
    switch (type) {
      case vaNull:
        out_.Put("Null");
        break;
      case vaList:
        List(level);
        break;
      case vaInt8:
        out_.Put(IntText(static_cast<std::int8_t>(in_.Unsigned(1))));
        break;
      case vaInt16:
        out_.Put(IntText(static_cast<std::int16_t>(in_.Unsigned(2))));
        break;
      case vaInt32:
        out_.Put(IntText(static_cast<std::int32_t>(in_.Unsigned(4))));
        break;
      case vaExtended: {
        const std::uint64_t mantissa = in_.Unsigned(8);
        out_.Put(ExtendedToText(mantissa, static_cast<std::uint16_t>(in_.Unsigned(2))));
        break;
      }
      case vaString:
        ByteString(in_.ShortString(), level);
        break;
      case vaIdent:
        out_.Put(in_.ShortString());
        break;
      case vaFalse:
        out_.Put("False");
        break;
      case vaTrue:
        out_.Put("True");
        break;
      case vaBinary:
        Binary(level);
        break;
      case vaSet:
        Set();
        break;
      case vaLString:
        ByteString(in_.Bytes(in_.Unsigned(4)), level);
        break;
      case vaNil:
        out_.Put("nil");
        break;
      case vaCollection:
        Collection(level);
        break;
      case vaSingle:
        out_.Put(SingleToText(static_cast<std::uint32_t>(in_.Unsigned(4))));
        out_.Put('s');
        break;
      case vaCurrency:
        out_.Put(CurrencyToText(static_cast<std::int64_t>(in_.Unsigned(8))));
        out_.Put('c');
        break;
      case vaDate:
        out_.Put(DoubleToText(in_.Unsigned(8)));
        out_.Put('d');
        break;
      case vaWString: {
        const std::uint64_t count = in_.Unsigned(4);
        WideString(in_.Bytes(count * 2), level);
        break;
      }
      case vaInt64:
        out_.Put(IntText(static_cast<std::int64_t>(in_.Unsigned(8))));
        break;
      default:
        Fail(kInvalidPropertyValue);
    }
  }

  /// "(", every item on a new line one level deeper, ")" after the last.
  void List(int level) {
    CheckLevel(level + 1);
    out_.Put('(');
    while (in_.Peek() != 0) {
      out_.NewLine(level + 1);
      Value(level + 1);
    }
    in_.Byte();
    out_.Put(')');
  }

  /// "<", then per item an "item" line (with its index when it has one), its properties two
  /// levels deeper and "end"; ">" after the last "end".
  void Collection(int level) {
    CheckLevel(level + 2);
    out_.Put('<');
    while (in_.Peek() != 0) {
      out_.NewLine(level + 1);
      out_.Put("item");
      const std::uint8_t next = in_.Peek();
      if (next == vaInt8 || next == vaInt16 || next == vaInt32) {
        out_.Put(" [");
        out_.Put(IntegerValueText());
        out_.Put(']');
      }
      out_.LineEnd();
      // The item's properties stand in a list: its marker comes first.
      if (in_.Byte() != vaList) Fail(kInvalidPropertyValue);
      Properties(level + 2);
      out_.Indent(level + 1);
      out_.Put("end");
    }
    in_.Byte();
    out_.Put('>');
  }

  /// "[", the element names joined by ", ", "]".
  void Set() {
    out_.Put('[');
    bool first = true;
    for (;;) {
      const std::string_view element = in_.ShortString();
      if (element.empty()) break;
      if (!first) out_.Put(", ");
      out_.Put(element);
      first = false;
    }
    out_.Put(']');
  }

  /// "{", the bytes as upper-case hexadecimal in pieces of 32 (each on a new line when there
  /// are 32 bytes or more), "}".
  void Binary(int level) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string_view data = in_.Bytes(in_.Unsigned(4));
    const bool multiLine = data.size() >= kHexPiece;
    out_.Put('{');
    char piece[kHexPiece * 2];
    for (size_t pos = 0; pos < data.size(); pos += kHexPiece) {
      if (multiLine) out_.NewLine(level + 1);
      const size_t n = std::min(kHexPiece, data.size() - pos);
      for (size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(data[pos + i]);
        piece[2 * i] = kHex[b >> 4];
        piece[2 * i + 1] = kHex[b & 15];
      }
      out_.Put(std::string_view(piece, 2 * n));
    }
    out_.Put('}');
  }

  void ByteString(std::string_view s, int level) {
    StringText(
        s.size(),
        [&](size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(s[i])); },
        [&](size_t from, size_t to) { out_.Put(s.substr(from, to - from)); }, level);
  }

  void WideString(std::string_view bytes, int level) {
    auto code = [&](size_t i) {
      return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                        (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    };
    StringText(
        bytes.size() / 2, code,
        [&](size_t from, size_t to) {
          for (size_t i = from; i < to; ++i) out_.Put(static_cast<char>(code(i)));
        },
        level);
  }

  /// A character that may stand inside an apostrophe-quoted run.
  static bool InRun(std::uint32_t c) { return c >= 32 && c != '\'' && c <= 255; }

  /// Writes a string of n characters: runs of plain characters between apostrophes, other
  /// characters as "#" and their code, at most 64 characters a line with " +" between lines.
  template <class CodeAt, class PutRun>
  void StringText(size_t n, CodeAt code, PutRun putRun, int level) {
    if (n == 0) {
      out_.Put("''");
      return;
    }
    ++level;
    if (n > kMaxLineChars) out_.NewLine(level);
    size_t i = 0;
    size_t lineStart = 0;
    while (i < n) {
      if (InRun(code(i))) {
        const size_t from = i;
        do {
          ++i;
        } while (i < n && InRun(code(i)) && i - lineStart < kMaxLineChars);
        out_.Put('\'');
        putRun(from, i);
        out_.Put('\'');
      } else {
        out_.Put('#');
        out_.Put(IntText(code(i)));
        ++i;
      }
      if (i - lineStart >= kMaxLineChars && i < n) {
        out_.Put(" +");
        out_.NewLine(level);
        lineStart = i;
      }
    }
  }

  FormReader in_;
  TextOut& out_;
};

}  // namespace

void ConvertFormBinaryToText(std::string_view form, const FormTextSink& sink) {
  TextOut out(sink);
  Converter converter(form, out);
  try {
    converter.Run();
  } catch (const StreamError&) {
    out.Flush();
    throw;
  }
  out.Flush();
}

// ---------------------------------------------------------------------------------------------
// Counting the lines of a textual form

bool IsObjectLine(std::string_view line) {
  auto outside = [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 33 || u > 126;
  };
  size_t first = 0;
  size_t last = line.size();
  while (first < last && outside(line[first])) ++first;
  while (last > first && outside(line[last - 1])) --last;
  std::string_view word = line.substr(first, last - first);
  const size_t blank = word.find(' ');
  if (blank != std::string_view::npos) word = word.substr(0, blank);
  static constexpr std::string_view kObject = "OBJECT";
  if (word.size() != kObject.size()) return false;
  for (size_t i = 0; i < kObject.size(); ++i) {
    if (UpperChar(word[i]) != kObject[i]) return false;
  }
  return true;
}

void FormLineCounter::Count(std::string_view line) {
  CheckedInc(lines_);
  if (IsObjectLine(line)) CheckedInc(objects_);
}

void FormLineCounter::Feed(std::string_view piece) {
  if (ended_) return;
  const size_t ctrlZ = piece.find('\x1A');
  if (ctrlZ != std::string_view::npos) {
    piece = piece.substr(0, ctrlZ);
    ended_ = true;
  }
  size_t pos = 0;
  if (afterCr_ && !piece.empty()) {
    afterCr_ = false;
    if (piece[0] == '\n') pos = 1;
  }
  while (pos < piece.size()) {
    const size_t end = piece.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) {
      pending_.append(piece.substr(pos));
      break;
    }
    if (pending_.empty()) {
      Count(piece.substr(pos, end - pos));
    } else {
      pending_.append(piece.substr(pos, end - pos));
      Count(pending_);
      pending_.clear();
    }
    pos = end + 1;
    if (piece[end] == '\r') {
      if (pos == piece.size()) {
        afterCr_ = true;
      } else if (piece[pos] == '\n') {
        ++pos;
      }
    }
  }
}

void FormLineCounter::Finish() {
  if (!pending_.empty()) Count(pending_);
  pending_.clear();
  ended_ = true;
}

std::string FormBinaryToText(std::string_view form) {
  std::string text;
  ConvertFormBinaryToText(form, [&](std::string_view piece) { text.append(piece); });
  return text;
}

}  // namespace ravelin
