// A small writer of binary form files for the fuzz seeds and the samples: the resource header, the
// "TPF0" signature, components with their prefix flags and every value type. Calls append
// bytes in order; End() writes the zero byte that closes properties, children, lists,
// collections and collection items alike.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace ravelin::seeds {

class FormWriter {
 public:
  static constexpr std::uint8_t kInherited = 1;
  static constexpr std::uint8_t kChildPos = 2;
  static constexpr std::uint8_t kInline = 4;

  /// Starts a form: resource header (named resourceName) and, unless signature is empty,
  /// the given signature.
  explicit FormWriter(std::string_view resourceName = "TFORM1",
                      std::string_view signature = "TPF0") {
    Byte(0xFF).Byte(0x0A).Byte(0x00);
    Raw(resourceName).Byte(0);
    U16(0x1030);
    sizePos_ = bytes_.size();
    U32(0);
    dataStart_ = bytes_.size();
    Raw(signature);
  }

  /// The finished bytes, the header's data size filled in.
  std::string Bytes() const {
    std::string out = bytes_;
    const auto size = static_cast<std::uint32_t>(out.size() - dataStart_);
    for (int i = 0; i < 4; ++i) out[sizePos_ + i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    return out;
  }

  // Raw pieces.
  FormWriter& Byte(std::uint8_t b) {
    bytes_.push_back(static_cast<char>(b));
    return *this;
  }
  FormWriter& Raw(std::string_view s) {
    bytes_.append(s);
    return *this;
  }
  FormWriter& U16(std::uint16_t v) { return Le(v, 2); }
  FormWriter& U32(std::uint32_t v) { return Le(v, 4); }
  FormWriter& U64(std::uint64_t v) { return Le(v, 8); }
  /// A short string: length byte, then the characters (at most 255).
  FormWriter& Short(std::string_view s) {
    Byte(static_cast<std::uint8_t>(s.size()));
    return Raw(s.substr(0, 255));
  }
  /// The zero byte that ends properties, children, lists, collections and items.
  FormWriter& End() { return Byte(0); }

  // Components.
  /// A component header: the prefix byte when flags are given (with the child position as an
  /// integer value when flag 2 is set), the class name and the component name.
  FormWriter& Object(std::string_view className, std::string_view name, std::uint8_t flags = 0,
                     std::int32_t childPos = 0) {
    if (flags != 0) {
      Byte(static_cast<std::uint8_t>(0xF0 | flags));
      if (flags & kChildPos) Int(childPos);
    }
    return Short(className).Short(name);
  }
  /// A property name; a value must follow.
  FormWriter& Prop(std::string_view name) { return Short(name); }

  // Values.
  FormWriter& Null() { return Byte(0); }
  FormWriter& List() { return Byte(1); }
  FormWriter& Int8(std::int8_t v) { return Byte(2).Byte(static_cast<std::uint8_t>(v)); }
  FormWriter& Int16(std::int16_t v) { return Byte(3).U16(static_cast<std::uint16_t>(v)); }
  FormWriter& Int32(std::int32_t v) { return Byte(4).U32(static_cast<std::uint32_t>(v)); }
  /// An integer in the smallest of the three sizes that holds it.
  FormWriter& Int(std::int32_t v) {
    if (v >= -128 && v <= 127) return Int8(static_cast<std::int8_t>(v));
    if (v >= -32768 && v <= 32767) return Int16(static_cast<std::int16_t>(v));
    return Int32(v);
  }
  /// A 10-byte extended real from its mantissa and its sign-and-exponent word.
  FormWriter& Extended(std::uint64_t mantissa, std::uint16_t signExponent) {
    return Byte(5).U64(mantissa).U16(signExponent);
  }
  /// A 10-byte extended real holding exactly the value of a finite double.
  FormWriter& Extended(double v) {
    if (v == 0) return Extended(0, std::signbit(v) ? 0x8000 : 0);
    int exp = 0;
    const double frac = std::frexp(std::fabs(v), &exp);  // |v| = frac * 2^exp, frac in [0.5, 1)
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(frac, 64));
    auto se = static_cast<std::uint16_t>(exp + 16382);
    if (v < 0) se |= 0x8000;
    return Extended(mantissa, se);
  }
  FormWriter& String(std::string_view s) { return Byte(6).Short(s); }
  FormWriter& Ident(std::string_view s) { return Byte(7).Short(s); }
  FormWriter& False() { return Byte(8); }
  FormWriter& True() { return Byte(9); }
  FormWriter& Binary(std::string_view data) {
    return Byte(10).U32(static_cast<std::uint32_t>(data.size())).Raw(data);
  }
  FormWriter& Set(std::initializer_list<std::string_view> elements) {
    Byte(11);
    for (std::string_view e : elements) Short(e);
    return Byte(0);
  }
  FormWriter& LString(std::string_view s) {
    return Byte(12).U32(static_cast<std::uint32_t>(s.size())).Raw(s);
  }
  FormWriter& Nil() { return Byte(13); }
  /// Starts a collection; items follow, then End().
  FormWriter& Collection() { return Byte(14); }
  /// Starts a collection item (with its index when given) and its property list marker;
  /// properties follow, then End().
  FormWriter& Item(std::optional<std::int32_t> index = std::nullopt) {
    if (index) Int(*index);
    return Byte(1);
  }
  FormWriter& Single(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return Byte(15).U32(bits);
  }
  /// A currency value given as the amount times 10000.
  FormWriter& Currency(std::int64_t amountTimes10000) {
    return Byte(16).U64(static_cast<std::uint64_t>(amountTimes10000));
  }
  FormWriter& Date(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    return Byte(17).U64(bits);
  }
  FormWriter& WString(std::u16string_view s) {
    Byte(18).U32(static_cast<std::uint32_t>(s.size()));
    for (char16_t c : s) U16(static_cast<std::uint16_t>(c));
    return *this;
  }
  FormWriter& Int64(std::int64_t v) { return Byte(19).U64(static_cast<std::uint64_t>(v)); }

 private:
  FormWriter& Le(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) Byte(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
    return *this;
  }

  std::string bytes_;
  size_t sizePos_ = 0;
  size_t dataStart_ = 0;
};

}  // namespace ravelin::seeds
