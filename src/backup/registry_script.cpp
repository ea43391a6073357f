#include "backup/registry_script.h"

#include <algorithm>
#include <iterator>

#include "text/strings.h"

namespace kelpo {
namespace {

struct RootName {
  HKey root;
  const wchar_t* name;
  const wchar_t* short_name;
};

constexpr RootName kRoots[] = {
    {reg::kClassesRoot, L"HKEY_CLASSES_ROOT", L"HKCR"},   {reg::kCurrentUser, L"HKEY_CURRENT_USER", L"HKCU"},
    {reg::kLocalMachine, L"HKEY_LOCAL_MACHINE", L"HKLM"}, {reg::kUsers, L"HKEY_USERS", L"HKU"},
    {reg::kCurrentConfig, L"HKEY_CURRENT_CONFIG", L"HKCC"}, {reg::kDynData, L"HKEY_DYN_DATA", L"HKDD"},
};

// Root and key names compare as the registry compares them, without regard to ASCII case.
bool SameName(std::wstring_view a, std::wstring_view b) { return EqualsIgnoringAsciiCase(a, b); }

}  // namespace

std::vector<std::wstring> PathParts(std::wstring_view path) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find(L'\\', start), path.size());
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::optional<KeyLocation> LocateKey(std::wstring_view script_path) {
  const std::size_t separator = script_path.find(L'\\');
  const std::wstring_view root_name = script_path.substr(0, separator);
  const auto root = std::find_if(std::begin(kRoots), std::end(kRoots), [&](const RootName& known) {
    return SameName(root_name, known.name) || SameName(root_name, known.short_name);
  });
  if (root == std::end(kRoots)) return std::nullopt;
  KeyLocation key{root->root, L""};
  if (separator == std::wstring_view::npos) return key;
  for (const std::wstring& part : PathParts(script_path.substr(separator + 1)))
    key.path += (key.path.empty() ? L"" : L"\\") + part;
  return key;
}

std::wstring ScriptPathOf(const KeyLocation& key) {
  const auto root = std::find_if(std::begin(kRoots), std::end(kRoots),
                                 [&](const RootName& known) { return known.root == key.root; });
  std::wstring path = root == std::end(kRoots) ? L"?" : root->name;
  if (!key.path.empty()) path += L"\\" + key.path;
  return path;
}

bool IsWithin(const KeyLocation& inner, const KeyLocation& outer) {
  if (inner.root != outer.root) return false;
  if (outer.path.empty()) return true;
  if (inner.path.size() < outer.path.size()) return false;
  if (!SameName(std::wstring_view(inner.path).substr(0, outer.path.size()), outer.path)) return false;
  return inner.path.size() == outer.path.size() || inner.path[outer.path.size()] == L'\\';
}

}  // namespace kelpo
