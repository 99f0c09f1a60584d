// The settings block: any bytes load (a short image over the defaults), a
// save is always the whole 10736-byte image, and loading what was saved
// gives the same block again (load, save, load is stable). A block built
// from any texts saves and loads back with every text cut to its field.
// The registry copy: values of any type and length load into a block whose
// texts fit their fields.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/path_text.h"
#include "fake/fake_system.h"
#include "fuzz_check.h"
#include "store/registry_store.h"
#include "store/settings.h"
#include "store/stored_text.h"

namespace {

using vantor::IsAscii;
using vantor::fuzz::Printable;
namespace store = vantor::store;

std::string Describe(const store::SettingsBlock& block) {
  std::string text = block.can_create_path ? "create on;" : "create off;";
  for (const std::string& entry : block.history) text += " h[" + Printable(entry) + "]";
  for (const store::Alias& alias : block.aliases)
    text += " a[" + Printable(alias.name) + "=" + Printable(alias.dir) + "]";
  return text;
}

bool SameContent(const store::SettingsBlock& a, const store::SettingsBlock& b) {
  if (a.history != b.history || a.can_create_path != b.can_create_path) return false;
  for (int k = 0; k < store::kAliasCount; ++k)
    if (a.aliases[k].name != b.aliases[k].name || a.aliases[k].dir != b.aliases[k].dir)
      return false;
  return true;
}

// Every text in memory is one its field keeps whole.
void CheckFits(const store::SettingsBlock& block) {
  for (const std::string& entry : block.history)
    FUZZ_CHECK(store::FitField(entry, store::kPathField) == entry, Describe(block));
  for (const store::Alias& alias : block.aliases)
    FUZZ_CHECK(store::FitField(alias.name, store::kAliasNameField) == alias.name &&
                   store::FitField(alias.dir, store::kPathField) == alias.dir,
               Describe(block));
}

// Bytes as they come from a settings file of any length and content.
void CheckImage(const std::string& bytes) {
  store::SettingsBlock loaded = store::DecodeSettings(bytes);
  CheckFits(loaded);
  std::string saved = store::EncodeSettings(loaded);
  FUZZ_CHECK(saved.size() == store::kSettingsFileSize, std::to_string(saved.size()));
  store::SettingsBlock reloaded = store::DecodeSettings(saved);
  FUZZ_CHECK(SameContent(loaded, reloaded),
             "loaded " + Describe(loaded) + "\n  reloaded " + Describe(reloaded));
  FUZZ_CHECK(store::EncodeSettings(reloaded) == saved, "a second save differs");
  // The reserved words and padding go back as they were read.
  if (bytes.size() >= store::kSettingsFileSize)
    FUZZ_CHECK(saved.compare(10716, 4, bytes, 10716, 4) == 0 &&
                   saved.compare(10721, 15, bytes, 10721, 15) == 0,
               "reserved bytes changed");
}

// A text as a field keeps it: ASCII cut to the field; any other text (in
// the OEM code page's bytes, or after the marker in UTF-8) a leading part of
// it, its characters whole.
bool KeptAsStored(const std::string& loaded, const std::string& text, std::size_t field) {
  if (IsAscii(text) && (text.empty() || text[0] != store::kUnicodeMarker))
    return loaded == text.substr(0, field);
  return text.compare(0, loaded.size(), loaded) == 0;
}

// A block whose texts are whatever the input says, even far too long.
void CheckBlock(FuzzedDataProvider& input) {
  store::SettingsBlock block = store::DefaultSettings();
  for (std::string& entry : block.history) entry = input.ConsumeRandomLengthString(400);
  for (store::Alias& alias : block.aliases) {
    alias.name = input.ConsumeRandomLengthString(30);
    alias.dir = input.ConsumeRandomLengthString(400);
  }
  block.can_create_path = input.ConsumeBool();
  std::string saved = store::EncodeSettings(block);
  FUZZ_CHECK(saved.size() == store::kSettingsFileSize, std::to_string(saved.size()));
  store::SettingsBlock loaded = store::DecodeSettings(saved);
  for (int i = 0; i < store::kHistorySize; ++i)
    FUZZ_CHECK(KeptAsStored(loaded.history[i], block.history[i], store::kPathField),
               "history " + std::to_string(i) + ": " + Printable(loaded.history[i]));
  for (int k = 0; k < store::kAliasCount; ++k)
    FUZZ_CHECK(
        KeptAsStored(loaded.aliases[k].name, block.aliases[k].name, store::kAliasNameField) &&
            KeptAsStored(loaded.aliases[k].dir, block.aliases[k].dir, store::kPathField),
        "alias " + std::to_string(k));
  FUZZ_CHECK(loaded.can_create_path == block.can_create_path, "creation switch");
}

const std::uint32_t kTypes[] = {
    vantor::sys::kRegSz, vantor::sys::kRegExpandSz, vantor::sys::kRegDword, 0, 3, 7, 11};

std::string ValueName(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return "canCreatePath";
    case 1:
      return "history_" + std::to_string(input.ConsumeIntegralInRange(0, 22));
    case 2:
      return "aliasname_" + std::to_string(input.ConsumeIntegralInRange(0, 21));
    default:
      return "aliasdir_" + std::to_string(input.ConsumeIntegralInRange(0, 21));
  }
}

// Registry values of any type and length, some refused, then a load and a
// save: the texts fit their fields and nothing faults.
void CheckRegistry(FuzzedDataProvider& input) {
  vantor::fake::ResetFake();
  auto& fake = vantor::fake::Fake();
  fake.registry_key_opens = input.ConsumeIntegralInRange(0, 15) != 0;
  int values = input.ConsumeIntegralInRange(0, 60);
  for (int v = 0; v < values && input.remaining_bytes() > 0; ++v) {
    std::string name = ValueName(input);
    if (input.ConsumeIntegralInRange(0, 15) == 0) {
      fake.refused_reads.insert(name);
      continue;
    }
    vantor::fake::RegistryValue value;
    value.type = input.PickValueInArray(kTypes);
    value.data = input.ConsumeRandomLengthString(input.ConsumeBool() ? 12 : 2000);
    fake.registry[name] = value;
  }
  store::SettingsBlock block = store::DefaultSettings();
  store::LoadFromRegistry(block);
  CheckFits(block);
  store::SaveToRegistry(block);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 3) {
    case 0:
      CheckImage(bytes);
      break;
    case 1: {
      FuzzedDataProvider input(data + 1, size - 1);
      CheckBlock(input);
      break;
    }
    default: {
      FuzzedDataProvider input(data + 1, size - 1);
      CheckRegistry(input);
      break;
    }
  }
  return 0;
}
