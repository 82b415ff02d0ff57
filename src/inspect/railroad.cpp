#include "inspect/railroad.h"

#include <algorithm>

#include "inspect/markup.h"

namespace parvolen::inspect {
namespace {

// The geometry, in pixels. Labels are set in a monospace font of 13 pixels, whose characters
// are at most 8 wide; the SVG stretches each label to exactly that width, so that a box always
// holds its text whatever font the reader has.
constexpr int kArc = 10;        // radius of every bend
constexpr int kGap = 10;        // between the boxes of two branches, one above the other
constexpr int kSpace = 10;      // between two items of a sequence
constexpr int kCharWidth = 8;   // of one character of a label
constexpr int kPadding = 8;     // between a label and the sides of its box
constexpr int kHalfBox = 11;    // half the height of a box
constexpr int kBadgeUp = 20;    // room above the line for a badge
constexpr int kMargin = 10;     // around the picture
constexpr int kEndMark = 10;    // the line from an end mark to the first or last item
constexpr int kEndHalf = 8;     // half the height of an end mark

class Builder {
 public:
  Builder(const Grammar& grammar, const RailMarks& marks)
      : grammar_(grammar), lang_(grammar.Lang()), marks_(marks), budget_(lang_.LastEdge) {}

  RailNode Nonterminal(std::int32_t n) {
    RailNode root = List(lang_.NontTab[n].ProdEdges);
    const std::int32_t tails = lang_.NontTab[n].RecEdges;
    if (Valid(tails)) {
      RailNode loop = Node(RailKind::Loop, tails);
      RailNode body = Unwrapped(List(tails));
      if (body.Kind == RailKind::Choice && body.First == tails) body.First = 0, body.Mark = nullptr;  // the loop's
      loop.Items.push_back(std::move(body));
      root.Items.push_back(std::move(loop));
    }
    return root;
  }

 private:
  [[nodiscard]] bool Valid(std::int32_t e) const { return e >= 1 && e <= lang_.LastEdge; }

  // A node of the kind; for a choice point, its first edge and badge.
  RailNode Node(RailKind kind, std::int32_t first) const {
    RailNode node;
    node.Kind = kind;
    node.First = first;
    if (const auto found = marks_.find(first); first != 0 && found != marks_.end()) node.Mark = &found->second;
    return node;
  }

  RailNode Item(std::int32_t e) const {
    const EdgeRec& edge = lang_.EdgeTab[e];
    RailNode item;
    item.Kind = edge.WhoAmI == kEdgeTerminal      ? RailKind::Terminal
                : edge.WhoAmI == kEdgeNonterminal ? RailKind::Nonterminal
                : edge.WhoAmI == kEdgeAction      ? RailKind::Action
                                                  : RailKind::Output;
    item.Label = grammar_.EdgeText(e);
    item.Name = item.Label.size() >= 2 ? item.Label.substr(1, item.Label.size() - 2) : item.Label;
    item.Code = edge.Code;
    return item;
  }

  // A sequence with one item is that item; an empty one is the empty alternative.
  static RailNode Unwrapped(RailNode seq) {
    if (seq.Items.size() == 1) return std::move(seq.Items.front());
    if (seq.Items.empty()) return RailNode{};
    return seq;
  }

  // The sequence that the list at `first` begins: edges down lists of one member, then the
  // choice where the list has more. Recursion only at a choice.
  RailNode List(std::int32_t first) {
    RailNode seq = Node(RailKind::Sequence, 0);
    std::vector<std::int32_t> members;
    for (std::int32_t e = first; Valid(e);) {
      members.clear();
      for (std::int32_t m = e; Valid(m) && budget_-- > 0; m = lang_.EdgeTab[m].Altr) members.push_back(m);
      if (members.size() == 1) {
        if (lang_.EdgeTab[e].WhoAmI == kEdgeEnd) break;
        seq.Items.push_back(Item(e));
        e = lang_.EdgeTab[e].Next;
        continue;
      }
      if (members.empty()) break;
      RailNode choice = Node(RailKind::Choice, e);
      for (std::int32_t m : members) {
        if (lang_.EdgeTab[m].WhoAmI == kEdgeEnd) {
          choice.Items.insert(choice.Items.begin(), RailNode{});  // the empty alternative runs on the main line
          continue;
        }
        RailNode branch = List(lang_.EdgeTab[m].Next);
        branch.Items.insert(branch.Items.begin(), Item(m));
        choice.Items.push_back(Unwrapped(std::move(branch)));
      }
      seq.Items.push_back(std::move(choice));
      break;
    }
    return seq;
  }

