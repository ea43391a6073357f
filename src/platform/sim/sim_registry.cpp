#include "platform/sim/sim_registry.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/runtime_error.h"
#include "platform/sim/sim_faults.h"
#include "platform/sim/sim_text_codec.h"
#include "platform/unicode.h"

namespace kelpo {
namespace {

constexpr RegStatus kKeyDeleted = 1018;
constexpr RegStatus kBadPathname = 161;
constexpr std::uint32_t kWriteRights = reg::kKeySetValue | reg::kKeyCreateSubKey | 0x00010000 /*DELETE*/ |
                                       0x00040000 /*WRITE_DAC*/ | 0x00080000 /*WRITE_OWNER*/;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperCase(std::string text) {
  for (char& c : text) c = Upper(c);
  return text;
}

// Registry names order as their lower-case forms do ("_x" before "a").
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
    });
  }
};

bool IsStringType(std::uint32_t type) {
  return type == reg::kRegSz || type == reg::kRegExpandSz || type == reg::kRegMultiSz;
}

bool SameName(const std::string& a, const std::string& b) { return UpperCase(a) == UpperCase(b); }

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

bool PathMatches(const std::string& pattern, const std::string& path) {
  if (pattern.empty()) return true;
  if (pattern.back() == '*') {
    const std::string prefix = UpperCase(pattern.substr(0, pattern.size() - 1));
    return UpperCase(path).compare(0, prefix.size(), prefix) == 0;
  }
  return SameName(pattern, path);
}

// An ANSI read copies the data and, for a string not ending in a zero, puts a zero after it when
// the buffer has room: the size reported does not count it.
void CopyAsRead(std::uint32_t type, const std::string& bytes, std::uint8_t* data, std::uint32_t capacity) {
  std::memcpy(data, bytes.data(), bytes.size());
  if (IsStringType(type) && !bytes.empty() && bytes.back() != '\0' && capacity > bytes.size()) data[bytes.size()] = 0;
}

}  // namespace

const char* RegOpName(RegOp op) {
  switch (op) {
    case RegOp::kAny: return "Any";
    case RegOp::kOpenKey: return "OpenKey";
    case RegOp::kOpenKeyEx: return "OpenKeyEx";
    case RegOp::kCreateKey: return "CreateKey";
    case RegOp::kQueryValue: return "QueryValue";
    case RegOp::kSetValue: return "SetValue";
    case RegOp::kEnumKey: return "EnumKey";
    case RegOp::kEnumKeyEx: return "EnumKeyEx";
    case RegOp::kEnumValue: return "EnumValue";
    case RegOp::kDeleteKey: return "DeleteKey";
    case RegOp::kCloseKey: return "CloseKey";
    case RegOp::kDeleteValue: return "DeleteValue";
    case RegOp::kProbeKeyRaw: return "ProbeKeyRaw";
    case RegOp::kReadKeyRaw: return "ReadKeyRaw";
    case RegOp::kReadValueRaw: return "ReadValueRaw";
    case RegOp::kQueryInfoKey: return "QueryInfoKey";
  }
  return "?";
}

struct SimRegistry::Node {
  struct Value {
    std::string name;
    std::uint32_t type;
    std::string data;
  };
  using Subkeys = std::map<std::string, std::shared_ptr<Node>, NameLess>;

  std::string name;
  Node* parent = nullptr;
  Subkeys subkeys;
  std::vector<Value> values;
  std::unordered_map<std::string, std::size_t> value_index;  // upper-case name -> position
  bool read_only = false;
  bool deleted = false;
  // Enumeration by index walks the map; remembering the last position keeps a walk linear.
  mutable std::size_t cursor_index = 0;
  mutable Subkeys::const_iterator cursor;
  mutable bool cursor_valid = false;

