#pragma once
// Turning site items into zone-map entries and toolbar white-list entries. Every value goes
// through the policy writer: the engine names keys and settings, never data.
#include <cstdint>
#include <optional>
#include <string>

#include "engine/engine_keys.h"
#include "platform/registry.h"
#include "platform/text_codec.h"
#include "registry/module1.h"

namespace kelpo {

// The part of an item after its first "//"; the whole item when it holds none.
std::wstring HostOf(const std::wstring& item);
// The Baidu toolbar pattern for a host: "*" + host + "*", a "www." host without any "www.".
std::wstring BaiduPatternOf(const std::wstring& host);

// An item without its scheme, with the scheme it had.
struct ZoneName {
  std::wstring name;
  bool had_http = false;
  bool has_https = false;
  const wchar_t* SchemeWord() const { return has_https ? L"https" : L"http"; }
};
ZoneName ZoneNameOf(const std::wstring& item);

enum class ZoneForm {
  kWwwDomain,     // Domains\<name>\www gets the scheme word
  kAddress,       // a Range key gets the scheme word, then the address
  kNotAnAddress,  // four dotted parts, not all numbers: no zone entry
  kDomain,        // Domains\<name> gets the scheme word
  kWord,          // no dot: Domains\<name> gets "https", "http" or "*" (every protocol)
};

struct ZoneEntry {
  ZoneForm form = ZoneForm::kWord;
  std::wstring name;     // the zone name in its final form: no scheme, no "www.", or the address
  std::wstring setting;  // what is written to the entry's key
};
ZoneEntry ZoneEntryOf(const std::wstring& item);

// The key a domain entry goes to below `domains_path` (which ends with a backslash); none for
// an address or a name that gets no entry.
std::optional<std::wstring> DomainKeyOf(const std::wstring& domains_path, const ZoneEntry& entry);

void WriteBaiduEntry(Module1& module1, const std::wstring& host);
// Writes a domain entry below `domains_path`; nothing for the other forms.
void WriteDomainEntry(Module1& module1, const std::wstring& domains_path, const ZoneEntry& entry);
// The key of range `number` below `ranges_path` (which ends with a backslash): "Range<number>".
std::wstring RangeKeyOf(const std::wstring& ranges_path, int number);
// Writes an address as "Range<number>" below `ranges_path`: the scheme word, then the address.
void WriteRangeEntry(Module1& module1, const std::wstring& ranges_path, int number,
                     const ZoneEntry& entry);

// The first range number in [first, last] whose key below `ranges_path` does not exist; none
// when every one of them exists or cannot be looked at (so no address is written over another).
std::optional<int> FirstMissingRange(Module1& module1, const std::wstring& ranges_path, int first, int last);

// Before the registry script and the list are written, in this order: the Trusted sites entries
// of Ranges, the Baidu white-list with all its subkeys, the Trusted sites entries of Domains,
// the add-on settings with all their subkeys. Entries of other zones, and the escape keys, stay.
// A step that fails or throws does not keep the next one from running.
void DeleteOldEntries(Registry& registry, const TextCodec& codec);

struct ZoneMapPaths {
  std::wstring domains = keys::kDomainsPath;
  std::wstring ranges = keys::kRangesPath;
};

// One run of writing the site list: each item goes into the zone map and the Baidu
// white-list at once, and all hosts together into the Google white-list at the end. Each address
// takes the first RangeN, from Range1 on in the order addresses come, whose key does not exist:
// a kept range key is never written over. A caller guards each WriteSite, so an item that fails
// does not keep the next from being written.
class SiteWriter {
 public:
  explicit SiteWriter(Module1& module1, ZoneMapPaths paths = {})
      : module1_(module1), paths_(std::move(paths)) {}

  // An item's Google part, Baidu entry and zone-map entry. An address with no free number left
  // up to Range32767 throws RuntimeError 6 (overflow) after its white-list entries, and gets no
  // range key.
  void WriteSite(const std::wstring& item);
  // The Google white-list of every host so far, replacing the value as a whole.
  void WriteGoogleWhitelist();
  // "|host1|host2|...|", as it is written.
  std::wstring GoogleWhitelistText() const;

 private:
  void WriteRange(const ZoneEntry& entry);

  Module1& module1_;
  ZoneMapPaths paths_;
  int next_range_ = 1;
  std::wstring google_hosts_;
};

}  // namespace kelpo