  const Grammar& grammar_;
  const Language& lang_;
  const RailMarks& marks_;
  std::int64_t budget_;  // edges left to visit: a trie visits each edge once
};

// Where each branch of a choice runs, below the main line: the first on it, each next one below
// the boxes of the one before, and the second at least two bends down.
std::vector<int> BranchOffsets(const RailNode& choice) {
  std::vector<int> offsets;
  for (std::size_t i = 0; i < choice.Items.size(); ++i) {
    if (i == 0) {
      offsets.push_back(0);
      continue;
    }
    const int below = choice.Items[i - 1].Down + kGap + choice.Items[i].Up;
    offsets.push_back(offsets.back() + (i == 1 ? std::max(below, 2 * kArc) : below));
  }
  return offsets;
}

// A loop runs zero or more times: the main line passes it by, the body runs on a track below
// it, and below the body a track leads back to the body's start. Where the body runs and where
// the way back runs, below the main line.
int LoopBody(const RailNode& loop) { return std::max(loop.Items.front().Up + kGap, 2 * kArc); }
int LoopBack(const RailNode& loop) { return LoopBody(loop) + std::max(loop.Items.front().Down + kGap, 2 * kArc); }

void Measure(RailNode& node) {
  switch (node.Kind) {
    case RailKind::Terminal:
    case RailKind::Nonterminal:
    case RailKind::Action:
    case RailKind::Output:
      node.Width = static_cast<int>(Characters(node.Name)) * kCharWidth + 2 * kPadding;
      node.Up = node.Down = kHalfBox;
      break;
    case RailKind::Skip: break;
    case RailKind::Sequence:
      for (RailNode& item : node.Items) {
        Measure(item);
        node.Width += (node.Width > 0 ? kSpace : 0) + item.Width;
        node.Up = std::max(node.Up, item.Up);
        node.Down = std::max(node.Down, item.Down);
      }
      break;
    case RailKind::Choice: {
      for (RailNode& item : node.Items) {
        Measure(item);
        node.Width = std::max(node.Width, item.Width + 4 * kArc);
      }
      if (node.Items.empty()) break;
      node.Up = node.Items.front().Up;
      node.Down = BranchOffsets(node).back() + node.Items.back().Down;
      break;
    }
    case RailKind::Loop: {
      RailNode& body = node.Items.front();
      Measure(body);
      node.Width = body.Width + 4 * kArc;
      node.Down = LoopBack(node);
      break;
    }
  }
  if (node.Mark != nullptr) node.Up = std::max(node.Up, kBadgeUp);
}

void Place(RailNode& node, int x, int y) {
  node.X = x;
  node.Y = y;
  if (node.Kind == RailKind::Sequence) {
    for (RailNode& item : node.Items) {
      Place(item, x, y);
      x += item.Width + kSpace;
    }
  } else if (node.Kind == RailKind::Choice) {
    const std::vector<int> offsets = BranchOffsets(node);
    for (std::size_t i = 0; i < node.Items.size(); ++i) Place(node.Items[i], x + 2 * kArc, y + offsets[i]);
  } else if (node.Kind == RailKind::Loop) {
    Place(node.Items.front(), x + 2 * kArc, y + LoopBody(node));
  }
}

const char* KindName(RailKind kind) {
  switch (kind) {
    case RailKind::Terminal: return "terminal";
    case RailKind::Nonterminal: return "nonterminal";
    case RailKind::Action: return "action";
    case RailKind::Output: return "output";
    case RailKind::Skip: return "empty";
    case RailKind::Sequence: return "sequence";
    case RailKind::Choice: return "choice";
    case RailKind::Loop: return "loop";
  }
  return "?";
}

void Dump(const RailNode& node, int depth, std::string& out) {
  out += std::string(2 * static_cast<std::size_t>(depth), ' ') + KindName(node.Kind);
  if (!node.Label.empty()) out += " " + node.Label;
  out += " at " + std::to_string(node.X) + "," + std::to_string(node.Y) + " width " + std::to_string(node.Width) +
         " up " + std::to_string(node.Up) + " down " + std::to_string(node.Down);
  if (node.Mark != nullptr) out += " badge \"" + node.Mark->Badge + "\" -> " + node.Mark->Href;
  out += "\n";
  for (const RailNode& item : node.Items) Dump(item, depth + 1, out);
}

// SVG numbers are the pixel counts themselves.
std::string N(int value) { return std::to_string(value); }

class SvgWriter {
 public:
  void Node(const RailNode& node) {
    const int x = node.X, y = node.Y, w = node.Width;
    switch (node.Kind) {
      case RailKind::Terminal:
      case RailKind::Nonterminal:
      case RailKind::Action:
      case RailKind::Output: Box(node); break;
      case RailKind::Skip: break;
      case RailKind::Sequence:
        for (std::size_t i = 0; i + 1 < node.Items.size(); ++i) {
          const RailNode& a = node.Items[i];
          Line(a.X + a.Width, node.Items[i + 1].X, y);
        }
        break;
      case RailKind::Choice:
        for (std::size_t i = 0; i < node.Items.size(); ++i) {
          const RailNode& b = node.Items[i];
          if (i == 0) {
            Line(x, b.X, y);
            Line(b.X + b.Width, x + w, y);
            continue;
          }
          rails_ += "M" + N(x) + " " + N(y) + Bend(x + kArc, y + kArc, true) + "V" + N(b.Y - kArc) +
                    Bend(x + 2 * kArc, b.Y, false) + "M" + N(b.X + b.Width) + " " + N(b.Y) + "H" +
                    N(x + w - 2 * kArc) + Bend(x + w - kArc, b.Y - kArc, false) + "V" + N(y + kArc) +
                    Bend(x + w, y, true);
        }
        break;
      case RailKind::Loop: {
        const RailNode& body = node.Items.front();
        const int track = body.Y, back = y + node.Down, middle = x + w / 2;
        const int left = x + kArc, right = x + w - kArc;
        Line(x, x + w, y);
        // Down into the body and up out of it, the verticals running on to the way back.
        rails_ += "M" + N(x) + " " + N(y) + Bend(left, y + kArc, true) + "V" + N(back - kArc) + Bend(left + kArc, back, false) +
                  "H" + N(right - kArc) + Bend(right, back - kArc, false) + "V" + N(y + kArc) + Bend(x + w, y, true);
        rails_ += "M" + N(left) + " " + N(track - kArc) + Bend(left + kArc, track, false) + "M" + N(left) + " " +
                  N(track + kArc) + Bend(left + kArc, track, true) + "M" + N(body.X + body.Width) + " " + N(track) + "H" +
                  N(right - kArc) + Bend(right, track - kArc, false) + "M" + N(right - kArc) + " " + N(track) +
                  Bend(right, track + kArc, true);
        rails_ += "M" + N(middle + 4) + " " + N(back - 4) + "L" + N(middle) + " " + N(back) + "L" + N(middle + 4) +
                  " " + N(back + 4);
        break;
      }
    }
    if (node.Mark != nullptr) Badge(node);
    for (const RailNode& item : node.Items) Node(item);
  }