  const Node* SubkeyAt(std::size_t index) const {
    if (index >= subkeys.size()) return nullptr;
    if (!cursor_valid || cursor_index > index) {
      cursor = subkeys.begin();
      cursor_index = 0;
      cursor_valid = true;
    }
    while (cursor_index < index) {
      ++cursor;
      ++cursor_index;
    }
    return cursor->second.get();
  }
  void Changed() { cursor_valid = false; }

  // Values by name, for registries that enumerate them sorted; rebuilt after a new value.
  mutable std::vector<std::size_t> sorted_values;
  mutable bool sorted_valid = false;

  const Value& ValueAt(std::size_t index, bool sorted) const {
    if (!sorted) return values[index];
    if (!sorted_valid) {
      sorted_values.resize(values.size());
      for (std::size_t i = 0; i < values.size(); ++i) sorted_values[i] = i;
      std::sort(sorted_values.begin(), sorted_values.end(),
                [this](std::size_t a, std::size_t b) { return NameLess{}(values[a].name, values[b].name); });
      sorted_valid = true;
    }
    return values[sorted_values[index]];
  }

  // Removes a value; false when there is none of that name.
  bool EraseValue(const std::string& value_name) {
    const auto found = value_index.find(UpperCase(value_name));
    if (found == value_index.end()) return false;
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(found->second));
    value_index.clear();
    for (std::size_t i = 0; i < values.size(); ++i) value_index[UpperCase(values[i].name)] = i;
    sorted_valid = false;
    return true;
  }

  Value* FindValue(const std::string& value_name) {
    auto found = value_index.find(UpperCase(value_name));
    return found == value_index.end() ? nullptr : &values[found->second];
  }
};


static const TextCodec& DefaultRawCodec() {
  static const Utf8Codec codec;
  return codec;
}

SimRegistry::SimRegistry(SimRegistryBehaviour behaviour, const TextCodec* codec)
    : behaviour_(behaviour), codec_(codec != nullptr ? codec : &DefaultRawCodec()) {
  const std::pair<HKey, const char*> roots[] = {
      {reg::kClassesRoot, "HKEY_CLASSES_ROOT"}, {reg::kCurrentUser, "HKEY_CURRENT_USER"},
      {reg::kLocalMachine, "HKEY_LOCAL_MACHINE"}, {reg::kUsers, "HKEY_USERS"},
      {reg::kPerformanceData, "HKEY_PERFORMANCE_DATA"}, {reg::kCurrentConfig, "HKEY_CURRENT_CONFIG"},
      {reg::kDynData, "HKEY_DYN_DATA"}};
  for (const auto& [handle, name] : roots) {
    auto node = std::make_shared<Node>();
    node->name = name;
    roots_[handle] = node;
  }
}

SimRegistry::~SimRegistry() = default;

std::shared_ptr<SimRegistry::Node> SimRegistry::NodeOf(HKey key) const {
  if (auto root = roots_.find(key); root != roots_.end()) return root->second;
  if (auto handle = handles_.find(key); handle != handles_.end()) return handle->second.node;
  return nullptr;
}

const SimRegistry::Handle* SimRegistry::HandleOf(HKey key) const {
  auto handle = handles_.find(key);
  return handle == handles_.end() ? nullptr : &handle->second;
}

std::string SimRegistry::PathOf(const Node& node) const {
  std::string path = node.name;
  for (const Node* up = node.parent; up != nullptr; up = up->parent) path = up->name + "\\" + path;
  return path;
}

std::string SimRegistry::PathBelow(HKey key, const std::string& subkey) const {
  auto node = NodeOf(key);
  std::string path = node ? PathOf(*node) : "?";
  for (const std::string& part : SplitPath(subkey)) path += "\\" + part;
  return path;
}

RegStatus SimRegistry::Check(RegOp op, const std::string& path) {
  for (RegFault& fault : faults_) {
    if (fault.op != RegOp::kAny && fault.op != op) continue;
    if (!PathMatches(fault.path, path)) continue;
    if (fault.skip > 0) {
      --fault.skip;
      continue;
    }
    if (fault.times == 0) continue;
    if (fault.times > 0) --fault.times;
    if (fault.throws) throw RuntimeError(fault.status);
    return fault.status;
  }
  return reg::kSuccess;
}

