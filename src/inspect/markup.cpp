#include "inspect/markup.h"

#include "inspect/json.h"

namespace parvolen::inspect {

std::string Escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const std::size_t n = Utf8Length(text, i);
      out.append(n != 0 ? text.substr(i, n) : "\xEF\xBF\xBD");
      i += n != 0 ? n : 1;
      continue;
    }
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default:
        if (c < 0x20 || c == 0x7F) out += "\xEF\xBF\xBD";
        else out += static_cast<char>(c);
    }
    ++i;
  }
  return out;
}

std::size_t Characters(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    const std::size_t n = static_cast<unsigned char>(text[i]) >= 0x80 ? Utf8Length(text, i) : 1;
    i += n != 0 ? n : 1;
  }
  return count;
}

}  // namespace parvolen::inspect
