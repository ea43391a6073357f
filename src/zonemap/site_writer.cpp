#include "zonemap/site_writer.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/runtime_error.h"
#include "registry/key_paths.h"
#include "text/numbers.h"
#include "text/strings.h"

namespace kelpo {
namespace {

constexpr int kOverflow = 6;
constexpr wchar_t kWww[] = L"www.";

ZoneForm DottedFormOf(const std::wstring& name) {
  if (name.find(L'.') == std::wstring::npos) return ZoneForm::kWord;
  if (std::count(name.begin(), name.end(), L'.') != 3) return ZoneForm::kDomain;
  // The policy writer stores an address only when it passes this same test.
  return IsFourPartNumber(name) ? ZoneForm::kAddress : ZoneForm::kNotAnAddress;
}

const wchar_t* WordSettingOf(const ZoneName& zone) {
  if (zone.has_https) return L"https";
  if (zone.had_http) return L"http";
  return L"*";
}

}  // namespace

std::wstring HostOf(const std::wstring& item) {
  const std::size_t slashes = item.find(L"//");
  return slashes == std::wstring::npos ? item : item.substr(slashes + 2);
}

std::wstring BaiduPatternOf(const std::wstring& host) {
  if (StartsWith(host, kWww)) return L"*" + TrimBlanks(ReplaceAll(host, kWww, L"")) + L"*";
  return L"*" + host + L"*";
}

ZoneName ZoneNameOf(const std::wstring& item) {
  ZoneName zone{item};
  if (StartsWith(zone.name, L"http://")) {
    zone.name = TrimBlanks(ReplaceAll(zone.name, L"http://", L""));
    zone.had_http = true;
  }
  if (StartsWith(zone.name, L"https://")) {
    zone.name = TrimBlanks(ReplaceAll(zone.name, L"https://", L""));
    zone.has_https = true;
  }
  return zone;
}

ZoneEntry ZoneEntryOf(const std::wstring& item) {
  const ZoneName zone = ZoneNameOf(item);
  if (StartsWith(zone.name, kWww))
    return {ZoneForm::kWwwDomain, TrimBlanks(ReplaceAll(zone.name, kWww, L"")), zone.SchemeWord()};
  const ZoneForm form = DottedFormOf(zone.name);
  return {form, zone.name, form == ZoneForm::kWord ? WordSettingOf(zone) : zone.SchemeWord()};
}

std::optional<std::wstring> DomainKeyOf(std::wstring_view domains, const ZoneEntry& entry) {
  switch (entry.form) {
    case ZoneForm::kWwwDomain: return keys::Below(domains, entry.name + L"\\www");
    case ZoneForm::kDomain:
    case ZoneForm::kWord: return keys::Below(domains, entry.name);
    case ZoneForm::kAddress:
    case ZoneForm::kNotAnAddress: break;
  }
  return std::nullopt;
}

std::wstring RangeKeyOf(std::wstring_view ranges, int number) {
  return keys::Below(ranges, L"Range" + std::to_wstring(number));
}

void WriteBaiduEntry(PolicyWriter& writer, const std::wstring& host) { writer.WriteBaiduPattern(BaiduPatternOf(host)); }

void WriteDomainEntry(PolicyWriter& writer, std::wstring_view domains, const ZoneEntry& entry) {
  if (const std::optional<std::wstring> key = DomainKeyOf(domains, entry)) writer.WriteZoneScheme(*key, entry.setting);
}

void WriteRangeEntry(PolicyWriter& writer, std::wstring_view ranges, int number, const ZoneEntry& entry) {
  const std::wstring key = RangeKeyOf(ranges, number);
  writer.WriteZoneScheme(key, entry.setting);
  writer.WriteRangeAddress(key, entry.name);
}

std::optional<int> FirstMissingRange(RegistryReader& reader, std::wstring_view ranges, int first, int last) {
  for (int number = first; number <= last; ++number)
    if (reader.KeyMissing(reg::kCurrentUser, RangeKeyOf(ranges, number))) return number;
  return std::nullopt;
}

void SiteWriter::WriteSite(const std::wstring& item) {
  const std::wstring host = HostOf(item);
  google_hosts_.append(host).append(L"|");
  WriteBaiduEntry(writer_, host);
  const ZoneEntry entry = ZoneEntryOf(item);
  if (entry.form != ZoneForm::kAddress) {
    WriteDomainEntry(writer_, keys::kDomains, entry);
    return;
  }
  WriteRange(entry);
}

void SiteWriter::WriteRange(const ZoneEntry& entry) {
  // The range number is a 16-bit count: past its top an address has no key left, and is
  // refused rather than written over another. Each number is looked at once in a run.
  constexpr int kLastRange = std::numeric_limits<std::int16_t>::max();
  const std::optional<int> number = FirstMissingRange(reader_, keys::kRanges, next_range_, kLastRange);
  if (!number) {
    next_range_ = kLastRange + 1;
    throw RuntimeError(kOverflow);
  }
  WriteRangeEntry(writer_, keys::kRanges, *number, entry);
  next_range_ = *number + 1;
}

std::wstring SiteWriter::GoogleWhitelistText() const {
  return TrimBlanks(L"|" + TrimBlanks(google_hosts_));
}

void SiteWriter::WriteGoogleWhitelist() { writer_.WriteGoogleWhitelist(GoogleWhitelistText()); }

}  // namespace kelpo