RegStatus SimRegistry::CheckOpenKey(RegOp op, const Node* node, const std::string& path) {
  const RegStatus status = Check(op, path);
  if (status != reg::kSuccess) return status;
  if (node == nullptr) return reg::kInvalidHandle;
  return node->deleted ? kKeyDeleted : reg::kSuccess;
}

RegStatus SimRegistry::Record(RegCall call) {
  const RegStatus status = call.status;
  call.number = NextSimCallNumber();
  if (!after_call_ || in_after_call_) {
    if (journaling_) journal_.push_back(std::move(call));
    return status;
  }
  if (journaling_) journal_.push_back(call);
  in_after_call_ = true;
  try {
    after_call_(call);
  } catch (...) {
    in_after_call_ = false;
    throw;
  }
  in_after_call_ = false;
  return status;
}

HKey SimRegistry::NewHandle(std::shared_ptr<Node> node, bool writable) {
  const HKey handle = next_handle_;
  next_handle_ += 4;
  handles_[handle] = Handle{std::move(node), writable};
  return handle;
}

RegStatus SimRegistry::Walk(HKey parent, const std::string& subkey, bool create,
                            std::shared_ptr<Node>* out, bool ansi_call) {
  std::shared_ptr<Node> node = NodeOf(parent);
  if (!node) return reg::kInvalidHandle;
  if (node->deleted) return kKeyDeleted;
  if (!subkey.empty() && subkey.front() == '\\') return kBadPathname;
  if (ansi_call && subkey.size() > reg::kMaxAnsiPath) return reg::kMoreData;
  for (const std::string& part : SplitPath(subkey)) {
    if (part.size() > behaviour_.max_key_name) return reg::kInvalidParameter;
    auto child = node->subkeys.find(part);
    if (child == node->subkeys.end()) {
      if (!create) return reg::kFileNotFound;
      if (node->read_only) return reg::kAccessDenied;
      auto made = std::make_shared<Node>();
      made->name = part;
      made->parent = node.get();
      child = node->subkeys.emplace(part, std::move(made)).first;
      node->Changed();
    }
    node = child->second;
  }
  *out = node;
  return reg::kSuccess;
}

RegStatus SimRegistry::Open(RegOp op, HKey parent, const std::string& subkey, bool want_write,
                            HKey* result) {
  const std::string path = PathBelow(parent, subkey);
  RegCall call{op, path, "", 0, "", Check(op, path)};
  if (call.status == reg::kSuccess) {
    std::shared_ptr<Node> node;
    call.status = Walk(parent, subkey, op == RegOp::kCreateKey, &node);
    if (call.status == reg::kSuccess && want_write && node->read_only) call.status = reg::kAccessDenied;
    if (call.status == reg::kSuccess) {
      // Opening "" with the plain call hands back the parent's own handle, as advapi32 does.
      if (op == RegOp::kOpenKey && SplitPath(subkey).empty())
        *result = parent;
      else
        *result = NewHandle(node, !node->read_only);
    }
  }
  return Record(std::move(call));
}

RegStatus SimRegistry::OpenKey(HKey parent, const std::string& subkey, HKey* result) {
  return Open(RegOp::kOpenKey, parent, subkey, false, result);
}

RegStatus SimRegistry::OpenKeyEx(HKey parent, const std::string& subkey, std::uint32_t access,
                                 HKey* result) {
  return Open(RegOp::kOpenKeyEx, parent, subkey, (access & kWriteRights) != 0, result);
}

RegStatus SimRegistry::CreateKey(HKey parent, const std::string& subkey, HKey* result) {
  return Open(RegOp::kCreateKey, parent, subkey, false, result);
}

