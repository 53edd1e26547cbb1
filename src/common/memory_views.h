// In-memory versions of the window-facing interfaces: for the tests, and for the console
// programs, which print what they collect.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/views.h"

namespace morvanta::common {

class MemoryCheckList : public CheckList {
 public:
  struct Row {
    RowId id = 0;
    std::string caption;
    std::vector<std::string> subItems;
    bool checked = false;
    bool enabled = true;
  };

  void Clear() override { rows.clear(); }
  int AddRow(RowId id, const std::string& caption, const std::vector<std::string>& subItems,
             bool checked) override;
  int RowCount() const override { return static_cast<int>(rows.size()); }
  RowId IdAt(int row) const override { return rows.at(static_cast<size_t>(row)).id; }
  bool IsChecked(int row) const override { return rows.at(static_cast<size_t>(row)).checked; }
  void SetChecked(int row, bool checked) override;
  std::string Caption(int row) const override { return rows.at(static_cast<size_t>(row)).caption; }
  void SetCaption(int row, const std::string& caption) override;
  void SetEnabled(int row, bool enabled) override;
  void DeleteRow(int row) override;

  std::vector<std::string> Captions() const;
  // Sub-item `index` of a row; empty when the row has none there.
  std::string SubItem(int row, size_t index) const;

  std::vector<Row> rows;
};

class MemoryLog : public LogLines {
 public:
  void AddLine(const std::string& line) override { lines.push_back(line); }
  void Clear() override { lines.clear(); }
  std::vector<std::string> lines;
};

class MemoryText : public TextLine {
 public:
  void SetText(const std::string& t) override {
    text = t;
    history.push_back(t);
  }
  std::string text;
  std::vector<std::string> history;
};

// Answers questions from a queue, then with a default; records every prompt.
class ScriptedPrompts : public Prompts {
 public:
  explicit ScriptedPrompts(bool defaultAnswer = true) : defaultAnswer_(defaultAnswer) {}

  bool Ask(const Prompt& question) override;
  void Tell(const Prompt& notice) override { shown.push_back(notice); }

  // The next questions' answers, in order.
  void Answer(std::initializer_list<bool> answers) {
    answers_.insert(answers_.end(), answers.begin(), answers.end());
  }
  void SetDefaultAnswer(bool answer) { defaultAnswer_ = answer; }
  // Questions and notices in the order they came.
  std::vector<Prompt> shown;
  std::vector<std::string> Texts() const;
  size_t CountOf(Msg entry) const;

 private:
  std::deque<bool> answers_;
  bool defaultAnswer_;
};

// Counts the calls; an optional action runs at each (a test presses "Abort" through it).
class CountingPump : public MessagePump {
 public:
  void ProcessPendingMessages() override {
    ++calls;
    if (onPump) onPump(calls);
  }
  size_t calls = 0;
  std::function<void(size_t call)> onPump;
};

class MemoryProgress : public Progress {
 public:
  void SetProgress(uint64_t done, uint64_t total) override { steps.push_back({done, total}); }
  std::vector<std::pair<uint64_t, uint64_t>> steps;
};

class MemoryReport : public ReportSink {
 public:
  bool Writing() const override { return writing; }
  void WriteLine(const std::string& line) override { lines.push_back(line); }
  bool writing = false;
  std::vector<std::string> lines;
};

}  // namespace morvanta::common
