// What the inspection pages need from their windows: a list of rows with check boxes, a
// line of text, and the full report file while one is being written.
#pragma once

#include <string>
#include <vector>

namespace morvanta::inspect {

// A list of rows: a caption, sub-items, a check box.
class CheckList {
 public:
  virtual ~CheckList() = default;
  virtual void Clear() = 0;
  virtual void AddRow(const std::string& caption, const std::vector<std::string>& subItems) = 0;
  virtual int RowCount() const = 0;
  virtual std::string Caption(int row) const = 0;
  // Empty for a sub-item the row does not have.
  virtual std::string SubItem(int row, int index) const = 0;
  virtual bool IsChecked(int row) const = 0;
};

class TextSink {
 public:
  virtual ~TextSink() = default;
  virtual void SetText(const std::string& text) = 0;
};

// The full report file. Idle, unless a report is being written.
class ReportSink {
 public:
  virtual ~ReportSink() = default;
  virtual bool Writing() const = 0;
  virtual void WriteLine(const std::string& line) = 0;
};

// The sink of a program run in which no report is being written.
class NoReport : public ReportSink {
 public:
  bool Writing() const override { return false; }
  void WriteLine(const std::string&) override {}
};

}  // namespace morvanta::inspect