RegStatus SimRegistry::QueryValue(HKey key, const std::string& name, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) {
  auto node = NodeOf(key);
  RegCall call{RegOp::kQueryValue, node ? PathOf(*node) : "?", name, 0, "", reg::kSuccess};
  call.status = CheckOpenKey(RegOp::kQueryValue, node.get(), call.path);
  if (call.status == reg::kSuccess) {
    const Node::Value* value = node->FindValue(name);
    if (value == nullptr) call.status = reg::kFileNotFound;
    else if (data != nullptr && size == nullptr) call.status = reg::kInvalidParameter;
    if (value != nullptr && call.status == reg::kSuccess) {
      const std::string& bytes = value->data;
      const auto needed = static_cast<std::uint32_t>(bytes.size());
      if (type) *type = value->type;
      if (data != nullptr && *size < needed) {
        call.status = reg::kMoreData;
      } else if (data != nullptr) {
        CopyAsRead(value->type, bytes, data, *size);
      }
      if (size) *size = needed;
    }
  }
  return Record(std::move(call));
}

RegStatus SimRegistry::SetValue(HKey key, const std::string& name, std::uint32_t type,
                                const std::uint8_t* data, std::uint32_t size) {
  auto node = NodeOf(key);
  const Handle* handle = HandleOf(key);
  std::string bytes(reinterpret_cast<const char*>(data), data ? size : 0);
  RegCall call{RegOp::kSetValue, node ? PathOf(*node) : "?", name, type, bytes, reg::kSuccess};
  call.status = CheckOpenKey(RegOp::kSetValue, node.get(), call.path);
  if (call.status == reg::kSuccess && ((handle && !handle->writable) || node->read_only)) call.status = reg::kAccessDenied;
  if (call.status == reg::kSuccess) {
    if (Node::Value* value = node->FindValue(name)) {
      value->type = type;
      value->data = bytes;
    } else {
      node->value_index[UpperCase(name)] = node->values.size();
      node->values.push_back({name, type, bytes});
      node->sorted_valid = false;
    }
  }
  return Record(std::move(call));
}

RegStatus SimRegistry::EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t capacity) {
  return EnumSubkey(RegOp::kEnumKey, key, index, name, &capacity);
}

RegStatus SimRegistry::EnumKeyEx(HKey key, std::uint32_t index, char* name,
                                 std::uint32_t* name_size) {
  return EnumSubkey(RegOp::kEnumKeyEx, key, index, name, name_size);
}

RegStatus SimRegistry::EnumSubkey(RegOp op, HKey key, std::uint32_t index, char* name,
                                  std::uint32_t* name_size) {
  auto node = NodeOf(key);
  RegCall call{op, node ? PathOf(*node) : "?", "", 0, "", reg::kSuccess};
  call.status = CheckOpenKey(op, node.get(), call.path);
  if (call.status == reg::kSuccess) {
    const Node* child = node->SubkeyAt(index);
    if (child == nullptr) call.status = reg::kNoMoreItems;
    else if (child->name.size() + 1 > *name_size) call.status = reg::kMoreData;
    if (call.status == reg::kSuccess) {
      std::memcpy(name, child->name.c_str(), child->name.size() + 1);
      *name_size = static_cast<std::uint32_t>(child->name.size());
    }
  }
  return Record(std::move(call));
}

