#include "inspect/inspection.h"

#include "base/console.h"
#include "reader/reader.h"

namespace parvolen::inspect {

Inspection::Inspection(const std::string& file, const ReadOptions& options) : file_(file) {
  progress_.Trace = &trace_;
  // What the reading prints is kept apart from the report, which quotes it.
  ConsoleSink sink(console_);
  const ConsoleRedirect redirect(Channel::Messages, sink);
  status_ = ReadDescription(pool_, file_, std::string(), handle_, &progress_, options);
}

Inspection::~Inspection() {
  if (pool_.Record(handle_) != nullptr) (void)pool_.Release(handle_);
}

Report Inspection::MakeReport() { return BuildReport({file_, status_, console_, Lang(), &progress_, &trace_}); }

}  // namespace parvolen::inspect
