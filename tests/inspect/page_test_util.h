// In-memory stand-ins for the pages' list, label and report file.
#pragma once

#include <string>
#include <vector>

#include "inspect/page_views.h"

namespace morvanta::inspect {

class MemoryCheckList : public CheckList {
 public:
  struct Row {
    std::string caption;
    std::vector<std::string> subItems;
    bool checked = false;
  };
  void Clear() override { rows.clear(); }
  void AddRow(const std::string& caption, const std::vector<std::string>& subItems) override {
    rows.push_back({caption, subItems, false});
  }
  int RowCount() const override { return static_cast<int>(rows.size()); }
  std::string Caption(int row) const override { return rows.at(row).caption; }
  std::string SubItem(int row, int index) const override {
    const auto& s = rows.at(row).subItems;
    return index >= 0 && index < static_cast<int>(s.size()) ? s[index] : std::string();
  }
  bool IsChecked(int row) const override { return rows.at(row).checked; }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.caption);
    return out;
  }
  std::vector<Row> rows;
};

class MemoryText : public TextSink {
 public:
  void SetText(const std::string& t) override {
    text = t;
    history.push_back(t);
  }
  std::string text;
  std::vector<std::string> history;
};

class MemoryReport : public ReportSink {
 public:
  bool Writing() const override { return writing; }
  void WriteLine(const std::string& line) override { lines.push_back(line); }
  bool writing = false;
  std::vector<std::string> lines;
};

}  // namespace morvanta::inspect