  void Ends(const RailDiagram& d) {
    const int y = d.Root.Y;
    const int left = kMargin, right = d.Width - kMargin;
    rails_ += "M" + N(left) + " " + N(y - kEndHalf) + "V" + N(y + kEndHalf) + "M" + N(left) + " " + N(y) + "H" +
              N(d.Root.X) + "M" + N(d.Root.X + d.Root.Width) + " " + N(y) + "H" + N(right) + "M" + N(right) + " " +
              N(y - kEndHalf) + "V" + N(y + kEndHalf);
  }

  [[nodiscard]] std::string Rails() const { return rails_; }
  [[nodiscard]] const std::string& Shapes() const { return shapes_; }

 private:
  void Line(int from, int to, int y) {
    if (to > from) rails_ += "M" + N(from) + " " + N(y) + "H" + N(to);
  }

  // A quarter circle to (x, y): clockwise on the screen, or not.
  static std::string Bend(int x, int y, bool clockwise) {
    return "A" + N(kArc) + " " + N(kArc) + " 0 0 " + (clockwise ? "1 " : "0 ") + N(x) + " " + N(y);
  }

  void Box(const RailNode& node) {
    const bool linked = node.Kind == RailKind::Terminal || node.Kind == RailKind::Nonterminal;
    const char* cls = node.Kind == RailKind::Terminal ? "t" : node.Kind == RailKind::Nonterminal ? "n" : "a";
    if (linked) shapes_ += "<a href=\"#" + std::string(cls) + N(node.Code) + "\">";
    shapes_ += "<rect class=\"" + std::string(cls) + "\" x=\"" + N(node.X) + "\" y=\"" + N(node.Y - kHalfBox) +
               "\" width=\"" + N(node.Width) + "\" height=\"" + N(2 * kHalfBox) + "\" rx=\"" +
               N(node.Kind == RailKind::Terminal ? kHalfBox : 3) + "\"/>";
    const std::size_t chars = Characters(node.Name);
    shapes_ += "<text x=\"" + N(node.X + node.Width / 2) + "\" y=\"" + N(node.Y + 4) + "\"";
    if (chars > 0) shapes_ += " textLength=\"" + N(static_cast<int>(chars) * kCharWidth) + "\"";
    shapes_ += ">" + Escaped(node.Name) + "</text>";
    if (linked) shapes_ += "</a>";
  }

