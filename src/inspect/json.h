// A small writer of JSON text: objects, arrays, strings, numbers and booleans.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace parvolen::inspect {

// Length of the well-formed UTF-8 sequence that begins at text[i], or 0 when none does.
[[nodiscard]] std::size_t Utf8Length(std::string_view text, std::size_t i);

class JsonWriter {
 public:
  // Values and containers; inside an object each must follow a Key.
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view name);
  JsonWriter& String(std::string_view text);
  JsonWriter& Number(std::int64_t value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  // The text written so far.
  [[nodiscard]] const std::string& Text() const { return out_; }

  // The text as a JSON string literal. Bytes that are not UTF-8 are written as the characters
  // U+0080 to U+00FF of the same value, so that the result is always valid JSON.
  [[nodiscard]] static std::string Quote(std::string_view text);

 private:
  void BeforeValue();
  std::string out_;
  bool first_ = true;  // no element yet in the open container
  bool afterKey_ = false;
};

}  // namespace parvolen::inspect
