#pragma once
// Turning site items into zone-map entries and toolbar white-list entries. Every value goes
// through the policy writer: the zone map names keys and settings, never data.
#include <optional>
#include <string>
#include <string_view>

#include "registry/policy_writer.h"
#include "registry/registry_reader.h"

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
  std::wstring setting;  // the scheme word written to the entry's key
};
ZoneEntry ZoneEntryOf(const std::wstring& item);

// The key a domain entry goes to below `domains` (keys::kDomains or keys::kEscDomains); none
// for an address or a name that gets no entry.
std::optional<std::wstring> DomainKeyOf(std::wstring_view domains, const ZoneEntry& entry);
// The key of range `number` below `ranges` (keys::kRanges or keys::kEscRanges): "Range<number>".
std::wstring RangeKeyOf(std::wstring_view ranges, int number);

void WriteBaiduEntry(PolicyWriter& writer, const std::wstring& host);
// Writes a domain entry below `domains`; nothing for the other forms.
void WriteDomainEntry(PolicyWriter& writer, std::wstring_view domains, const ZoneEntry& entry);
// Writes an address as "Range<number>" below `ranges`: the scheme word, then the address.
void WriteRangeEntry(PolicyWriter& writer, std::wstring_view ranges, int number, const ZoneEntry& entry);

// The first range number in [first, last] whose key below `ranges` does not exist; none when
// every one of them exists or cannot be looked at (so no address is written over another).
std::optional<int> FirstMissingRange(RegistryReader& reader, std::wstring_view ranges, int first, int last);

// One run of writing the site list: each item goes into the zone map and the Baidu
// white-list at once, and all hosts together into the Google white-list at the end. Each address
// takes the first RangeN, from Range1 on in the order addresses come, whose key does not exist:
// a kept range key is never written over. The caller guards each WriteSite, so an item that
// fails does not keep the next from being written. While the run lasts, the policy writer keeps
// the keys it writes to open (the white-list key, Domains, Ranges); they are closed when the run
// ends.
class SiteWriter {
 public:
  SiteWriter(PolicyWriter& writer, RegistryReader& reader) : writer_(writer), reader_(reader) { writer_.HoldKeysOpen(); }
  ~SiteWriter() { writer_.CloseHeldKeys(); }
  SiteWriter(const SiteWriter&) = delete;
  SiteWriter& operator=(const SiteWriter&) = delete;

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

  PolicyWriter& writer_;
  RegistryReader& reader_;
  int next_range_ = 1;
  std::wstring google_hosts_;
};

}  // namespace kelpo
