#pragma once
// The registry as a plain map, read through the raw view, and what `regedit /s` does with a
// script: for judging a backup by importing it into the registry as it is after an apply.
#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "backup/registry_script.h"
#include "platform/raw_registry.h"

namespace kelpo::testing {

class RegistryModel {
 public:
  // Every key of the roots, by its full path ("HKEY_CURRENT_USER\SOFTWARE\X", in upper case, as
  // the registry compares names), with its values by name (also in upper case).
  std::map<std::wstring, std::map<std::wstring, RawData>> keys;

  static RegistryModel Snapshot(RawRegistry& raw, std::initializer_list<HKey> roots = {reg::kCurrentUser}) {
    RegistryModel model;
    for (const HKey root : roots) model.Read(raw, {root, L""});
    return model;
  }

  // What regedit does with the script: "[-key]" removes the key and all below it; "[key]"
  // creates it and the keys above it, then writes and removes its values. A string type's data
  // that does not end in a zero character gets one (regedit adds it).
  void Import(const RegistryScript& script) {
    for (const ScriptKey& section : script.keys) {
      const std::optional<KeyLocation> key = LocateKey(section.path);
      ASSERT_TRUE(key.has_value()) << "a key of no root in a script";
      const std::wstring path = Upper(ScriptPathOf(*key));
      if (section.remove) {
        keys.erase(path);
        for (auto it = keys.lower_bound(path + L"\\"); it != keys.end() && it->first.rfind(path + L"\\", 0) == 0;)
          it = keys.erase(it);
        continue;
      }
      for (std::size_t end = path.find(L'\\'); end != std::wstring::npos; end = path.find(L'\\', end + 1))
        keys[path.substr(0, end)];
      auto& values = keys[path];
      for (const ScriptValue& value : section.values) {
        if (value.remove)
          values.erase(Upper(value.name));
        else if (value.data)
          values[Upper(value.name)] = AsRegeditStoresIt(*value.data);
      }
    }
  }

  // The registry as an import of a faithful backup leaves it: strings stored without their zero
  // come back with one, everything else as it was.
  RegistryModel AsRegeditPutsItBack() const {
    RegistryModel model = *this;
    for (auto& [path, values] : model.keys)
      for (auto& [name, data] : values) data = AsRegeditStoresIt(data);
    return model;
  }

  // Each key and value this model and `other` disagree on, a line each, for a readable failure.
  std::vector<std::wstring> DifferencesFrom(const RegistryModel& other) const {
    std::vector<std::wstring> differences;
    for (const auto& [path, values] : keys) {
      const auto found = other.keys.find(path);
      if (found == other.keys.end()) {
        differences.push_back(path + L": only here");
        continue;
      }
      for (const auto& [name, data] : values) {
        const auto value = found->second.find(name);
        if (value == found->second.end())
          differences.push_back(path + L" \"" + name + L"\": only here");
        else if (value->second != data)
          differences.push_back(path + L" \"" + name + L"\": differs");
      }
      for (const auto& [name, data] : found->second)
        if (values.count(name) == 0) differences.push_back(path + L" \"" + name + L"\": only there");
    }
    for (const auto& [path, values] : other.keys)
      if (keys.count(path) == 0) differences.push_back(path + L": only there");
    return differences;
  }

  // The keys at or below `path` (a full path in any case).
  std::map<std::wstring, std::map<std::wstring, RawData>> Below(const std::wstring& path) const {
    const std::wstring top = Upper(path);
    std::map<std::wstring, std::map<std::wstring, RawData>> below;
    for (const auto& [key, values] : keys)
      if (key == top || key.rfind(top + L"\\", 0) == 0) below.emplace(key, values);
    return below;
  }

 private:
  static std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text)
      if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return text;
  }

  static RawData AsRegeditStoresIt(RawData data) {
    const bool string_type = data.type == reg::kRegSz || data.type == reg::kRegExpandSz || data.type == reg::kRegMultiSz;
    const std::size_t size = data.bytes.size();
    if (string_type && size >= 2 && size % 2 == 0 && (data.bytes[size - 1] != '\0' || data.bytes[size - 2] != '\0'))
      data.bytes += std::string(2, '\0');
    return data;
  }

  void Read(RawRegistry& raw, const KeyLocation& key) {
    RawKey read;
    ASSERT_EQ(raw.ReadKey(key.root, key.path, &read), reg::kSuccess) << ScriptPathOf(key).size();
    auto& values = keys[Upper(ScriptPathOf(key))];
    for (const RawValue& value : read.values) values[Upper(value.name)] = value.data;
    for (const std::wstring& name : read.subkeys) Read(raw, {key.root, key.path.empty() ? name : key.path + L"\\" + name});
  }
};

}  // namespace kelpo::testing