RegStatus SimRegistry::EnumValue(HKey key, std::uint32_t index, char* name,
                                 std::uint32_t* name_size, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* data_size) {
  auto node = NodeOf(key);
  RegCall call{RegOp::kEnumValue, node ? PathOf(*node) : "?", "", 0, "", reg::kSuccess};
  call.status = CheckOpenKey(RegOp::kEnumValue, node.get(), call.path);
  if (call.status == reg::kSuccess && index >= node->values.size()) call.status = reg::kNoMoreItems;
  if (call.status == reg::kSuccess) {
    const Node::Value& value = node->ValueAt(index, behaviour_.values_sorted);
    const std::string& bytes = value.data;
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    const bool name_fits = value.name.size() + 1 <= *name_size;
    const bool data_fits = data == nullptr || data_size == nullptr || *data_size >= needed;
    call.value = value.name;
    if (!name_fits || !data_fits) call.status = reg::kMoreData;
    if (name_fits && (data_fits || behaviour_.name_with_more_data)) {
      std::memcpy(name, value.name.c_str(), value.name.size() + 1);
      *name_size = static_cast<std::uint32_t>(value.name.size());
    }
    if (name_fits) {
      if (type) *type = value.type;
      if (data_fits && data != nullptr && data_size != nullptr) CopyAsRead(value.type, bytes, data, *data_size);
      if (data_size) *data_size = needed;
    }
  }
  return Record(std::move(call));
}

RegStatus SimRegistry::QueryInfoKey(HKey key, std::uint32_t* subkeys, std::uint32_t* values) {
  auto node = NodeOf(key);
  RegCall call{RegOp::kQueryInfoKey, node ? PathOf(*node) : "?", "", 0, "", reg::kSuccess};
  call.status = CheckOpenKey(RegOp::kQueryInfoKey, node.get(), call.path);
  if (call.status == reg::kSuccess) {
    *subkeys = static_cast<std::uint32_t>(node->subkeys.size());
    *values = static_cast<std::uint32_t>(node->values.size());
  }
  return Record(std::move(call));
}

RegStatus SimRegistry::DeleteKey(HKey key, const std::string& subkey) {
  const std::string path = PathBelow(key, subkey);
  RegCall call{RegOp::kDeleteKey, path, "", 0, "", Check(RegOp::kDeleteKey, path)};
  std::shared_ptr<Node> node;
  if (call.status == reg::kSuccess) call.status = Walk(key, subkey, false, &node);
  if (call.status == reg::kSuccess) {
    if (node->parent == nullptr || node->read_only || !node->subkeys.empty())
      call.status = reg::kAccessDenied;
  }
  if (call.status == reg::kSuccess) {
    Node* parent = node->parent;
    node->deleted = true;
    node->parent = nullptr;
    call.path = path;
    parent->subkeys.erase(node->name);
    parent->Changed();
  }
  return Record(std::move(call));
}

RegStatus SimRegistry::DeleteValue(HKey key, const std::string& name) {
  auto node = NodeOf(key);
  const Handle* handle = HandleOf(key);
  RegCall call{RegOp::kDeleteValue, node ? PathOf(*node) : "?", name, 0, "", reg::kSuccess};
  call.status = CheckOpenKey(RegOp::kDeleteValue, node.get(), call.path);
  if (call.status == reg::kSuccess) {
    if ((handle && !handle->writable) || node->read_only) call.status = reg::kAccessDenied;
    else if (!node->EraseValue(name)) call.status = reg::kFileNotFound;
  }
  return Record(std::move(call));
}

RegStatus SimRegistry::CloseKey(HKey key) {
  auto node = NodeOf(key);
  RegCall call{RegOp::kCloseKey, node ? PathOf(*node) : "?", "", 0, "", reg::kSuccess};
  call.status = Check(RegOp::kCloseKey, call.path);
  if (call.status == reg::kSuccess && !reg::IsPredefined(key)) {
    if (handles_.erase(key) == 0) call.status = reg::kInvalidHandle;
  }
  return Record(std::move(call));
}

// --- The raw view: the wide calls see what the ANSI calls stored, converted as Windows does:
// names and string data through the code page (a stored zero stays, none is added), other data
// as it is.

RawValue SimRegistry::Widened(const std::string& name, std::uint32_t type, const std::string& data) const {
  RawValue value{codec_->FromAnsi(name), {type, data}};
  if (IsStringType(type)) value.data.bytes = Utf16LeBytes(ToUtf16(codec_->FromAnsi(data)));
  return value;
}

