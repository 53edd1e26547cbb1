// What the logic needs from a window, and nothing more: rows with check boxes, log lines, a
// line of status text, questions and notices, letting pending messages through, progress, and
// the full report file while one is being written. The windows implement these; the console
// programs and the tests use the in-memory versions of memory_views.h.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/messages.h"

namespace morvanta::common {

// What a row stands for, chosen by the logic that adds it (an index into its own list, say).
// Actions find their item through it, never through the row's text.
using RowId = uint64_t;

// A list of rows with a caption, sub-items and a check box.
class CheckList {
 public:
  virtual ~CheckList() = default;
  virtual void Clear() = 0;
  // Appends a row; its index.
  virtual int AddRow(RowId id, const std::string& caption,
                     const std::vector<std::string>& subItems = {}, bool checked = false) = 0;
  virtual int RowCount() const = 0;
  virtual RowId IdAt(int row) const = 0;
  virtual bool IsChecked(int row) const = 0;
  virtual void SetChecked(int row, bool checked) = 0;
  // The caption as shown: for marking a line with an outcome, never for finding its item.
  virtual std::string Caption(int row) const = 0;
  virtual void SetCaption(int row, const std::string& caption) = 0;
  // A disabled row (the result list's header line) cannot be ticked and is drawn grey.
  virtual void SetEnabled(int row, bool enabled) = 0;
  virtual void DeleteRow(int row) = 0;
};

// The progress lines of a run (the results page's log memo).
class LogLines {
 public:
  virtual ~LogLines() = default;
  virtual void AddLine(const std::string& line) = 0;
  virtual void Clear() = 0;
};

// One line of text: a status bar panel, a label.
class TextLine {
 public:
  virtual ~TextLine() = default;
  virtual void SetText(const std::string& text) = 0;
};

// What kind of box a question or notice is; the window that shows it picks the owner, the
// icon and the flags.
enum class PromptKind {
  Question,           // caption "Question", Yes/No, question icon, on top and brought forward
  PlainQuestion,      // caption "Question", Yes/No, question icon
  Irreversible,       // caption "This action can not be undone!", Yes/No, No as the default
  AlertQuestion,      // caption "Alert", Yes/No, information icon, on top and brought forward
  PlainAlertQuestion, // caption "Alert", Yes/No, information icon
  Information,        // caption "Information", information icon
  UrgentInformation,  // caption "Information", information icon, on top and brought forward
  Error,              // caption "Error", error icon
  UrgentError,        // caption "Error", error icon, on top and brought forward
  Warning,            // warning icon, with the caption the prompt names
  Plain,              // the application's title as caption, OK, no icon
};

struct Prompt {
  Prompt() = default;
  Prompt(PromptKind kind, Msg entry, std::string text, std::string caption = {})
      : kind(kind), entry(entry), text(std::move(text)), caption(std::move(caption)) {}

  PromptKind kind = PromptKind::Information;
  // The catalogue entry the text starts with: what scripted answers and tests look for.
  Msg entry = Msg::None;
  std::string text;
  // A fixed caption where the kind's own does not apply; empty for the kind's.
  std::string caption;
};

// Questions and notices, shown modally; a window shown during a run is disabled meanwhile.
class Prompts {
 public:
  virtual ~Prompts() = default;
  // True for Yes.
  virtual bool Ask(const Prompt& question) = 0;
  virtual void Tell(const Prompt& notice) = 0;
};

// Lets the window handle what is pending (a click on "Abort" among it) during a long run.
class MessagePump {
 public:
  virtual ~MessagePump() = default;
  virtual void ProcessPendingMessages() = 0;
};

// A pump for runs that have no window to keep alive.
class NoMessages : public MessagePump {
 public:
  void ProcessPendingMessages() override {}
};

// The one abort flag of a run: set by "Abort" (or by Ctrl+C on the console, from another
// thread), tested by every loop of a run.
class AbortFlag {
 public:
  void Set() { set_.store(true); }
  void Clear() { set_.store(false); }
  bool IsSet() const { return set_.load(); }

 private:
  std::atomic<bool> set_{false};
};

// How far a long transfer or walk has come; `total` is 0 when unknown.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void SetProgress(uint64_t done, uint64_t total) = 0;
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

}  // namespace morvanta::common
