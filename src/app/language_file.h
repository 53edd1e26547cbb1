// Language files: scrambled text that replaces the windows' captions and the catalogue's
// texts line by line, and the plain-text template translators start from ("Default.txt").
//
// After unscrambling, a language file is CR LF text read with the database's line rules.
// Lines before "begin():" are a free header. Then comes the control section: for each
// window of LanguageFileWindows(), for each of its components in order, a caption line when
// the component's current caption is not empty and a hint line when it shows hints (never
// for a component whose hint is "-1"). Then 179 lines for the catalogue entries in
// MessageCatalog::LanguageFileOrder().
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/window_components.h"
#include "common/message_catalog.h"
#include "platform/files.h"

namespace morvanta::app {

inline constexpr char kLanguageMarker[] = "begin():";
inline constexpr char kLanguageFolder[] = "Languages";
inline constexpr char kLanguageExtension[] = ".vlng";
inline constexpr char kTemplateFileName[] = "Default.txt";

// The texts of the windows' components as the language file sees them. The windows supply
// their live controls; ComponentTextTable keeps them in memory.
class ComponentTexts {
 public:
  virtual ~ComponentTexts() = default;
  virtual std::string Caption(WindowId window, const Component& component) const = 0;
  virtual void SetCaption(WindowId window, const Component& component, const std::string& text) = 0;
  // No window of the program shows hints, so by default none does.
  virtual bool ShowsHint(WindowId, const Component&) const { return false; }
  virtual std::string Hint(WindowId, const Component&) const { return ""; }
  virtual void SetHint(WindowId, const Component&, const std::string&) {}
};

// Component texts in memory, starting from the design captions: for the tests and the
// tools, and for the components of windows that do not show them on controls yet.
class ComponentTextTable : public ComponentTexts {
 public:
  std::string Caption(WindowId window, const Component& component) const override;
  void SetCaption(WindowId window, const Component& component, const std::string& text) override;
  bool ShowsHint(WindowId window, const Component& component) const override;
  std::string Hint(WindowId window, const Component& component) const override;
  void SetHint(WindowId window, const Component& component, const std::string& text) override;

  // Lets a component show hints (design state: it does not).
  void SetShowsHint(WindowId window, const std::string& name, bool shows);

 private:
  struct Texts {
    std::string caption;
    std::string hint;
    bool showsHint = false;
  };
  using Key = std::pair<WindowId, std::string>;
  const Texts* Find(WindowId window, const Component& component) const;
  Texts& Entry(WindowId window, const Component& component);
  std::map<Key, Texts> changed_;
};

enum class ApplyResult {
  Applied,
  CannotRead,  // the file could not be opened or read; nothing changed
  NoMarker,    // no "begin():" line before the end of the data; nothing changed
};

// Applies unscrambled language text: every caption, hint and catalogue entry its position
// names. A text without a "begin():" line is refused as a whole. After the marker, lines
// beyond the end of the data read as "_end", as does the data's last line.
ApplyResult ApplyLanguageText(const std::vector<uint8_t>& text, ComponentTexts& components,
                              common::MessageCatalog& catalog);
// Loads a language file, unscrambles it and applies it.
ApplyResult ApplyLanguageFile(platform::Files& files, const std::string& path,
                              ComponentTexts& components, common::MessageCatalog& catalog);

// The template from the current texts: the marker, the control section, the 179 catalogue
// lines, each ended by CR LF.
std::string LanguageTemplate(const ComponentTexts& components,
                             const common::MessageCatalog& catalog);
// Writes the template to `path`, replacing an older file; false when it cannot be written.
bool WriteLanguageTemplate(platform::Files& files, const std::string& path,
                           const ComponentTexts& components, const common::MessageCatalog& catalog);

// A template (or any plain language text) made into a language file, and back.
std::vector<uint8_t> PackLanguage(const std::vector<uint8_t>& plain);
std::vector<uint8_t> UnpackLanguage(const std::vector<uint8_t>& packed);

// The number of control section lines the current texts give.
size_t ControlLineCount(const ComponentTexts& components);

// What a plain language text holds, for the tools: whether it has the marker, and how many
// lines after it read as texts (the data's last line reads as the end and is not counted).
struct LanguageTextShape {
  bool hasMarker = false;
  size_t texts = 0;
};
LanguageTextShape InspectLanguageText(const std::vector<uint8_t>& text);
// The texts a complete file supplies with the windows' design captions.
size_t ExpectedLanguageTexts();

}  // namespace morvanta::app