RegStatus SimRegistry::FindRaw(RegOp op, HKey root, const std::wstring& path, const std::string& value,
                               std::shared_ptr<Node>* out) {
  const std::string ansi_path = codec_->ToAnsi(path);
  RegCall call{op, PathBelow(root, ansi_path), value, 0, "", reg::kSuccess};
  call.status = Check(op, call.path);
  if (call.status == reg::kSuccess && !reg::IsPredefined(root)) call.status = reg::kInvalidHandle;
  if (call.status == reg::kSuccess) call.status = Walk(root, ansi_path, false, out, false);
  return Record(std::move(call));
}

RegStatus SimRegistry::ProbeKey(HKey root, const std::wstring& path) {
  std::shared_ptr<Node> node;
  return FindRaw(RegOp::kProbeKeyRaw, root, path, "", &node);
}

RegStatus SimRegistry::ReadKey(HKey root, const std::wstring& path, RawKey* key) {
  std::shared_ptr<Node> node;
  const RegStatus status = FindRaw(RegOp::kReadKeyRaw, root, path, "", &node);
  if (status != reg::kSuccess) return status;
  RawKey read;
  for (const auto& [name, child] : node->subkeys) read.subkeys.push_back(codec_->FromAnsi(child->name));
  for (std::size_t i = 0; i < node->values.size(); ++i) {
    const Node::Value& value = node->ValueAt(i, behaviour_.values_sorted);
    read.values.push_back(Widened(value.name, value.type, value.data));
  }
  *key = std::move(read);
  return status;
}

RegStatus SimRegistry::ReadValue(HKey root, const std::wstring& path, const std::wstring& name,
                                 RawValue* value) {
  std::shared_ptr<Node> node;
  const std::string ansi_name = codec_->ToAnsi(name);
  RegStatus status = FindRaw(RegOp::kReadValueRaw, root, path, ansi_name, &node);
  if (status != reg::kSuccess) return status;
  const Node::Value* stored = node->FindValue(ansi_name);
  if (stored == nullptr) return reg::kFileNotFound;
  *value = Widened(stored->name, stored->type, stored->data);
  value->name = name;
  return status;
}

void SimRegistry::MarkReadOnly(const std::string& path, bool read_only) {
  const std::vector<std::string> parts = SplitPath(path);
  if (parts.empty()) return;
  for (const auto& [handle, root] : roots_) {
    if (!SameName(root->name, parts.front())) continue;
    std::string below;
    for (std::size_t i = 1; i < parts.size(); ++i) below += (i > 1 ? "\\" : "") + parts[i];
    std::shared_ptr<Node> node;
    if (Walk(handle, below, true, &node) == reg::kSuccess) node->read_only = read_only;
  }
}

void SimRegistry::RemoveTree(const std::string& path) {
  const std::vector<std::string> parts = SplitPath(path);
  if (parts.size() < 2) return;  // a root stays
  for (const auto& [handle, root] : roots_) {
    if (!SameName(root->name, parts.front())) continue;
    std::shared_ptr<Node> node = root;
    for (std::size_t i = 1; i < parts.size() && node; ++i) {
      const auto child = node->subkeys.find(parts[i]);
      node = child == node->subkeys.end() ? nullptr : child->second;
    }
    if (!node) return;
    // A key still open below outlives its parent: like a deleted key, it is named alone.
    const std::function<void(Node&)> mark = [&](Node& doomed) {
      doomed.deleted = true;
      for (auto& [name, child] : doomed.subkeys) {
        mark(*child);
        child->parent = nullptr;
      }
    };
    mark(*node);
    node->parent->subkeys.erase(node->name);
    node->parent->Changed();
    node->parent = nullptr;
    return;
  }
}

void SimRegistry::InjectFault(const RegFault& fault) { faults_.push_back(fault); }
void SimRegistry::ClearFaults() { faults_.clear(); }

}  // namespace kelpo
