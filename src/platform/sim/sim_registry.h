#pragma once
// An in-memory registry with Windows' semantics, for tests: names compare without regard to
// case, subkeys enumerate sorted, values in the order first written, keys may be read-only, and
// any call on any path can be made to fail or to throw. Every call is journaled in order.
// It also offers the raw view: what the ANSI calls stored, as Windows would present it to the
// wide calls (string data and names converted from the ANSI code page through the codec; a
// stored zero kept, none added). A write stores exactly `size` bytes, as the Windows adapter
// makes advapi32 do. An ANSI read of a string that does not end in a zero puts one after the
// data when the buffer has room for it, without counting it, as advapi32 does.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/raw_registry.h"
#include "platform/registry.h"
#include "platform/text_codec.h"

namespace kelpo {

enum class RegOp {
  kAny, kOpenKey, kOpenKeyEx, kCreateKey, kQueryValue, kSetValue,
  kEnumKey, kEnumKeyEx, kEnumValue, kDeleteKey, kCloseKey, kDeleteValue,
  kProbeKeyRaw, kReadKeyRaw, kReadValueRaw,  // the raw view's calls
  kQueryInfoKey
};
const char* RegOpName(RegOp op);

// A fault: the first matching call (after `skip` matches) fails with `status`, or throws a
// RuntimeError numbered `status` when `throws`; `times` < 0 means every later match too.
// `path` is a full key path ("HKEY_CURRENT_USER\Software\X"), compared without regard to
// case; a trailing "*" makes it a prefix; empty matches every path.
struct RegFault {
  RegOp op = RegOp::kAny;
  std::string path;
  RegStatus status = reg::kAccessDenied;
  bool throws = false;
  int skip = 0;
  int times = -1;
};

struct RegCall {
  RegOp op;
  std::string path;    // the key the call addresses (for key calls, the target key)
  std::string value;   // value name, for value calls
  std::uint32_t type = 0;
  std::string data;    // bytes written, for SetValue
  RegStatus status = 0;
  std::uint64_t number = 0;  // order among the calls of every sim port
};

// Where Windows and Wine's advapi32 differ, the sim can be either. Windows is the default: the
// program runs there. The contract suite runs the Wine form against the real Wine.
struct SimRegistryBehaviour {
  bool values_sorted = false;       // Wine enumerates values sorted by name
  bool name_with_more_data = true;  // Wine leaves the name unset when the data is too big
  std::size_t max_key_name = 255;   // Wine accepts 256 characters

  static SimRegistryBehaviour Windows() { return {}; }
  static SimRegistryBehaviour Wine() { return {true, false, 256}; }
};

class SimRegistry final : public Registry, public RawRegistry {
 public:
  // `codec` is the ANSI code page the raw view converts through; UTF-8 when none is given.
  explicit SimRegistry(SimRegistryBehaviour behaviour = SimRegistryBehaviour::Windows(),
                       const TextCodec* codec = nullptr);
  ~SimRegistry() override;

  RegStatus OpenKey(HKey parent, const std::string& subkey, HKey* result) override;
  RegStatus OpenKeyEx(HKey parent, const std::string& subkey, std::uint32_t access,
                      HKey* result) override;
  RegStatus CreateKey(HKey parent, const std::string& subkey, HKey* result) override;
  RegStatus QueryValue(HKey key, const std::string& name, std::uint32_t* type,
                       std::uint8_t* data, std::uint32_t* size) override;
  RegStatus SetValue(HKey key, const std::string& name, std::uint32_t type,
                     const std::uint8_t* data, std::uint32_t size) override;
  RegStatus EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t capacity) override;
  RegStatus EnumKeyEx(HKey key, std::uint32_t index, char* name,
                      std::uint32_t* name_size) override;
  RegStatus EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* name_size,
                      std::uint32_t* type, std::uint8_t* data, std::uint32_t* data_size) override;
  RegStatus QueryInfoKey(HKey key, std::uint32_t* subkeys, std::uint32_t* values) override;
  RegStatus DeleteKey(HKey key, const std::string& subkey) override;
  RegStatus DeleteValue(HKey key, const std::string& name) override;
  RegStatus CloseKey(HKey key) override;

  RegStatus ProbeKey(HKey root, const std::wstring& path) override;
  RegStatus ReadKey(HKey root, const std::wstring& path, RawKey* key) override;
  RegStatus ReadValue(HKey root, const std::wstring& path, const std::wstring& name,
                      RawValue* value) override;

  // --- Test controls. Paths are full: "HKEY_CURRENT_USER\Software\X". ---
  // Marks a key read-only: write opens give 5, writes through read handles give 5, and the
  // key itself cannot be deleted. The key is created if missing.
  void MarkReadOnly(const std::string& path, bool read_only = true);
  void InjectFault(const RegFault& fault);
  void ClearFaults();
  // Runs after every call of the port, with the call as journaled (whether journaling is on or
  // not); calls made from inside it are not passed to it again.
  void set_after_call(std::function<void(const RegCall&)> hook) { after_call_ = std::move(hook); }
  // Removes the key and everything below it at once, as another program might: no call is
  // journaled, and a handle still open on any of those keys now finds its key deleted.
  void RemoveTree(const std::string& path);
  const std::vector<RegCall>& journal() const { return journal_; }
  void ClearJournal() { journal_.clear(); }
  void set_journaling(bool on) { journaling_ = on; }
  // Handles opened and not yet closed (predefined roots excluded).
  std::size_t open_handle_count() const { return handles_.size(); }

 private:
  struct Node;
  struct Handle {
    std::shared_ptr<Node> node;
    bool writable;
  };

  std::shared_ptr<Node> NodeOf(HKey key) const;
  const Handle* HandleOf(HKey key) const;
  std::string PathOf(const Node& node) const;
  std::string PathBelow(HKey key, const std::string& subkey) const;
  RegStatus Check(RegOp op, const std::string& path);
  // Check, then the key itself: a handle to no key is invalid, a key deleted meanwhile is gone.
  RegStatus CheckOpenKey(RegOp op, const Node* node, const std::string& path);
  RegStatus Record(RegCall call);
  HKey NewHandle(std::shared_ptr<Node> node, bool writable);
  // `ansi_call`: the path goes through the ANSI calls' fixed buffer (the wide calls have none).
  RegStatus Walk(HKey parent, const std::string& subkey, bool create, std::shared_ptr<Node>* out,
                 bool ansi_call = true);
  // The raw view's key lookup: the fault check, the walk, the journal entry's path.
  RegStatus FindRaw(RegOp op, HKey root, const std::wstring& path, const std::string& value,
                    std::shared_ptr<Node>* out);
  RawValue Widened(const std::string& name, std::uint32_t type, const std::string& data) const;
  RegStatus EnumSubkey(RegOp op, HKey key, std::uint32_t index, char* name,
                       std::uint32_t* name_size);
  RegStatus Open(RegOp op, HKey parent, const std::string& subkey, bool want_write, HKey* result);

  SimRegistryBehaviour behaviour_;
  const TextCodec* codec_;
  std::map<HKey, std::shared_ptr<Node>> roots_;
  std::map<HKey, Handle> handles_;
  std::vector<RegFault> faults_;
  std::vector<RegCall> journal_;
  bool journaling_ = true;
  std::function<void(const RegCall&)> after_call_;
  bool in_after_call_ = false;
  HKey next_handle_ = 0x100;
};

}  // namespace kelpo
