#include <algorithm>

#include "contract_test.h"
#include "platform/text.h"

namespace morvanta::testing {
namespace {

using platform::RegAccess;
using platform::RegistryObject;
using platform::RegRoot;
using platform::RegType;
using platform::RegValue;

MORVANTA_CONTRACT_SUITE(RegistryContract);

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

TEST_P(RegistryContract, TypedValuesReadBackAsWritten) {
  auto key = P().registry.CreateKey(RegRoot::CurrentUser, M().ScratchKey());
  ASSERT_TRUE(key);
  struct Case {
    const char* name;
    RegValue value;
  } cases[] = {
      {"text", RegValue::FromString("c:\\windows\\x.exe /s")},
      {"expand", RegValue::FromString("%SystemRoot%\\y.dll", RegType::ExpandString)},
      {"empty", RegValue::FromString("")},
      {"number", RegValue::FromDword(0xDEADBEEF)},
      {"multi", RegValue::FromMultiString({"kbdclass", "evilfilt"})},
      {"bytes", RegValue::FromBinary({1, 0, 2, 0xFF})},
  };
  for (const auto& c : cases) ASSERT_TRUE(key->WriteValue(c.name, c.value)) << c.name;
  for (const auto& c : cases) {
    auto read = key->ReadValue(c.name);
    ASSERT_TRUE(read) << c.name;
    EXPECT_EQ(read->type, c.value.type) << c.name;
    EXPECT_EQ(read->data, c.value.data) << c.name;
  }
  EXPECT_EQ(key->ReadValue("expand")->AsText(), "%SystemRoot%\\y.dll");
  EXPECT_EQ(key->ReadValue("number")->AsDword(), 0xDEADBEEFu);
  EXPECT_FALSE(key->ReadValue("missing"));
}

TEST_P(RegistryContract, KeyAndValueNamesIgnoreLetterCase) {
  ASSERT_TRUE(P().registry.CreateKey(RegRoot::CurrentUser, M().ScratchKey() + "\\Run"));
  auto key = P().registry.OpenKey(RegRoot::CurrentUser, platform::AsciiUpper(M().ScratchKey()) + "\\rUN");
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->WriteValue("Agent", RegValue::FromString("one")));
  ASSERT_TRUE(key->WriteValue("AGENT", RegValue::FromString("two")));
  EXPECT_EQ(key->ListValueNames(), std::vector<std::string>{"Agent"});
  EXPECT_EQ(key->ReadValue("agent")->AsText(), "two");
  EXPECT_TRUE(key->DeleteValue("aGeNt"));
  EXPECT_FALSE(key->DeleteValue("agent"));
  EXPECT_TRUE(key->ListValueNames().empty());
}

TEST_P(RegistryContract, ListsValuesAndSubkeys) {
  auto key = P().registry.CreateKey(RegRoot::CurrentUser, M().ScratchKey());
  ASSERT_TRUE(key);
  for (const char* name : {"zeta", "alpha", "Mid"})
    ASSERT_TRUE(key->WriteValue(name, RegValue::FromDword(1)));
  for (const char* sub : {"Zulu", "alpha", "Bravo"})
    ASSERT_TRUE(P().registry.CreateKey(RegRoot::CurrentUser, M().ScratchKey() + "\\" + sub));
  // Windows lists values in the order they were written, Wine sorted; both list all.
  auto values = key->ListValueNames();
  EXPECT_EQ(values.size(), 3u);
  for (const char* name : {"zeta", "alpha", "Mid"}) EXPECT_TRUE(Contains(values, name)) << name;
  // Subkeys come sorted without regard to case, with their own letter case.
  EXPECT_EQ(key->ListSubKeys(), (std::vector<std::string>{"alpha", "Bravo", "Zulu"}));
}

TEST_P(RegistryContract, OpenDoesNotCreateAndCreateMakesParents) {
  const std::string deep = M().ScratchKey() + "\\a\\b\\c";
  EXPECT_FALSE(P().registry.OpenKey(RegRoot::CurrentUser, deep));
  EXPECT_TRUE(P().registry.CreateKey(RegRoot::CurrentUser, deep));
  EXPECT_TRUE(P().registry.OpenKey(RegRoot::CurrentUser, deep));
  EXPECT_TRUE(P().registry.OpenKey(RegRoot::CurrentUser, M().ScratchKey() + "\\a"));
  EXPECT_TRUE(P().registry.OpenKey(RegRoot::LocalMachine, ""));  // the root itself
}

TEST_P(RegistryContract, DeleteKeyTreeRemovesEverythingBelow) {
  auto child = P().registry.CreateKey(RegRoot::CurrentUser, M().ScratchKey() + "\\x\\y");
  ASSERT_TRUE(child);
  ASSERT_TRUE(child->WriteValue("v", RegValue::FromString("data")));
  EXPECT_TRUE(P().registry.DeleteKeyTree(RegRoot::CurrentUser, M().ScratchKey() + "\\x"));
  EXPECT_FALSE(P().registry.OpenKey(RegRoot::CurrentUser, M().ScratchKey() + "\\x\\y"));
  EXPECT_FALSE(P().registry.OpenKey(RegRoot::CurrentUser, M().ScratchKey() + "\\x"));
  EXPECT_FALSE(P().registry.DeleteKeyTree(RegRoot::CurrentUser, M().ScratchKey() + "\\x"));
  EXPECT_FALSE(P().registry.DeleteKeyTree(RegRoot::CurrentUser, ""));
}

TEST_P(RegistryContract, KeyOpenedForReadingRefusesChanges) {
  auto key = P().registry.CreateKey(RegRoot::CurrentUser, M().ScratchKey());
  ASSERT_TRUE(key->WriteValue("keep", RegValue::FromString("1")));
  auto reader = P().registry.OpenKey(RegRoot::CurrentUser, M().ScratchKey(), RegAccess::Read);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->ReadValue("keep")->AsText(), "1");
  EXPECT_FALSE(reader->WriteValue("new", RegValue::FromString("2")));
  EXPECT_FALSE(reader->DeleteValue("keep"));
  EXPECT_TRUE(key->ReadValue("keep"));
}

