// One description read for explaining it: the program's own reader and analysis, with a
// progress record and an analysis trace attached, and what the reading printed kept apart.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/trace.h"
#include "base/status.h"
#include "inspect/report.h"
#include "model/language.h"
#include "findings/read_progress.h"

namespace parvolen::inspect {

class Inspection {
 public:
  // Reads the description; the record stays until the inspection ends. `embedded`: read it as
  // the embeddable translator (parvolen --prefix) does, with its own keys and sections.
  explicit Inspection(const std::string& file, bool embedded = false);
  ~Inspection();
  Inspection(const Inspection&) = delete;
  Inspection& operator=(const Inspection&) = delete;

  [[nodiscard]] Status Code() const { return status_; }
  // The record read, or nullptr when none was made (the file could not be opened).
  [[nodiscard]] const Language* Lang() { return pool_.Record(handle_); }
  [[nodiscard]] const ReadProgress& Progress() const { return progress_; }
  [[nodiscard]] const AnalysisTrace& Trace() const { return trace_; }
  // What the reading printed: warnings and diagnostics.
  [[nodiscard]] const std::string& Console() const { return console_; }
  // The whole explanation; for an embedded reading, of the embeddable translator's decisions.
  [[nodiscard]] Report MakeReport();

 private:
  std::string file_;
  bool embedded_;
  LanguagePool pool_;
  ReadProgress progress_;
  AnalysisTrace trace_;
  std::int32_t handle_ = 0;
  Status status_ = stOk;
  std::string console_;
};

}  // namespace parvolen::inspect
