#include "inspect/input_messages.h"

#include <algorithm>
#include <cstdio>

namespace parvolen::inspect {
namespace {

constexpr std::size_t kMessageRoom = 200;  // the list of expected terminals and what was found
constexpr std::size_t kTailRoom = 127;     // what was found
constexpr std::size_t kShownText = 40;     // bytes of a terminal's text a message shows

}  // namespace

void AppendBounded(std::string& buf, std::size_t room, std::string_view text) {
  if (buf.size() >= room) return;
  buf.append(text.substr(0, room - buf.size()));
}

void AppendShown(std::string& buf, std::size_t room, std::string_view text) {
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    char escaped[8];
    if (c >= 32 && c != 127) {
      AppendBounded(buf, room, std::string_view(&ch, 1));
    } else if (c == '\n') {
      AppendBounded(buf, room, "\\n");
    } else if (c == '\t') {
      AppendBounded(buf, room, "\\t");
    } else {
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      AppendBounded(buf, room, escaped);
    }
  }
}

const std::string& TerminalWords::Text(std::int32_t kind) const {
  static const std::string none;
  return kind >= 0 && static_cast<std::size_t>(kind) < Texts.size() ? Texts[static_cast<std::size_t>(kind)] : none;
}

bool TerminalWords::IsValued(std::int32_t kind) const {
  return std::find(Valued.begin(), Valued.end(), kind) != Valued.end();
}

std::string DescribeUnexpected(const TerminalWords& words, const std::vector<std::int32_t>& all, std::int32_t found,
                               std::string_view text) {
  std::string tail;
  AppendBounded(tail, kTailRoom, all.empty() ? "found " : ", found ");
  AppendBounded(tail, kTailRoom, words.Text(found));
  if (words.IsValued(found)) {
    AppendBounded(tail, kTailRoom, " '");
    AppendShown(tail, kTailRoom - 1, text.substr(0, kShownText));
    AppendBounded(tail, kTailRoom, "'");
  }
  const std::size_t room = kMessageRoom - tail.size();
  std::string buf;
  if (!all.empty()) AppendBounded(buf, room, "expected ");
  for (std::size_t i = 0; i < all.size(); ++i) {
    const std::string& name = words.Text(all[i]);
    if (i > 0 && buf.size() + 4 + name.size() + (i + 1 < all.size() ? 5 : 0) > room) {
      AppendBounded(buf, room, ", ...");
      break;
    }
    if (i > 0) AppendBounded(buf, room, i + 1 == all.size() ? " or " : ", ");
    AppendBounded(buf, room, name);
  }
  AppendBounded(buf, 255, tail);
  return buf;
}

}  // namespace parvolen::inspect