TEST_P(RegistryContract, KeyOpenedForWritingCannotBeRead) {
  auto key = P().registry.CreateKey(RegRoot::CurrentUser, M().ScratchKey());
  ASSERT_TRUE(key->WriteValue("keep", RegValue::FromString("1")));
  auto writer = P().registry.OpenKey(RegRoot::CurrentUser, M().ScratchKey(), RegAccess::Write);
  ASSERT_TRUE(writer);
  EXPECT_FALSE(writer->ReadValue("keep"));
  EXPECT_TRUE(writer->ListValueNames().empty());
  EXPECT_TRUE(writer->WriteValue("new", RegValue::FromString("2")));
  EXPECT_EQ(key->ReadValue("new")->AsText(), "2");
}

TEST_P(RegistryContract, RegistryObjectStartsOnCurrentUserAndReadsByType) {
  RegistryObject reg(P().registry);
  EXPECT_EQ(reg.RootKey(), RegRoot::CurrentUser);
  EXPECT_FALSE(reg.OpenKey(M().ScratchKey() + "\\Options", false));
  ASSERT_TRUE(reg.OpenKey(M().ScratchKey() + "\\Options", true));
  ASSERT_TRUE(reg.WriteInteger("0", 0));
  ASSERT_TRUE(reg.WriteString("Language", "Deutsch.vlng"));
  reg.CloseKey();
  EXPECT_FALSE(reg.ReadInteger("0"));  // no open key
  ASSERT_TRUE(reg.OpenKey(M().ScratchKey() + "\\Options", false));
  EXPECT_EQ(reg.ReadInteger("0"), 0u);
  EXPECT_FALSE(reg.ReadString("0"));  // a DWORD is not text
  EXPECT_EQ(reg.ReadString("Language"), "Deutsch.vlng");
  EXPECT_FALSE(reg.ReadInteger("Language"));
  EXPECT_EQ(reg.GetDataType("0"), RegType::Dword);
  EXPECT_TRUE(reg.ValueExists("language"));
  EXPECT_TRUE(reg.DeleteValue("Language"));
  EXPECT_FALSE(reg.ValueExists("Language"));
  reg.SetRootKey(RegRoot::LocalMachine);
  EXPECT_FALSE(reg.OpenKey(M().ScratchKey() + "\\Options", false));
}

}  // namespace
}  // namespace morvanta::testing
