#include "inspect/inspection.h"

#include "base/console.h"
#include "reader/reader.h"

namespace parvolen::inspect {

Inspection::Inspection(const std::string& file, bool embedded) : file_(file), embedded_(embedded) {
  progress_.Trace = &trace_;
  // What the reading prints is kept apart from the report, which quotes it.
  ConsoleSink sink(console_);
  const ConsoleRedirect redirect(Channel::Messages, sink);
  ReadOptions options;
  options.EmbeddedKeys = embedded_;
  status_ = ReadDescription(pool_, file_, std::string(), handle_, &progress_, options);
}

Inspection::~Inspection() {
  if (pool_.Record(handle_) != nullptr) (void)pool_.Release(handle_);
}

Report Inspection::MakeReport() {
  Report report = BuildReport({file_, status_, console_, Lang(), &progress_, &trace_});
  if (!embedded_ || Lang() == nullptr || status_ != stOk) return report;
  // The classic parser's choice points and losses do not apply: the embeddable translator
  // decides on complete lookahead sets.
  report.Choices.clear();
  report.Warnings.clear();
  for (NonterminalReport& n : report.Nonterminals) n.Views.clear();
  report.Embedded = BuildEmbeddedReport(*Lang(), &progress_, file_);
  report.Code = report.Embedded->Code;
  return report;
}

}  // namespace parvolen::inspect
