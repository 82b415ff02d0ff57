#include "inspect/json.h"

namespace parvolen::inspect {
std::size_t Utf8Length(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  std::size_t n = 0;
  std::uint32_t low = 0;
  if (c >= 0xC2 && c <= 0xDF) n = 2, low = 0x80;
  else if (c >= 0xE0 && c <= 0xEF) n = 3, low = 0x800;
  else if (c >= 0xF0 && c <= 0xF4) n = 4, low = 0x10000;
  else return 0;
  if (i + n > text.size()) return 0;
  std::uint32_t code = c & (0x3F >> (n - 1));
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < low || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return n;
}

namespace {

std::string Hex4(unsigned value) {
  static const char digits[] = "0123456789abcdef";
  std::string text = "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) text += digits[(value >> shift) & 0xF];
  return text;
}

}  // namespace

std::string JsonWriter::Quote(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      out += Hex4(c);
    } else if (c >= 0x80) {
      if (const std::size_t n = Utf8Length(text, i); n != 0) {
        out.append(text.substr(i, n));
        i += n;
        continue;
      }
      out += Hex4(c);
    } else {
      out += static_cast<char>(c);
    }
    ++i;
  }
  return out + "\"";
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (!first_) out_ += ",";
  first_ = false;
}

JsonWriter& JsonWriter::BeginObject() {
  BeforeValue();
  out_ += "{";
  first_ = true;
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  out_ += "}";
  first_ = false;
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  BeforeValue();
  out_ += "[";
  first_ = true;
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  out_ += "]";
  first_ = false;
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
  BeforeValue();
  out_ += Quote(name) + ":";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  BeforeValue();
  out_ += Quote(text);
  return *this;
}

JsonWriter& JsonWriter::Number(std::int64_t value) {
  BeforeValue();
  out_ += std::to_string(value);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  out_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  out_ += "null";
  return *this;
}

}  // namespace parvolen::inspect