  void Badge(const RailNode& node) {
    const RailMark& mark = *node.Mark;
    const int cx = node.X + kArc, cy = node.Y - kHalfBox;
    shapes_ += "<a href=\"" + Escaped(mark.Href) + "\" class=\"badge" + (mark.Warn ? " warn" : "") + "\"><title>" +
               Escaped(mark.Title) + "</title><circle cx=\"" + N(cx) + "\" cy=\"" + N(cy) + "\" r=\"8\"/><text x=\"" +
               N(cx) + "\" y=\"" + N(cy + 4) + "\">" + Escaped(mark.Badge) + "</text></a>";
  }

  std::string rails_;
  std::string shapes_;
};

}  // namespace

RailDiagram MakeRailDiagram(const Grammar& grammar, std::int32_t n, const RailMarks& marks) {
  RailDiagram d;
  d.Nonterminal = n;
  d.Name = grammar.NontName(n);
  const Language& lang = grammar.Lang();
  if (lang.NontTab.Exists() && lang.EdgeTab.Exists() && n >= 1 && n <= lang.LastNonterminal)
    d.Root = Builder(grammar, marks).Nonterminal(n);
  else
    d.Root.Kind = RailKind::Sequence;
  Measure(d.Root);
  const int up = std::max(d.Root.Up, kEndHalf), down = std::max(d.Root.Down, kEndHalf);
  Place(d.Root, kMargin + kEndMark, kMargin + up);
  d.Width = 2 * (kMargin + kEndMark) + d.Root.Width;
  d.Height = 2 * kMargin + up + down;
  return d;
}

std::string RailDump(const RailDiagram& diagram) {
  std::string out = "diagram " + diagram.Name + " " + N(diagram.Width) + "x" + N(diagram.Height) + "\n";
  Dump(diagram.Root, 1, out);
  return out;
}

std::string RailSvg(const RailDiagram& diagram) {
  SvgWriter writer;
  writer.Ends(diagram);
  writer.Node(diagram.Root);
  return "<svg class=\"rr\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" + N(diagram.Width) + "\" height=\"" +
         N(diagram.Height) + "\" viewBox=\"0 0 " + N(diagram.Width) + " " + N(diagram.Height) +
         "\" role=\"img\" aria-label=\"" + Escaped(diagram.Name) + "\"><path class=\"rail\" d=\"" + writer.Rails() +
         "\"/>" + writer.Shapes() + "</svg>";
}

}  // namespace parvolen::inspect
